#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/record.h"
#include "common/recordfile.h"

// The bill file: one consumption record per product or service supplied, and the rules the
// bill screens apply to it (list lines, total, amounts, bill names, the set of bills).
namespace velmora {

namespace consumption {
// Field indexes of a consumption record, in stored order.
enum Field : std::size_t {
    Prodotto,
    Data,
    Ora,
    Luogo,
    Quantita,
    Prezzo,
    Importo,
    UM,
    Cameriere,
    Cliente,
    Alloggio,
    TelCel,
    FieldCount
};
} // namespace consumption

// 785 bytes, twelve length-prefixed fields.
const RecordLayout &consumptionLayout();

// The temporary file through which a consumption is deleted.
inline constexpr const char *kBillTempFile = "Conto.tmp";
inline constexpr const char *kBillExtension = ".for";

// The fixed-column list line of a record given its decoded (trimmed) values.
std::string consumptionLine(const std::vector<std::string> &values);
// The same line built straight from a stored record.
std::string consumptionLine(std::string_view record);

// What refilling the consumption list produces.
struct BillListing
{
    std::vector<std::string> lines; // one per record, up to the first unreadable amount included
    std::string total;              // the new text of the total
    bool complete = true;           // false when an amount could not be read
};

// Lines and total of a bill. shownTotal is the total's text before the refill: it stays as it
// is while no amount has been added, and a record whose amount is not a number stops the sum
// there, leaving the running sum unrounded, as the list shows it at that point.
BillListing listBill(const std::vector<std::string> &records, std::string_view shownTotal = {});
// The same read straight from the bill's file in one pass; nullopt when it cannot be read.
std::optional<BillListing> listBill(const RecordFile &bill, std::string_view shownTotal = {});

// quantity × unit price rounded to two decimals with exactly two decimals ("7,00");
// nullopt when either text is not a number.
std::optional<std::string> amountOf(std::string_view quantity, std::string_view price);

// A price or amount box when it loses the focus: rounded to four decimals, at least two shown;
// "0,00" for blank or unreadable text.
std::string normalisePriceText(std::string_view text);

// A quantity box when it loses the focus: rounded to four decimals, no forced decimals;
// "1" for blank, zero or unreadable text.
std::string normaliseQuantityText(std::string_view text);

// The nine characters a bill name cannot hold (file names on Windows cannot either).
bool isForbiddenNameChar(char c);
// Control characters (codes below 32, 127 and the five bytes the code page leaves unassigned)
// are no part of a bill name either.
bool isNameControl(char c);
// Every forbidden character and every control character replaced by a space.
std::string replaceForbiddenNameChars(std::string_view text);
// The bill name for what the user typed: forbidden characters replaced, then trimmed.
std::string billNameFromInput(std::string_view text);

// The bill file's name on disk (UTF-8) for a bill name (Windows-1252).
std::string billFileName(std::string_view billName);
// Whether the file system can hold that file name (at most 255 bytes once encoded).
bool billFileNameFits(std::string_view billName);

// Folds a Windows-1252 name for comparison without regard to letter case, accented letters
// included, as a case-insensitive file system compares names.
std::string foldFileName(std::string_view name);

// One bill file of the folder.
struct BillEntry
{
    std::string line;           // the file name with its extension, Windows-1252, as the list shows it
    std::filesystem::path path; // the file itself, whatever bytes its name holds on disk
};

// Every regular file of the folder whose name ends in ".for" in any letter case (hidden files
// included), sorted alphabetically without regard to letter case. A folder that cannot be
// read gives what could be listed.
std::vector<BillEntry> listBills(const std::filesystem::path &folder);

// The order of the bill list: alphabetical without regard to letter case or accents, ties
// broken so that the order never depends on the folder's own order.
bool billLineLess(std::string_view a, std::string_view b);

// Any entry of the folder whose name is the bill's file name without regard to letter case
// (a new bill of that name would clash with it), if any.
std::optional<std::filesystem::path> existingBillFile(const std::filesystem::path &folder, std::string_view billName);

} // namespace velmora
