#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "bills/billmove.h"
#include "bills/billsummary.h"
#include "bills/closedbills.h"
#include "bills/consumption.h"
#include "bills/lockholder.h"
#include "common/recordfile.h"
#include "common/tempfolder.h"

using namespace velmora;
using Reason = UncountedConsumption::Reason;

namespace {

struct Line
{
    std::string day;
    std::string waiter;
    std::string amount;
    std::string quantity = "1";
    std::string product = "Caff\xe8";
    std::string place = "Bar";
};

std::string record(const Line &l)
{
    std::vector<std::string> v(consumption::FieldCount);
    v[consumption::Prodotto] = l.product;
    v[consumption::Data] = l.day;
    v[consumption::Ora] = "10:30";
    v[consumption::Luogo] = l.place;
    v[consumption::Quantita] = l.quantity;
    v[consumption::Prezzo] = l.amount;
    v[consumption::Importo] = l.amount;
    v[consumption::Cameriere] = l.waiter;
    return consumptionLayout().encode(v);
}

void writeBill(const std::filesystem::path &path, const std::vector<Line> &lines)
{
    std::filesystem::create_directories(path.parent_path());
    std::string bytes;
    for (const Line &l : lines)
        bytes += record(l);
    ASSERT_TRUE(writeWholeFileAtomic(path, bytes));
}

const SummaryPeriod kDecember{{2026, 12, 1}, {2026, 12, 31}};

// Integer cents as the amount boxes write them ("1234,05", "-0,50").
std::string centsText(std::int64_t cents)
{
    const bool negative = cents < 0;
    const std::int64_t c = negative ? -cents : cents;
    std::string fraction = std::to_string(c % 100);
    if (fraction.size() < 2)
        fraction.insert(0, 1, '0');
    return (negative ? "-" : "") + std::to_string(c / 100) + "," + fraction;
}

std::vector<std::string> labels(const BillSummary &s)
{
    std::vector<std::string> out;
    for (const SummaryGroup &g : s.groups)
        out.push_back(g.label);
    return out;
}

} // namespace

TEST(SummaryDays, ReadOnlyRealDaysWrittenDayMonthYear)
{
    EXPECT_EQ(parseDayText("08/12/2026"), (CalendarDate{2026, 12, 8}));
    EXPECT_EQ(parseDayText(" 8/1/2026 "), (CalendarDate{2026, 1, 8}));
    EXPECT_EQ(parseDayText("29/02/2024"), (CalendarDate{2024, 2, 29}));
    for (const char *bad : {"", "29/02/2025", "31/04/2026", "32/12/2026", "00/12/2026", "08/13/2026", "08/12/26",
                            "08-12-2026", "08/12/2026x", "123/12/2026", "08/12/20266", "oggi", "/12/2026"})
        EXPECT_FALSE(parseDayText(bad)) << bad;
    EXPECT_EQ(dayText({2026, 1, 5}), "05/01/2026");
    EXPECT_LT(dayNumber({2025, 12, 31}), dayNumber({2026, 1, 1}));
}

TEST(Summary, GroupsTheConsumptionsOfThePeriodWithTheirCountsQuantitiesAndAmounts)
{
    TempFolder dir;
    writeBill(dir / "Camera 12.for", {{"01/12/2026", "Mario", "2,50", "2"},
                                      {"31/12/2026", "Anna", "10,00", "1,5"},
                                      {"30/11/2026", "Mario", "99,00"}, // the day before the period
                                      {"01/01/2027", "Anna", "99,00"},  // the day after it
                                      {"15/12/2026", "MARIO", "0,10"},  // the same waiter
                                      {"15/12/2026", "", "4,00"}});     // no waiter given
    writeBill(dir / "Bar.for", {{"02/12/2026", "Bruno", "1,20", "3"}, {"2/12/2026", "anna", "0,05"}});

    const BillSummary s = summariseFolder(dir.path(), kDecember, SummaryGrouping::Waiter, false);
    ASSERT_EQ(s.outcome, BillSummary::Outcome::Done);
    EXPECT_EQ(s.bills, 2u);
    // Alphabetically without regard to case, the consumptions without a waiter last; a group
    // shows the spelling of the first consumption read (bills in list order).
    ASSERT_EQ(labels(s), (std::vector<std::string>{"anna", "Bruno", "Mario", ""}));
    EXPECT_EQ(s.groups[0].consumptions, 2u);
    EXPECT_EQ(s.groups[0].amount.fixedText(2), "10,05");
    EXPECT_EQ(s.groups[0].quantity.shortText(4), "2,5");
    EXPECT_EQ(s.groups[2].consumptions, 2u);
    EXPECT_EQ(s.groups[2].amount.fixedText(2), "2,60");
    EXPECT_EQ(s.groups[2].quantity.shortText(4), "3");
    EXPECT_EQ(s.total.consumptions, 6u);
    EXPECT_EQ(s.total.amount.fixedText(2), "17,85");
    EXPECT_EQ(s.total.quantity.shortText(4), "9,5");
    EXPECT_TRUE(s.uncounted.empty());

    // Days in the order of the calendar, not of their text.
    const BillSummary days = summariseFolder(dir.path(), {{2026, 11, 1}, {2027, 1, 31}}, SummaryGrouping::Day, false);
    EXPECT_EQ(labels(days), (std::vector<std::string>{"30/11/2026", "01/12/2026", "02/12/2026", "15/12/2026",
                                                      "31/12/2026", "01/01/2027"}));
    EXPECT_EQ(days.groups[2].consumptions, 2u); // "02/12/2026" and "2/12/2026" are one day
    EXPECT_EQ(days.total.amount.fixedText(2), "215,85");

    const BillSummary bills = summariseFolder(dir.path(), kDecember, SummaryGrouping::Bill, false);
    EXPECT_EQ(labels(bills), (std::vector<std::string>{"Bar", "Camera 12"}));
    EXPECT_EQ(bills.groups[1].amount.fixedText(2), "16,60");

    // A period of one day.
    const BillSummary one =
        summariseFolder(dir.path(), {{2026, 12, 15}, {2026, 12, 15}}, SummaryGrouping::Place, false);
    ASSERT_EQ(labels(one), (std::vector<std::string>{"Bar"}));
    EXPECT_EQ(one.total.amount.fixedText(2), "4,10");
}

TEST(Summary, CountsApartAndNamesWhatCannotBeRead)
{
    TempFolder dir;
    writeBill(dir / "Rossi.for", {{"05/12/2026", "Mario", "3,00"},
                                  {"32/12/2026", "Mario", "5,00"}, // no such day
                                  {"", "Mario", "5,00"},           // no day at all
                                  {"06/12/2026", "Mario", "tre"},  // amount not a number
                                  {"07/12/2026", "Mario", "1,00", "due"},
                                  {"07/06/2026", "Mario", "tre"}}); // out of the period: not asked about
    std::vector<SummaryBill> bills = summaryBills(dir.path(), false);
    // A bill whose file cannot be read (here a folder stands where the file should be).
    std::filesystem::create_directories(dir / "Guasto.for");
    bills.push_back({"Guasto", dir / "Guasto.for"});

    const BillSummary s = summariseBills(bills, kDecember, SummaryGrouping::Waiter);
    ASSERT_EQ(s.groups.size(), 1u);
    EXPECT_EQ(s.total.consumptions, 1u);
    EXPECT_EQ(s.total.amount.fixedText(2), "3,00");
    ASSERT_EQ(s.uncounted.size(), 5u);
    const auto expectApart = [&s](std::size_t i, const char *bill, std::size_t record, Reason reason,
                                  const char *value) {
        EXPECT_EQ(s.uncounted[i].bill, bill) << i;
        EXPECT_EQ(s.uncounted[i].record, record) << i;
        EXPECT_EQ(s.uncounted[i].reason, reason) << i;
        EXPECT_EQ(s.uncounted[i].value, value) << i;
    };
    expectApart(0, "Rossi", 2, Reason::Date, "32/12/2026");
    expectApart(1, "Rossi", 3, Reason::Date, "");
    expectApart(2, "Rossi", 4, Reason::Amount, "tre");
    expectApart(3, "Rossi", 5, Reason::Quantity, "due");
    expectApart(4, "Guasto", 0, Reason::Bill, "");

    // The grid names each of them under the line of the uncounted, after the total.
    const ExportGrid grid = summaryGrid(s, SummaryGrouping::Waiter);
    ASSERT_EQ(grid.rows.size(), 1u + 2u + 5u);
    EXPECT_TRUE(grid.rows[1] == (GridRow{"", "TOTALE", "1", "1", "3,00", "1 conto letto"}));
    EXPECT_EQ(grid.rows[2][1], "Non conteggiate");
    EXPECT_EQ(grid.rows[2][2], "5");
    EXPECT_EQ(grid.rows[3][1], "Rossi, consumazione n. 2");
    EXPECT_EQ(grid.rows[3][5], "data non leggibile (\"32/12/2026\")");
    EXPECT_EQ(grid.rows[4][5], "data non leggibile (vuoto)");
    EXPECT_EQ(grid.rows[6][5], "quantit\xe0 non leggibile (\"due\")");
    EXPECT_EQ(grid.rows[7][1], "Guasto");
    EXPECT_EQ(grid.rows[7][5], "il file del conto non si pu\xf2 leggere");
}

TEST(Summary, AnAmountTheSumsCannotHoldIsCountedApart)
{
    TempFolder dir;
    // Each is below the largest amount read, twelve of them above what the sums hold.
    writeBill(dir / "Enorme.for", std::vector<Line>(12, Line{"05/12/2026", "Mario", "9E21"}));
    const BillSummary s = summariseFolder(dir.path(), kDecember, SummaryGrouping::Waiter, false);
    EXPECT_EQ(s.total.consumptions, 11u);
    ASSERT_EQ(s.groups.size(), 1u);
    EXPECT_EQ(s.groups[0].consumptions, 11u);
    EXPECT_EQ(s.total.amount, s.groups[0].amount);
    ASSERT_EQ(s.uncounted.size(), 1u);
    EXPECT_EQ(s.uncounted[0].reason, Reason::TooLarge);
    EXPECT_EQ(s.uncounted[0].record, 12u);
}

TEST(Summary, ClosedBillsCountOnlyWhenAsked)
{
    TempFolder dir;
    writeBill(dir / "Rossi.for", {{"05/12/2026", "Mario", "3,00"}});
    const std::string closedName = closedBillFileName("Rossi", {2026, 12, 6});
    writeBill(closedYearFolder(dir.path(), 2026) / closedName, {{"04/12/2026", "Mario", "7,00"}});

    const BillSummary open = summariseFolder(dir.path(), kDecember, SummaryGrouping::Bill, false);
    EXPECT_EQ(labels(open), (std::vector<std::string>{"Rossi"}));
    EXPECT_EQ(open.total.amount.fixedText(2), "3,00");
    const BillSummary all = summariseFolder(dir.path(), kDecember, SummaryGrouping::Bill, true);
    EXPECT_EQ(labels(all), (std::vector<std::string>{"Rossi", closedName.substr(0, closedName.size() - 4)}));
    EXPECT_EQ(all.total.amount.fixedText(2), "10,00");
    EXPECT_EQ(all.bills, 2u);
}

TEST(Summary, TotalsMatchAnIndependentSumInCentsAndEachBillsOwnTotal)
{
    TempFolder dir;
    std::mt19937 rng(2026);
    const std::vector<std::string> waiters{"Mario", "Anna", "Bruno", "Carla", ""};
    std::map<std::string, std::int64_t> centsByWaiter; // keyed as the groups are shown
    std::int64_t totalCents = 0;
    std::size_t counted = 0;
    std::vector<std::filesystem::path> files;
    for (int b = 0; b < 40; ++b) {
        std::vector<Line> lines;
        for (int c = 0; c < 60; ++c) {
            const int day = 1 + static_cast<int>(rng() % 31);
            // Amounts as the screen writes them, a few refunds among them.
            std::int64_t cents = static_cast<std::int64_t>(rng() % 250000);
            if (rng() % 17 == 0)
                cents = -cents;
            const std::string &waiter = waiters[rng() % waiters.size()];
            lines.push_back({(day < 10 ? "0" : "") + std::to_string(day) + "/12/2026", waiter, centsText(cents)});
            if (day <= 20) {
                centsByWaiter[waiter] += cents;
                totalCents += cents;
                ++counted;
            }
        }
        files.push_back(dir / ("Conto " + std::to_string(b) + ".for"));
        writeBill(files.back(), lines);
    }

    const BillSummary s = summariseFolder(dir.path(), {{2026, 12, 1}, {2026, 12, 20}}, SummaryGrouping::Waiter, false);
    EXPECT_EQ(s.total.consumptions, counted);
    EXPECT_EQ(s.total.amount.fixedText(2), centsText(totalCents));
    ASSERT_EQ(s.groups.size(), waiters.size());
    for (const SummaryGroup &g : s.groups)
        EXPECT_EQ(g.amount.fixedText(2), centsText(centsByWaiter[g.label])) << g.label;

    // Over the whole month, each bill's line agrees with the total its own screen shows.
    const BillSummary perBill = summariseFolder(dir.path(), kDecember, SummaryGrouping::Bill, false);
    ASSERT_EQ(perBill.groups.size(), files.size());
    for (const SummaryGroup &g : perBill.groups) {
        const auto listing = listBill(RecordFile(dir / (g.label + ".for"), consumptionLayout().size()));
        ASSERT_TRUE(listing);
        EXPECT_EQ(g.amount.fixedText(2), listing->total) << g.label;
        EXPECT_EQ(g.consumptions, 60u);
    }
}

TEST(Summary, AMoveStoppedHalfWayIsSettledSoEachConsumptionCountsOnce)
{
    for (long stopAt = 1; stopAt <= 8; ++stopAt) {
        TempFolder dir;
        std::vector<Line> source;
        for (int i = 0; i < 5; ++i)
            source.push_back({"10/12/2026", "Mario", "1,00"});
        writeBill(dir / "Bar.for", source);
        writeBill(dir / "Camera 7.for", {{"10/12/2026", "Anna", "100,00"}});
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            long steps = 0;
            setMoveStepHook([&steps, stopAt] {
                if (++steps == stopAt)
                    ::raise(SIGKILL);
            });
            (void)moveConsumptions(dir.path(), dir / "Bar.for", dir / "Camera 7.for", std::nullopt,
                                   consumptionLayout().size());
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        const BillSummary s = summariseFolder(dir.path(), kDecember, SummaryGrouping::Waiter, false);
        EXPECT_EQ(s.total.consumptions, 6u) << "stopped at step " << stopAt;
        EXPECT_EQ(s.total.amount.fixedText(2), "105,00") << "stopped at step " << stopAt;
    }
}

TEST(Summary, AFolderHeldByAnotherWorkstationIsAFileError)
{
    TempFolder dir;
    writeBill(dir / "Rossi.for", {{"05/12/2026", "Mario", "3,00"}});
    const test::ShortLockWait shortWait;
    test::LockHolder other(dir.path());
    ASSERT_TRUE(other.held());
    EXPECT_EQ(summariseFolder(dir.path(), kDecember, SummaryGrouping::Day, false).outcome,
              BillSummary::Outcome::FileError);
    other.release();
    EXPECT_EQ(summariseFolder(dir.path(), kDecember, SummaryGrouping::Day, false).outcome, BillSummary::Outcome::Done);
}

TEST(SummaryGrid, NumbersTheGroupsAndPrintsAlignedColumns)
{
    TempFolder dir;
    writeBill(dir / "Rossi.for", {{"05/12/2026", "Mario", "1234,50", "2"}, {"06/12/2026", "", "0,75", "0,25"}});
    const BillSummary s = summariseFolder(dir.path(), kDecember, SummaryGrouping::Waiter, false);
    const ExportGrid grid = summaryGrid(s, SummaryGrouping::Waiter);
    EXPECT_EQ(grid.headings,
              (GridRow{"", " Cameriere / Operatore", " Consumazioni", " Quantit\xe0", " Importo (\x80)", " Note"}));
    ASSERT_EQ(grid.rows.size(), 4u);
    EXPECT_TRUE(grid.rows[0] == (GridRow{"1", "Mario", "1", "2", "1234,50", ""}));
    EXPECT_TRUE(grid.rows[1] == (GridRow{"2", "(non indicato)", "1", "0,25", "0,75", ""}));
    EXPECT_TRUE(grid.rows[2] == (GridRow{"", "TOTALE", "2", "2,25", "1235,25", "1 conto letto"}));
    EXPECT_TRUE(grid.rows[3] == (GridRow{"", "Non conteggiate", "0", "", "", ""}));

    const std::vector<std::string> lines = summaryPrintLines(grid);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].substr(0, 21), "Cameriere / Operatore");
    // Every amount ends in the same column.
    const std::size_t end = lines[1].find("1234,50") + 7;
    EXPECT_EQ(lines[2].find("0,75") + 4, end);
    EXPECT_EQ(lines[3].find("1235,25") + 7, end);
    EXPECT_EQ(lines[0].find("Importo (\x80)") + 11, end);
    EXPECT_EQ(summaryTitle(kDecember, SummaryGrouping::Waiter, true),
              "Riepilogo per cameriere dal 01/12/2026 al 31/12/2026, conti chiusi compresi");
}
