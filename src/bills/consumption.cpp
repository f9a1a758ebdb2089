#include "bills/consumption.h"

#include "common/listorder.h"

#include <algorithm>
#include <system_error>

#include "common/amount.h"
#include "common/text.h"

namespace velmora {

namespace {

constexpr std::size_t kNameMax = 255;

bool endsWithBillExtension(std::string_view name)
{
    constexpr std::string_view ext = ".for";
    return name.size() >= ext.size() && foldAZ(name.substr(name.size() - ext.size())) == ext;
}

} // namespace

const RecordLayout &consumptionLayout()
{
    static const RecordLayout layout{250, 10, 5, 250, 16, 16, 16, 10, 50, 50, 50, 50};
    return layout;
}

namespace {

// Appends a column: the text cut to the width, then spaces up to it.
void appendColumn(std::string &line, std::string_view text, std::size_t width)
{
    text = text.substr(0, width);
    line.append(text);
    line.append(width - text.size(), ' ');
}

// The line from the values field(f) gives, each trimmed here.
template <typename Field> std::string lineOf(const Field &field)
{
    const auto value = [&field](consumption::Field f) { return trimmedView(field(f)); };
    constexpr std::string_view quantityLabel = "Quant. ";
    const std::string_view amount = value(consumption::Importo);
    std::string line;
    line.reserve(10 + 2 + 18 + 2 + 2 + 14 + 2 + 40 + 7 + 2 + amount.size());
    appendColumn(line, value(consumption::Data), 10);
    line += "  ";
    line += quantityLabel;
    appendColumn(line, value(consumption::Quantita), 18 - quantityLabel.size());
    line += "  ";
    line += kEuro;
    line += ' ';
    appendColumn(line, value(consumption::Prezzo), 14);
    line += "  ";
    appendColumn(line, value(consumption::Prodotto), 40);
    line += "  Tot. ";
    line += kEuro;
    line += ' ';
    line += amount;
    return line;
}

// Builds a bill's lines and running sum one record at a time, in file order.
class BillLister
{
public:
    explicit BillLister(std::string_view shownTotal) { m_result.total = std::string(shownTotal); }

    void reserve(std::size_t lines) { m_result.lines.reserve(lines); }

    // Adds a record's line and amount, nullopt when the amount is not a number: that record is
    // listed and stops the sum and the list. False once stopped.
    bool add(std::string line, std::optional<long double> amount)
    {
        if (!m_result.complete)
            return false;
        m_result.lines.push_back(std::move(line));
        if (!amount) {
            // The running sum is shown as it stands, unrounded.
            if (m_added)
                m_result.total = numberText(m_sum);
            m_result.complete = false;
            return false;
        }
        m_sum += *amount;
        m_added = true;
        return true;
    }

    BillListing finish() &&
    {
        if (!m_result.complete)
            return std::move(m_result);
        // The sum's text is written once, not after every record: a long bill lists in one pass.
        if (m_added)
            m_result.total = numberText(m_sum);
        if (!trimField(m_result.total).empty()) {
            if (const auto value = parseNumber(m_result.total))
                m_result.total = roundedText(*value, 2);
        }
        m_result.total = normaliseAmount(m_result.total);
        return std::move(m_result);
    }

private:
    BillListing m_result;
    long double m_sum = 0;
    bool m_added = false;
};

// The fields of a stored record, read in place: a line needs five of the twelve.
struct RecordFields
{
    const RecordLayout &layout;
    std::string_view record;
    std::string_view operator()(consumption::Field f) const { return layout.fieldView(record, f); }
};

} // namespace

std::string consumptionLine(const std::vector<std::string> &values)
{
    return lineOf([&values](consumption::Field f) {
        return f < values.size() ? std::string_view(values[f]) : std::string_view();
    });
}

std::string consumptionLine(std::string_view record)
{
    return lineOf(RecordFields{consumptionLayout(), record});
}

BillListing listBill(const std::vector<std::string> &records, std::string_view shownTotal)
{
    BillLister lister(shownTotal);
    lister.reserve(records.size());
    const RecordLayout &layout = consumptionLayout();
    for (const std::string &record : records) {
        const RecordFields fields{layout, record};
        if (!lister.add(lineOf(fields), parseNumber(fields(consumption::Importo))))
            break;
    }
    return std::move(lister).finish();
}

std::optional<BillListing> listBill(const RecordFile &bill, std::string_view shownTotal)
{
    // Lines and amounts are read in parts on the processor's cores; the sum is then taken in
    // file order, so it is exactly the sum a single pass gives.
    struct alignas(64) Part
    {
        std::vector<std::string> lines;
        std::vector<std::optional<long double>> amounts;
        bool stopped = false;
    };
    std::vector<Part> parts(RecordFile::maxParts());
    std::size_t used = 0;
    const RecordLayout &layout = consumptionLayout();
    const bool read = bill.forEachInParts(
        [&parts, &layout](std::size_t p, std::size_t, std::string_view record) {
            Part &part = parts[p];
            if (part.stopped)
                return;
            const RecordFields fields{layout, record};
            part.lines.push_back(lineOf(fields));
            part.amounts.push_back(parseNumber(fields(consumption::Importo)));
            part.stopped = !part.amounts.back();
        },
        used);
    if (!read)
        return std::nullopt;
    BillLister lister(shownTotal);
    std::size_t total = 0;
    for (std::size_t p = 0; p < used; ++p)
        total += parts[p].lines.size();
    lister.reserve(total);
    for (std::size_t p = 0; p < used; ++p) {
        for (std::size_t i = 0; i < parts[p].lines.size(); ++i) {
            if (!lister.add(std::move(parts[p].lines[i]), parts[p].amounts[i]))
                return std::move(lister).finish();
        }
    }
    return std::move(lister).finish();
}

std::optional<std::string> amountOf(std::string_view quantity, std::string_view price)
{
    const auto q = parseNumber(quantity);
    const auto p = parseNumber(price);
    if (!q || !p)
        return std::nullopt;
    return normaliseAmount(roundedText(*q * *p, 2));
}

std::string normalisePriceText(std::string_view text)
{
    const std::string trimmed = trimField(text);
    if (trimmed.empty())
        return "0,00";
    const auto value = parseNumber(trimmed);
    if (!value)
        return "0,00";
    return normaliseAmount(roundedText(*value, 4));
}

std::string normaliseQuantityText(std::string_view text)
{
    const std::string trimmed = trimField(text);
    if (trimmed.empty())
        return "1";
    const auto value = parseNumber(trimmed);
    if (!value)
        return "1";
    std::string t = roundedText(*value, 4);
    if (t == "0")
        return "1";
    return t;
}

bool isForbiddenNameChar(char c)
{
    switch (c) {
    case '\\':
    case '/':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
        return true;
    default:
        return false;
    }
}

std::string replaceForbiddenNameChars(std::string_view text)
{
    std::string out(text);
    std::replace_if(out.begin(), out.end(), isForbiddenNameChar, ' ');
    return out;
}

std::string billNameFromInput(std::string_view text)
{
    return trimField(replaceForbiddenNameChars(text));
}

std::string billFileName(std::string_view billName)
{
    return cp1252ToUtf8(billName) + kBillExtension;
}

bool billFileNameFits(std::string_view billName)
{
    return billFileName(billName).size() <= kNameMax;
}

std::string foldFileName(std::string_view name)
{
    return caseFolded(name);
}

bool billLineLess(std::string_view a, std::string_view b)
{
    return listLineLess(a, b);
}

std::vector<BillEntry> listBills(const std::filesystem::path &folder)
{
    std::vector<BillEntry> bills;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    const std::filesystem::directory_iterator end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!endsWithBillExtension(name))
            continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || typeError)
            continue;
        bills.push_back({utf8ToCp1252(name), it->path()});
    }
    std::stable_sort(bills.begin(), bills.end(), [](const BillEntry &a, const BillEntry &b) {
        if (a.line != b.line)
            return billLineLess(a.line, b.line);
        // Two names that differ only where the code page cannot show them.
        return a.path.filename().string() < b.path.filename().string();
    });
    return bills;
}

std::optional<std::filesystem::path> existingBillFile(const std::filesystem::path &folder, std::string_view billName)
{
    const std::filesystem::path exact = folder / billFileName(billName);
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(exact, ec)))
        return exact;
    const std::string wanted = foldFileName(std::string(billName) + kBillExtension);
    std::filesystem::directory_iterator it(folder, ec);
    const std::filesystem::directory_iterator end;
    for (; !ec && it != end; it.increment(ec)) {
        if (foldFileName(utf8ToCp1252(it->path().filename().string())) == wanted)
            return it->path();
    }
    return std::nullopt;
}

} // namespace velmora
