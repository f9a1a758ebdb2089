#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Where a paid bill is kept once closed: in the folder "Conti chiusi" of the program folder, in
// a folder per year of closing, as "<bill name> (chiuso il dd-mm-yyyy).for"; a name already taken
// in that year's folder gets " (2)", " (3)"... before ".for". Names are Windows-1252 here and
// UTF-8 on disk, as for open bills.
namespace velmora {

inline constexpr const char *kClosedBillsFolder = "Conti chiusi";

struct CalendarDate
{
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CalendarDate &, const CalendarDate &) = default;
};

// "<program folder>/Conti chiusi".
std::filesystem::path closedBillsFolder(const std::filesystem::path &programFolder);
// "<program folder>/Conti chiusi/<yyyy>".
std::filesystem::path closedYearFolder(const std::filesystem::path &programFolder, int year);

// The file name (Windows-1252, with ".for") of a bill closed on a date; copy 2 or more adds " (copy)".
// A bill name too long for the file system once the date is added is cut at the end, so the
// closing date is always there.
std::string closedBillFileName(std::string_view billName, const CalendarDate &closed, int copy = 1);

// What a closed bill's file name says.
struct ClosedBillName
{
    std::string billName; // Windows-1252, as the bill was named while open
    CalendarDate closed;
    int copy = 1;
};

// Reads a closed bill's file name (Windows-1252, ending in ".for" in any letter case) back;
// nullopt for a name not of that form (a file copied in by hand).
std::optional<ClosedBillName> parseClosedBillFileName(std::string_view fileName);

// One closed bill.
struct ClosedBillEntry
{
    std::string line;                   // the file name with its extension, Windows-1252, as the list shows it
    std::filesystem::path path;         // the file itself
    int year = 0;                       // the year folder it lies in
    std::optional<ClosedBillName> name; // empty for a file whose name is not of the closed form
};

// Every regular ".for" file in the year folders (four digits) of "Conti chiusi", sorted as the
// open bills are (alphabetically without regard to letter case; the year, then the path, break
// ties). A folder that is missing or cannot be read gives what could be listed.
std::vector<ClosedBillEntry> listClosedBills(const std::filesystem::path &programFolder);

// Closing a bill moves its file from the program folder into the year's folder of "Conti
// chiusi"; reopening moves it back under its own name. Each is one step under the folder lock,
// after any move of consumptions left half way is settled, and the file is whole under one of
// its two names at every moment.
struct BillClosing
{
    enum class Outcome {
        Closed,    // path is the closed bill's file
        Gone,      // the bill was no longer there
        FileError, // a folder could not be used or the file moved; the bill stays open
    };
    Outcome outcome = Outcome::FileError;
    std::filesystem::path path;
};

// Closes the bill of file bill, named billName (Windows-1252), on the date closed.
BillClosing closeBill(const std::filesystem::path &programFolder, const std::filesystem::path &bill,
                      std::string_view billName, const CalendarDate &closed);

struct BillReopening
{
    enum class Outcome {
        Reopened,   // path is the bill's file in the program folder again
        OpenExists, // an open bill of that name exists, in this or another letter case
        Gone,       // the closed bill was no longer there
        FileError,  // nothing moved
    };
    Outcome outcome = Outcome::FileError;
    std::string billName; // the name it is open under (Windows-1252)
    std::filesystem::path path;
};

// The name a closed bill is reopened under: the one it had while open; for a file copied in by
// hand, its file name without ".for".
std::string reopenedBillName(const ClosedBillEntry &entry);

BillReopening reopenBill(const std::filesystem::path &programFolder, const ClosedBillEntry &entry);

} // namespace velmora
