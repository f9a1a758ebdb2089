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
        if (isActiveCriterion(c) && !containsFolded(value(c.field), c.text))
            return false;
    return true;
}

} // namespace

bool clientMatches(const std::vector<std::string> &values, const std::vector<ClientCriterion> &criteria)
{
    return allCriteriaFound(
        criteria, [&](std::size_t f) { return f < values.size() ? std::string_view(values[f]) : std::string_view(); });
}

bool clientMatches(std::string_view record, const std::vector<ClientCriterion> &criteria)
{
    const RecordLayout &l = clientLayout();
    return allCriteriaFound(
        criteria, [&](std::size_t f) { return f < l.fieldCount() ? l.fieldView(record, f) : std::string_view(); });
}

namespace {

std::string column(const std::string &value, std::size_t width)
{
    const std::string v = trimField(value);
    return padRight(v.size() > width ? v.substr(0, width) : v, width);
}

// Primary sort weight of a Windows-1252 byte: letters, accented ones included, weigh as their
// plain small letter; every other byte weighs as itself.
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

std::optional<NumberedRecord> lastCardWithLine(const RecordFile &archive, std::string_view line)
{
    const std::string_view wanted = trimmedView(line);
    std::optional<NumberedRecord> found;
    // An unreadable archive finds nothing, as a card no longer there does.
    (void)findLastRecord(
        archive, [wanted](std::string_view record) { return trimmedView(clientListLine(record)) == wanted; }, found);
    return found;
}

} // namespace velmora
