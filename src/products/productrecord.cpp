#include "products/productrecord.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "common/amount.h"
#include "common/text.h"

namespace velmora {

namespace {

// Cut or padded to exactly width characters, for the fixed columns of the search line.
std::string column(const std::string &text, std::size_t width)
{
    return padRight(std::string_view(text).substr(0, width), width);
}

const std::string &at(const std::vector<std::string> &fields, product::Field f)
{
    static const std::string empty;
    return f < fields.size() ? fields[f] : empty;
}

} // namespace

const RecordLayout &productLayout()
{
    static const RecordLayout layout{250, 250, 250, 250, 250, 250, 250, 250, 50,  50,  250, 250, 15,
                                     250, 15,  15,  250, 250, 250, 250, 250, 250, 250, 250, 250};
    return layout;
}

std::string normalisePrice(std::string_view typed)
{
    const auto value = parseNumber(trimField(typed));
    if (!value)
        return "0,00";
    std::string text = roundedText(*value, 4);
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos)
        text += ",00";
    else if (text.size() - comma == 2)
        text += "0";
    return text;
}

std::string normaliseCount(std::string_view typed)
{
    return roundedCount(typed).value_or("0");
}

std::optional<std::string> roundedCount(std::string_view typed)
{
    const auto value = parseNumber(trimField(typed));
    if (!value)
        return std::nullopt;
    // Half up, as adding one half and keeping the whole number below: a negative count goes
    // down only past the half (-2,5 gives -2, -2,6 gives -3).
    if (*value < 0)
        return numberText(std::floor(*value + 0.5L));
    return roundedText(*value, 0);
}

std::optional<bool> runsLow(std::string_view stock, std::string_view threshold)
{
    const auto s = parseNumber(trimField(stock));
    const auto t = parseNumber(trimField(threshold));
    if (!s || !t)
        return std::nullopt;
    return *s <= *t;
}

int activeCriteria(const std::array<std::string, 7> &criteria)
{
    return static_cast<int>(
        std::count_if(criteria.begin(), criteria.end(), [](const std::string &c) { return !trimField(c).empty(); }));
}

bool matchesSearch(const std::vector<std::string> &fields, const std::array<std::string, 7> &criteria)
{
    for (std::size_t i = 0; i < criteria.size(); ++i) {
        if (trimField(criteria[i]).empty())
            continue;
        // The criterion is looked for as typed, blanks included.
        if (!containsFolded(at(fields, product::kSearchFields[i]), criteria[i]))
            return false;
    }
    return true;
}

std::string searchLine(const std::vector<std::string> &fields)
{
    using namespace product;
    return column(at(fields, Codice), 30) + "  " + column(at(fields, Tipologia), 25) + "  " +
           column(at(fields, Marca), 30) + "  Prezzo: " + column(at(fields, Prezzo), 15) +
           "  Giacenza: " + column(at(fields, Giacenza), 10) + "  " + at(fields, Note);
}

std::string stockLine(const std::vector<std::string> &fields)
{
    using namespace product;
    return "Cod. " + at(fields, Codice) + "  " + at(fields, Marca) + "  Fornitore: " + at(fields, Fornitore) +
           "  Recapito: " + at(fields, Recapito) + "  Costo: " + at(fields, Costo) +
           "  Giacenza: " + at(fields, Giacenza);
}

bool hasStock(const std::vector<std::string> &fields)
{
    return !trimField(at(fields, product::Giacenza)).empty();
}

ProductListing productListLines(const RecordFile &archive,
                                const std::function<ListStep(const std::vector<std::string> &fields)> &step,
                                std::string (*line)(const std::vector<std::string> &fields))
{
    std::vector<std::string> fields; // reused from product to product
    ProductListing listing;
    bool stopped = false;
    const RecordLayout &layout = productLayout();
    listing.read = archive.forEach([&](std::string_view record) {
        if (stopped)
            return;
        layout.decodeInto(record, fields);
        switch (step(fields)) {
        case ListStep::Skip:
            break;
        case ListStep::Take:
            listing.lines.push_back(line(fields));
            break;
        case ListStep::Stop:
            stopped = true; // the list ends at the first product that stops it
            break;
        }
    });
    return listing;
}

bool findLastProduct(const RecordFile &archive, std::string_view chosen,
                     std::string (*line)(const std::vector<std::string> &fields), std::optional<NumberedRecord> &found)
{
    const std::string_view wanted = trimmedView(chosen);
    std::vector<std::string> fields;
    return findLastRecord(
        archive,
        [&](std::string_view record) {
            productLayout().decodeInto(record, fields);
            return trimmedView(line(fields)) == wanted;
        },
        found);
}

std::string normaliseQuantity(std::string_view typed)
{
    const std::string t = trimField(typed);
    const auto value = parseNumber(t);
    if (t.empty() || !value)
        return "0";
    std::string text = roundedText(*value, 4);
    if (!text.empty() && text.front() == ',')
        text.insert(text.begin(), '0');
    if (!text.empty() && text.back() == ',')
        text += "00";
    return text;
}

StockTake takeFromStock(std::string_view stock, std::string_view quantity)
{
    const auto q = parseNumber(trimField(quantity));
    if (!q)
        return {StockTake::Result::QuantityNotNumber, {}};
    const auto g = parseNumber(trimField(stock));
    if (!g)
        return {StockTake::Result::StockNotNumber, {}};
    if (*q > *g)
        return {StockTake::Result::AboveStock, {}};
    return {StockTake::Result::Taken, numberText(*g - *q)};
}

} // namespace velmora
