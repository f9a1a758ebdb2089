#include "bills/consumption.h"

#include "common/listorder.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <tuple>

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

// Field capacities in stored order; each field is a length byte followed by its room.
constexpr std::array<std::size_t, consumption::FieldCount> kCapacities{250, 10, 5, 250, 16, 16, 16, 10, 50, 50, 50, 50};

constexpr std::size_t offsetOf(std::size_t field)
{
    std::size_t offset = 0;
    for (std::size_t f = 0; f < field; ++f)
        offset += kCapacities[f] + 1;
    return offset;
}

// A field of a stored record, trimmed, at an offset known when compiling.
template <consumption::Field F> std::string_view storedValue(std::string_view record)
{
    return getFieldView(record, offsetOf(F), kCapacities[F]);
}

} // namespace

const RecordLayout &consumptionLayout()
{
    static const RecordLayout layout = std::apply([](auto... c) { return RecordLayout{c...}; }, kCapacities);
    return layout;
}

namespace {

// A list line: fixed-width columns of date, quantity, price and product between fixed labels,
// then the amount. Every line starts from this blank, and the values are laid over their
// columns, cut to the width.
constexpr std::string_view kLineBlank = "          "                               // date
                                        "  Quant. "                                // label
                                        "           "                              // quantity
                                        "  \x80 "                                  // label
                                        "              "                           // price
                                        "  "                                       // gap
                                        "                                        " // product
                                        "  Tot. \x80 ";                            // label, then the amount
constexpr std::size_t kDateAt = 0, kDateWidth = 10;
constexpr std::size_t kQuantityAt = 19, kQuantityWidth = 11;
constexpr std::size_t kPriceAt = 34, kPriceWidth = 14;
constexpr std::size_t kProductAt = 50, kProductWidth = 40;
static_assert(kLineBlank.substr(kDateWidth, 9) == "  Quant. " &&
              kLineBlank.substr(kQuantityAt + kQuantityWidth, 4) == "  \x80 " &&
              kLineBlank.substr(kPriceAt + kPriceWidth, 2) == "  " &&
              kLineBlank.substr(kProductAt + kProductWidth) == "  Tot. \x80 ");

// The line from the values field(f) gives, each trimmed here.
template <typename Field> std::string lineFrom(const Field &field)
{
    const auto value = [&field](consumption::Field f) { return trimmedView(field(f)); };
    std::string line(kLineBlank);
    const auto column = [&line](std::string_view text, std::size_t at, std::size_t width) {
        text = text.substr(0, width);
        line.replace(at, text.size(), text);
    };
    column(value(consumption::Data), kDateAt, kDateWidth);
    column(value(consumption::Quantita), kQuantityAt, kQuantityWidth);
    column(value(consumption::Prezzo), kPriceAt, kPriceWidth);
    column(value(consumption::Prodotto), kProductAt, kProductWidth);
    line += value(consumption::Importo);
    return line;
}

// The listing in the making: lines and sum of the records in file order, up to the first
// record whose amount is not a number; that record is listed, its amount left out, and the
// listing stops there.
class BillSum
{
public:
    explicit BillSum(std::string_view shownTotal) { m_listing.total = std::string(shownTotal); }

    void add(std::string_view record)
    {
        if (!m_listing.complete)
            return;
        m_listing.lines.push_back(consumptionLine(record));
        if (const auto amount = parseNumber(storedValue<consumption::Importo>(record))) {
            m_sum += *amount;
            m_added = true;
        } else {
            m_listing.complete = false;
        }
    }

    // shownTotal stays while no amount has been added; an unreadable amount leaves the running
    // sum unrounded, as the list shows it at that point.
    BillListing finish()
    {
        // The sum's text is written once, not after every record: a long bill lists in one pass.
        if (m_added)
            m_listing.total = numberText(m_sum);
        if (m_listing.complete) {
            if (!trimField(m_listing.total).empty()) {
                if (const auto value = parseNumber(m_listing.total))
                    m_listing.total = roundedText(*value, 2);
            }
            m_listing.total = normaliseAmount(m_listing.total);
        }
        return std::move(m_listing);
    }

private:
    BillListing m_listing;
    long double m_sum = 0;
    bool m_added = false;
};

} // namespace

std::string consumptionLine(const std::vector<std::string> &values)
{
    return lineFrom([&values](consumption::Field f) {
        return f < values.size() ? std::string_view(values[f]) : std::string_view();
    });
}

std::string consumptionLine(std::string_view record)
{
    // A line needs five of the twelve fields, read in place.
    return lineFrom([record](consumption::Field f) { return consumptionLayout().fieldView(record, f); });
}

BillListing listBill(const std::vector<std::string> &records, std::string_view shownTotal)
{
    BillSum sum(shownTotal);
    for (const std::string &record : records)
        sum.add(record);
    return sum.finish();
}

std::optional<BillListing> listBill(const RecordFile &bill, std::string_view shownTotal)
{
    BillSum sum(shownTotal);
    if (!bill.forEach([&sum](std::string_view record) { sum.add(record); }))
        return std::nullopt;
    return sum.finish();
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

bool isNameControl(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b < 32 || b == 127 || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

std::string replaceForbiddenNameChars(std::string_view text)
{
    std::string out(text);
    std::replace_if(out.begin(), out.end(), [](char c) { return isForbiddenNameChar(c) || isNameControl(c); }, ' ');
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

namespace {

// A file name in Windows-1252, as the bill list shows it and as bill names are compared. Names
// written here are UTF-8; one that is not came from a Windows machine (an unzipped archive)
// and already holds Windows-1252 bytes.
std::string fileNameText(const std::filesystem::path &file)
{
    const std::string name = file.filename().string();
    return isUtf8(name) ? utf8ToCp1252(name) : name;
}

} // namespace

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
        bills.push_back({fileNameText(it->path()), it->path()});
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
        if (foldFileName(fileNameText(it->path())) == wanted)
            return it->path();
    }
    return std::nullopt;
}

} // namespace velmora
