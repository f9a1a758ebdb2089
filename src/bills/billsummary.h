#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bills/closedbills.h"
#include "common/amount.h"
#include "common/exportgrid.h"

// The summary across bills: every consumption of a period added up by day, waiter, place,
// product or bill. What cannot be read is counted apart and named, never dropped unseen.
namespace velmora {

// A day as the consumption screen writes it, "dd/mm/yyyy" (a one-digit day or month is read
// too); nullopt for any other text or a day the calendar does not have.
std::optional<CalendarDate> parseDayText(std::string_view text);
// "dd/mm/yyyy".
std::string dayText(const CalendarDate &day);
// The day as a number that orders days (yyyymmdd).
int dayNumber(const CalendarDate &day);

enum class SummaryGrouping { Day, Waiter, Place, Product, Bill };

// Both days are part of the period.
struct SummaryPeriod
{
    CalendarDate from;
    CalendarDate to;
};

struct SummaryGroup
{
    std::string label; // Windows-1252; empty for consumptions that leave the field blank
    std::size_t consumptions = 0;
    ExactDecimal quantity;
    ExactDecimal amount;
};

// A consumption left out of the sums, or a bill that could not be read at all.
struct UncountedConsumption
{
    enum class Reason {
        Date,     // the day is not a day
        Quantity, // the quantity is not a number
        Amount,   // the amount is not a number
        TooLarge, // the sums could not hold the amount
        Bill,     // the bill's file could not be read (to its end)
    };
    std::string bill;       // the bill's name, Windows-1252
    std::size_t record = 0; // its number in the bill; 0 for a bill that could not be read
    Reason reason = Reason::Date;
    std::string value; // the stored text that could not be read
};

struct BillSummary
{
    enum class Outcome { Done, FileError };
    Outcome outcome = Outcome::Done;
    std::vector<SummaryGroup> groups; // days in order, the rest alphabetically, blank last
    SummaryGroup total;
    std::vector<UncountedConsumption> uncounted; // in the order the bills were read
    std::size_t bills = 0;                       // bills read to their end
};

// One bill to read: its name as the lists show it (Windows-1252, without ".for") and its file.
struct SummaryBill
{
    std::string name;
    std::filesystem::path file;
};

// The open bills of the folder in list order, then, when closed is true, the closed ones.
std::vector<SummaryBill> summaryBills(const std::filesystem::path &folder, bool closed);

// Adds up the consumptions of bills whose day lies in the period. A consumption whose day
// cannot be read is counted apart whatever its day may be; one of the period whose quantity or
// amount cannot be read is counted apart too.
BillSummary summariseBills(const std::vector<SummaryBill> &bills, const SummaryPeriod &period,
                           SummaryGrouping grouping);

// The summary of the folder's bills under the folder lock, any unfinished move between two
// bills settled first, so that no consumption counts twice or not at all.
BillSummary summariseFolder(const std::filesystem::path &folder, const SummaryPeriod &period, SummaryGrouping grouping,
                            bool closed);

// What the reason of an uncounted consumption says ("data non leggibile").
std::string uncountedReason(UncountedConsumption::Reason reason);

// The grid of the summary screen, as shown and exported: the headings, one row per group
// numbered from 1, the grand total, the line of the uncounted consumptions and one row naming
// each of them.
ExportGrid summaryGrid(const BillSummary &summary, SummaryGrouping grouping);
// The widths of the grid's columns, in pixels.
const std::vector<int> &summaryGridWidths();

// The printed lines of that grid: fixed columns, numbers aligned on the right.
std::vector<std::string> summaryPrintLines(const ExportGrid &grid);

// The heading of a printed summary ("Riepilogo per cameriere dal 01/12/2026 al 08/12/2026").
std::string summaryTitle(const SummaryPeriod &period, SummaryGrouping grouping, bool closed);

} // namespace velmora
