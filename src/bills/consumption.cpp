#include "bills/consumption.h"

#include "common/listorder.h"

#include <algorithm>
#include <system_error>

#include "common/amount.h"
#include "common/text.h"

namespace velmora {

namespace {

// Padding as the list does it: spaces appended, then cut to the width.
std::string fit(std::string_view text, std::size_t width)
{
    std::string out = padRight(text, width);
    out.resize(width);
    return out;
}

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

std::string consumptionLine(const std::vector<std::string> &values)
{
    const auto value = [&values](consumption::Field f) -> std::string {
        return f < values.size() ? trimField(values[f]) : std::string();
    };
    std::string line;
    line.reserve(120);
    line += fit(value(consumption::Data), 10);
    line += "  ";
    line += fit("Quant. " + value(consumption::Quantita), 18);
    line += "  ";
    line += kEuro;
    line += ' ';
    line += fit(value(consumption::Prezzo), 14);
    line += "  ";
    line += fit(value(consumption::Prodotto), 40);
    line += "  Tot. ";
    line += kEuro;
    line += ' ';
    line += value(consumption::Importo);
    return line;
}

std::string consumptionLine(std::string_view record)
{
    return consumptionLine(consumptionLayout().decode(record));
}

BillListing listBill(const std::vector<std::string> &records, std::string_view shownTotal)
{
    const RecordLayout &layout = consumptionLayout();
    BillListing result;
    result.total = std::string(shownTotal);
    result.lines.reserve(records.size());
    long double sum = 0;
    bool added = false;
    std::vector<std::string> values;
    for (const std::string &record : records) {
        layout.decodeInto(record, values);
        result.lines.push_back(consumptionLine(values));
        const auto amount = parseNumber(values[consumption::Importo]);
        if (!amount) {
            // The running sum is shown as it stands, unrounded.
            if (added)
                result.total = numberText(sum);
            result.complete = false;
            return result;
        }
        sum += *amount;
        added = true;
    }
    // The sum's text is written once, not after every record: a long bill lists in one pass.
    if (added)
        result.total = numberText(sum);
    if (!trimField(result.total).empty()) {
        if (const auto value = parseNumber(result.total))
            result.total = roundedText(*value, 2);
    }
    result.total = normaliseAmount(result.total);
    return result;
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
