#include "clients/clientrecord.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "common/text.h"

namespace velmora {

namespace client {

const char *fieldName(std::size_t field)
{
    static constexpr std::array<const char *, FieldCount> names = {
        "Cliente", "DataNasc",  "LuogoNasc", "Camera", "Permanenza", "Indirizzo",    "Citta",
        "TipoDoc", "NumDoc",    "EnteDoc",   "RilDoc", "ScaDoc",     "CodFisc",      "Iva",
        "Carta",   "TipoCarta", "ScaCarta",  "Iban",   "Banca",      "Intestatario", "Pagamento",
        "TelCasa", "TelUff",    "TelCel",    "Fax",    "Email",      "Note",         "File01",
        "File02",  "File03",    "Desc01",    "Desc02", "Desc03",     "Cartella",     "CartellaDesc"};
    return names.at(field);
}

} // namespace client

const RecordLayout &clientLayout()
{
    static const RecordLayout layout{50,  50,  50,  50, 50, 50, 50, 50,  50,  120, 50,  50,  16,  11,  50,  50,  50, 50,
                                     120, 120, 250, 50, 50, 50, 50, 120, 250, 250, 250, 250, 250, 250, 250, 250, 250};
    return layout;
}

bool isActiveCriterion(const ClientCriterion &criterion)
{
    return !trimField(criterion.text).empty();
}

std::size_t activeCriteriaCount(const std::vector<ClientCriterion> &criteria)
{
    return static_cast<std::size_t>(std::count_if(criteria.begin(), criteria.end(), isActiveCriterion));
}

namespace {

// Every active criterion, kept with its blanks (a trailing space only finds values holding one),
// must occur in the value its field gives.
template <class FieldValue> bool allCriteriaFound(const std::vector<ClientCriterion> &criteria, FieldValue value)
{
    for (const ClientCriterion &c : criteria)
        if (isActiveCriterion(c) && foldAZ(value(c.field)).find(foldAZ(c.text)) == std::string::npos)
            return false;
    return true;
}

} // namespace

bool clientMatches(const std::vector<std::string> &values, const std::vector<ClientCriterion> &criteria)
{
    return allCriteriaFound(criteria, [&](std::size_t f) { return f < values.size() ? values[f] : std::string(); });
}

bool clientMatches(std::string_view record, const std::vector<ClientCriterion> &criteria)
{
    const RecordLayout &l = clientLayout();
    return allCriteriaFound(criteria,
                            [&](std::size_t f) { return f < l.fieldCount() ? l.field(record, f) : std::string(); });
}

namespace {

std::string column(const std::string &value, std::size_t width)
{
    const std::string v = trimField(value);
    return padRight(v.size() > width ? v.substr(0, width) : v, width);
}

// Primary sort weight of a Windows-1252 byte: letters, accented ones included, weigh as their
// plain small letter; every other byte weighs as itself.
std::array<unsigned char, 256> makePrimaryWeights()
{
    std::array<unsigned char, 256> w{};
    for (int i = 0; i < 256; ++i)
        w[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i);
    for (int c = 'A'; c <= 'Z'; ++c)
        w[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c - 'A' + 'a');
    const auto base = [&w](std::initializer_list<int> codes, char letter) {
        for (int code : codes)
            w[static_cast<std::size_t>(code)] = static_cast<unsigned char>(letter);
    };
    base({0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6}, 'a');
    base({0xC7, 0xE7}, 'c');
    base({0xD0, 0xF0}, 'd');
    base({0xC8, 0xC9, 0xCA, 0xCB, 0xE8, 0xE9, 0xEA, 0xEB}, 'e');
    base({0xCC, 0xCD, 0xCE, 0xCF, 0xEC, 0xED, 0xEE, 0xEF}, 'i');
    base({0xD1, 0xF1}, 'n');
    base({0x8C, 0x9C, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD8, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF8}, 'o');
    base({0x8A, 0x9A, 0xDF}, 's');
    base({0xD9, 0xDA, 0xDB, 0xDC, 0xF9, 0xFA, 0xFB, 0xFC}, 'u');
    base({0x9F, 0xDD, 0xFD, 0xFF}, 'y');
    base({0x8E, 0x9E}, 'z');
    return w;
}

// Secondary weight: the byte with its case folded, so "à" and "À" tie but "a" and "à" do not.
std::array<unsigned char, 256> makeCaseWeights()
{
    std::array<unsigned char, 256> w{};
    for (int i = 0; i < 256; ++i) {
        int v = i;
        if ((i >= 'A' && i <= 'Z') || (i >= 0xC0 && i <= 0xDE && i != 0xD7))
            v = i + 0x20;
        else if (i == 0x8A || i == 0x8C || i == 0x8E)
            v = i + 0x10;
        else if (i == 0x9F)
            v = 0xFF;
        w[static_cast<std::size_t>(i)] = static_cast<unsigned char>(v);
    }
    return w;
}

std::string weighted(const std::string &line, const std::array<unsigned char, 256> &weights)
{
    std::string out(line);
    for (char &c : out)
        c = static_cast<char>(weights[static_cast<unsigned char>(c)]);
    return out;
}

} // namespace

std::string clientListLine(const std::vector<std::string> &values)
{
    const auto value = [&values](std::size_t field) { return field < values.size() ? values[field] : std::string(); };
    std::string line = column(value(client::Cliente), 30);
    line += "  Camera: ";
    line += column(value(client::Camera), 20);
    line += "  Perm. ";
    line += column(value(client::Permanenza), 30);
    line += "  Cel. ";
    line += column(value(client::TelCel), 20);
    line += "  E-mail: ";
    line += trimField(value(client::Email));
    return line;
}

std::string clientListLine(std::string_view record)
{
    const RecordLayout &l = clientLayout();
    const auto value = [&](std::size_t field) { return l.field(record, field); };
    std::string line;
    line.reserve(160);
    line += column(value(client::Cliente), 30);
    line += "  Camera: ";
    line += column(value(client::Camera), 20);
    line += "  Perm. ";
    line += column(value(client::Permanenza), 30);
    line += "  Cel. ";
    line += column(value(client::TelCel), 20);
    line += "  E-mail: ";
    line += value(client::Email);
    return line;
}

void sortListLines(std::vector<std::string> &lines)
{
    static const auto primary = makePrimaryWeights();
    static const auto secondary = makeCaseWeights();
    std::vector<std::string> keys;
    keys.reserve(lines.size());
    for (const std::string &line : lines)
        keys.push_back(weighted(line, primary));
    std::vector<std::size_t> order(lines.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Lines that tie on their letters are told apart by case-folded bytes, which are rarely needed.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int c = keys[a].compare(keys[b]);
        if (c != 0)
            return c < 0;
        return weighted(lines[a], secondary) < weighted(lines[b], secondary);
    });
    std::vector<std::string> sorted;
    sorted.reserve(lines.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(lines[i]));
    lines = std::move(sorted);
}

std::optional<std::size_t> lastRecordWithLine(const std::vector<std::string> &records, std::string_view line)
{
    const std::string wanted = trimField(line);
    for (std::size_t i = records.size(); i-- > 0;)
        if (trimField(clientListLine(records[i])) == wanted)
            return i;
    return std::nullopt;
}

} // namespace velmora
