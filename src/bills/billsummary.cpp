#include "bills/billsummary.h"

#include <algorithm>
#include <unordered_map>

#include "bills/billmove.h"
#include "bills/consumption.h"
#include "common/listorder.h"
#include "common/recordfile.h"
#include "common/text.h"

namespace velmora {

namespace {

bool leapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

// One or two digits (or exactly four for the year) at the start of text; how many were read.
std::size_t readDigits(std::string_view text, std::size_t minDigits, std::size_t maxDigits, int &value)
{
    std::size_t n = 0;
    value = 0;
    while (n < text.size() && n < maxDigits && text[n] >= '0' && text[n] <= '9')
        value = value * 10 + (text[n++] - '0');
    return n >= minDigits ? n : 0;
}

std::string twoDigits(int value)
{
    return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

// Every consumption of one group is added here; label is the first spelling met.
struct GroupSums
{
    SummaryGroup group;
    std::string key; // what orders the groups
};

// The sums of a consumption, all added or none: a consumption is either in every sum or apart.
bool addTo(SummaryGroup &group, SummaryGroup &total, const ExactDecimal &quantity, const ExactDecimal &amount)
{
    SummaryGroup g = group;
    SummaryGroup t = total;
    if (!g.quantity.add(quantity) || !g.amount.add(amount) || !t.quantity.add(quantity) || !t.amount.add(amount))
        return false;
    ++g.consumptions;
    ++t.consumptions;
    group = std::move(g);
    total = std::move(t);
    return true;
}

std::string countText(std::size_t n)
{
    return std::to_string(n);
}

std::string padLeft(std::string_view text, std::size_t width)
{
    return text.size() >= width ? std::string(text) : std::string(width - text.size(), ' ').append(text);
}

} // namespace

std::optional<CalendarDate> parseDayText(std::string_view text)
{
    text = trimmedView(text);
    CalendarDate d;
    std::size_t at = readDigits(text, 1, 2, d.day);
    if (at == 0 || at >= text.size() || text[at] != '/')
        return std::nullopt;
    ++at;
    const std::size_t monthDigits = readDigits(text.substr(at), 1, 2, d.month);
    if (monthDigits == 0)
        return std::nullopt;
    at += monthDigits;
    if (at >= text.size() || text[at] != '/')
        return std::nullopt;
    ++at;
    if (readDigits(text.substr(at), 4, 4, d.year) != 4 || at + 4 != text.size())
        return std::nullopt;
    if (d.year < 1 || d.month < 1 || d.month > 12 || d.day < 1 || d.day > daysInMonth(d.year, d.month))
        return std::nullopt;
    return d;
}

std::string dayText(const CalendarDate &day)
{
    std::string year = std::to_string(day.year);
    if (year.size() < 4)
        year.insert(0, 4 - year.size(), '0');
    return twoDigits(day.day) + "/" + twoDigits(day.month) + "/" + year;
}

int dayNumber(const CalendarDate &day)
{
    return day.year * 10000 + day.month * 100 + day.day;
}

std::vector<SummaryBill> summaryBills(const std::filesystem::path &folder, bool closed)
{
    std::vector<SummaryBill> bills;
    const auto nameOf = [](const std::string &line) { return line.substr(0, line.size() - 4); }; // less ".for"
    for (const BillEntry &bill : listBills(folder))
        bills.push_back({nameOf(bill.line), bill.path});
    if (closed) {
        for (const ClosedBillEntry &bill : listClosedBills(folder))
            bills.push_back({nameOf(bill.line), bill.path});
    }
    return bills;
}

BillSummary summariseBills(const std::vector<SummaryBill> &bills, const SummaryPeriod &period, SummaryGrouping grouping)
{
    BillSummary summary;
    const int from = dayNumber(period.from);
    const int to = dayNumber(period.to);
    const RecordLayout &layout = consumptionLayout();

    std::vector<GroupSums> groups;
    std::unordered_map<std::string, std::size_t> index; // group key -> place in groups
    const auto groupOf = [&](std::string key, std::string_view label) -> SummaryGroup & {
        const auto [it, added] = index.try_emplace(std::move(key), groups.size());
        if (added)
            groups.push_back({SummaryGroup{std::string(label), 0, {}, {}}, it->first});
        return groups[it->second].group;
    };

    for (const SummaryBill &bill : bills) {
        std::size_t number = 0;
        const auto apart = [&](UncountedConsumption::Reason reason, std::string_view value) {
            summary.uncounted.push_back({bill.name, number, reason, std::string(value)});
        };
        const bool read = RecordFile(bill.file, layout.size()).forEach([&](std::string_view record) {
            ++number;
            const std::string_view dayField = layout.fieldView(record, consumption::Data);
            const auto day = parseDayText(dayField);
            if (!day) {
                apart(UncountedConsumption::Reason::Date, dayField);
                return;
            }
            const int n = dayNumber(*day);
            if (n < from || n > to)
                return;
            const std::string_view quantityField = layout.fieldView(record, consumption::Quantita);
            const auto quantity = ExactDecimal::parse(quantityField);
            if (!quantity) {
                apart(UncountedConsumption::Reason::Quantity, quantityField);
                return;
            }
            const std::string_view amountField = layout.fieldView(record, consumption::Importo);
            const auto amount = ExactDecimal::parse(amountField);
            if (!amount) {
                apart(UncountedConsumption::Reason::Amount, amountField);
                return;
            }
            SummaryGroup *group = nullptr;
            switch (grouping) {
            case SummaryGrouping::Day:
                group = &groupOf(std::to_string(n), dayText(*day));
                break;
            case SummaryGrouping::Waiter:
            case SummaryGrouping::Place:
            case SummaryGrouping::Product: {
                const consumption::Field field = grouping == SummaryGrouping::Waiter  ? consumption::Cameriere
                                                 : grouping == SummaryGrouping::Place ? consumption::Luogo
                                                                                      : consumption::Prodotto;
                // "Mario" and "MARIO" are one waiter, as the searches see them.
                const std::string_view value = layout.fieldView(record, field);
                group = &groupOf(caseFolded(value), value);
                break;
            }
            case SummaryGrouping::Bill:
                group = &groupOf(bill.file.string(), bill.name);
                break;
            }
            if (!addTo(*group, summary.total, *quantity, *amount))
                apart(UncountedConsumption::Reason::TooLarge, amountField);
        });
        if (read) {
            ++summary.bills;
        } else {
            number = 0;
            apart(UncountedConsumption::Reason::Bill, {});
        }
    }

    // A group whose every consumption was too large to add stays out of the list.
    std::erase_if(groups, [](const GroupSums &g) { return g.group.consumptions == 0; });
    if (grouping == SummaryGrouping::Day) {
        std::sort(groups.begin(), groups.end(),
                  [](const GroupSums &a, const GroupSums &b) { return std::stoi(a.key) < std::stoi(b.key); });
    } else {
        std::sort(groups.begin(), groups.end(), [](const GroupSums &a, const GroupSums &b) {
            const bool aBlank = a.group.label.empty();
            const bool bBlank = b.group.label.empty();
            if (aBlank != bBlank)
                return bBlank;
            if (a.group.label != b.group.label)
                return listLineLess(a.group.label, b.group.label);
            return a.key < b.key;
        });
    }
    summary.groups.reserve(groups.size());
    for (GroupSums &g : groups)
        summary.groups.push_back(std::move(g.group));
    return summary;
}

BillSummary summariseFolder(const std::filesystem::path &folder, const SummaryPeriod &period, SummaryGrouping grouping,
                            bool closed)
{
    const SettledBills settled(folder);
    if (!settled) {
        BillSummary failed;
        failed.outcome = BillSummary::Outcome::FileError;
        return failed;
    }
    return summariseBills(summaryBills(folder, closed), period, grouping);
}

std::string uncountedReason(UncountedConsumption::Reason reason)
{
    switch (reason) {
    case UncountedConsumption::Reason::Date:
        return "data non leggibile";
    case UncountedConsumption::Reason::Quantity:
        return "quantit\xe0 non leggibile";
    case UncountedConsumption::Reason::Amount:
        return "importo non leggibile";
    case UncountedConsumption::Reason::TooLarge:
        return "importo troppo grande per essere sommato";
    case UncountedConsumption::Reason::Bill:
        return "il file del conto non si pu\xf2 leggere";
    }
    return {};
}

namespace {

std::string groupHeading(SummaryGrouping grouping)
{
    switch (grouping) {
    case SummaryGrouping::Day:
        return " Giorno";
    case SummaryGrouping::Waiter:
        return " Cameriere / Operatore";
    case SummaryGrouping::Place:
        return " Tavolo / Luogo";
    case SummaryGrouping::Product:
        return " Prodotto o servizio";
    case SummaryGrouping::Bill:
        return " Conto";
    }
    return {};
}

std::string groupingWords(SummaryGrouping grouping)
{
    switch (grouping) {
    case SummaryGrouping::Day:
        return "per giorno";
    case SummaryGrouping::Waiter:
        return "per cameriere";
    case SummaryGrouping::Place:
        return "per tavolo o luogo";
    case SummaryGrouping::Product:
        return "per prodotto o servizio";
    case SummaryGrouping::Bill:
        return "per conto";
    }
    return {};
}

constexpr std::size_t kColumns = 6;

void addRow(std::vector<GridRow> &rows, std::initializer_list<std::string_view> cells)
{
    GridRow &row = rows.emplace_back(cells.begin(), cells.end());
    row.resize(kColumns);
}

} // namespace

ExportGrid summaryGrid(const BillSummary &summary, SummaryGrouping grouping)
{
    ExportGrid grid;
    grid.headings = {"", groupHeading(grouping), " Consumazioni", " Quantit\xe0", " Importo (\x80)", " Note"};
    grid.rows.reserve(summary.groups.size() + summary.uncounted.size() + 2);
    std::size_t number = 0;
    for (const SummaryGroup &g : summary.groups) {
        addRow(grid.rows, {countText(++number), g.label.empty() ? std::string("(non indicato)") : g.label,
                           countText(g.consumptions), g.quantity.shortText(4), g.amount.fixedText(2), ""});
    }
    const SummaryGroup &t = summary.total;
    addRow(grid.rows, {"", "TOTALE", countText(t.consumptions), t.quantity.shortText(4), t.amount.fixedText(2),
                       summary.bills == 1 ? "1 conto letto" : countText(summary.bills) + " conti letti"});
    addRow(grid.rows, {"", "Non conteggiate", countText(summary.uncounted.size()), "", "",
                       summary.uncounted.empty() ? "" : "escluse dal totale: sono elencate qui sotto"});
    for (const UncountedConsumption &u : summary.uncounted) {
        const std::string where = u.record == 0 ? u.bill : u.bill + ", consumazione n. " + countText(u.record);
        std::string note = uncountedReason(u.reason);
        if (u.reason != UncountedConsumption::Reason::Bill)
            note += u.value.empty() ? " (vuoto)" : " (\"" + u.value + "\")";
        addRow(grid.rows, {"", where, "", "", "", note});
    }
    return grid;
}

const std::vector<int> &summaryGridWidths()
{
    static const std::vector<int> widths{40, 330, 110, 110, 130, 240};
    return widths;
}

std::vector<std::string> summaryPrintLines(const ExportGrid &grid)
{
    constexpr std::size_t kLabel = 40;
    std::vector<std::string> lines;
    lines.reserve(grid.size() + 1);
    const auto line = [&lines](std::string_view label, std::string_view count, std::string_view quantity,
                               std::string_view amount, std::string_view note) {
        std::string text = padRight(label, kLabel).substr(0, kLabel);
        text += "  " + padLeft(count, 12) + "  " + padLeft(quantity, 14) + "  " + padLeft(amount, 16);
        if (!note.empty())
            text.append("  ").append(note);
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        lines.push_back(std::move(text));
    };
    const auto cell = [](std::string_view text) { return trimmedView(text); };
    if (grid.headings.size() >= kColumns)
        line(cell(grid.headings[1]), cell(grid.headings[2]), cell(grid.headings[3]), cell(grid.headings[4]),
             cell(grid.headings[5]));
    for (std::size_t r = 0; r < grid.size(); ++r) {
        const GridRow row = grid.row(r);
        if (row.size() < kColumns)
            continue;
        // A row naming an uncounted consumption keeps its whole name: no column cuts it.
        if (row[2].empty() && !row[5].empty()) {
            lines.push_back("  " + std::string(row[1]) + ": " + std::string(row[5]));
            continue;
        }
        line(row[1], row[2], row[3], row[4], row[5]);
    }
    return lines;
}

std::string summaryTitle(const SummaryPeriod &period, SummaryGrouping grouping, bool closed)
{
    std::string title =
        "Riepilogo " + groupingWords(grouping) + " dal " + dayText(period.from) + " al " + dayText(period.to);
    if (closed)
        title += ", conti chiusi compresi";
    return title;
}

} // namespace velmora
