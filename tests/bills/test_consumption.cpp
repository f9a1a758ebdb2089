#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bills/consumption.h"
#include "common/record.h"
#include "common/recordfile.h"

using namespace velmora;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> values(std::string product, std::string date, std::string quantity, std::string price,
                                std::string amount)
{
    std::vector<std::string> v(consumption::FieldCount);
    v[consumption::Prodotto] = std::move(product);
    v[consumption::Data] = std::move(date);
    v[consumption::Quantita] = std::move(quantity);
    v[consumption::Prezzo] = std::move(price);
    v[consumption::Importo] = std::move(amount);
    return v;
}

std::string recordWithAmount(const std::string &amount)
{
    return consumptionLayout().encode(values("Caff\xE8", "08/12/2026", "1", "1,00", amount));
}

// A fresh folder removed at the end of the test.
class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "velmora-bills-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~TempFolder() { fs::remove_all(m_path); }
    const fs::path &path() const { return m_path; }
    void touch(const std::string &name) const { std::ofstream(m_path / name).put('\0'); }

private:
    fs::path m_path;
};

} // namespace

TEST(ConsumptionLayout, TwelveFieldsAtTheirOffsets)
{
    const RecordLayout &layout = consumptionLayout();
    EXPECT_EQ(layout.size(), 785u);
    ASSERT_EQ(layout.fieldCount(), std::size_t(consumption::FieldCount));
    const std::size_t offsets[] = {0, 251, 262, 268, 519, 536, 553, 570, 581, 632, 683, 734};
    const std::size_t capacities[] = {250, 10, 5, 250, 16, 16, 16, 10, 50, 50, 50, 50};
    for (std::size_t f = 0; f < layout.fieldCount(); ++f) {
        EXPECT_EQ(layout.offset(f), offsets[f]) << "field " << f;
        EXPECT_EQ(layout.capacity(f), capacities[f]) << "field " << f;
    }
}

TEST(ConsumptionLine, FixedColumnsWithTheEuroSign)
{
    const std::string line = consumptionLine(values("Caff\xE8", "08/12/2026", "2", "1,20", "2,40"));
    const std::string expected = std::string("08/12/2026") + "  " + "Quant. 2" + std::string(10, ' ') + "  \x80 " +
                                 "1,20" + std::string(10, ' ') + "  " + "Caff\xE8" + std::string(35, ' ') +
                                 "  Tot. \x80 2,40";
    EXPECT_EQ(line, expected);
    EXPECT_EQ(line.find('\x80'), 32u);
    EXPECT_EQ(line.find("Caff"), 50u);
    EXPECT_EQ(line.find("Tot."), 92u);
}

TEST(ConsumptionLine, LongValuesAreCutToTheirColumns)
{
    const std::string product(45, 'P');
    const std::string line =
        consumptionLine(values(product, "31/12/2026 extra", "12345678901234567", "123456789012345678", "99,99"));
    EXPECT_EQ(line.substr(0, 12), "31/12/2026  ");
    EXPECT_EQ(line.substr(12, 18), "Quant. 12345678901");
    EXPECT_EQ(line.substr(34, 14), "12345678901234");
    EXPECT_EQ(line.substr(50, 42), std::string(40, 'P') + "  ");
    EXPECT_EQ(line.substr(92), "Tot. \x80 99,99");
}

TEST(ConsumptionLine, BuiltFromTheStoredRecordWithTrimmedValues)
{
    const std::string record = consumptionLayout().encode(values("  Acqua  ", " 01/01/2026", "1", "0,50", "0,50"));
    EXPECT_EQ(consumptionLine(record), consumptionLine(values("Acqua", "01/01/2026", "1", "0,50", "0,50")));
    EXPECT_EQ(consumptionLine(record).substr(0, 10), "01/01/2026");
}

TEST(ConsumptionLine, AnyStoredRecordGivesTheLineOfItsDecodedValues)
{
    // Whole records are lined straight from their bytes; every record, however damaged, must
    // give the line its decoded values give: values of every length up to past the column and
    // the capacity, blanks and control characters around them, length bytes above capacity.
    std::mt19937 random(20261208);
    const auto byte = [&random](int low, int high) {
        return static_cast<char>(std::uniform_int_distribution<int>(low, high)(random));
    };
    const RecordLayout &layout = consumptionLayout();
    for (int i = 0; i < 3000; ++i) {
        std::string record(layout.size(), '\0');
        for (char &c : record)
            c = i % 3 == 0 ? byte(0, 255) : byte(' ', 'z');
        for (std::size_t f = 0; f < layout.fieldCount(); ++f) {
            const int most = static_cast<int>(layout.capacity(f)) + (i % 5 == 0 ? 40 : 0);
            record[layout.offset(f)] = byte(0, std::min(most, 255));
        }
        const std::vector<std::string> decoded = layout.decode(record);
        ASSERT_EQ(consumptionLine(record), consumptionLine(decoded)) << "record " << i;
        // A short record is read as far as it goes.
        const std::string cut = record.substr(0, 560);
        ASSERT_EQ(consumptionLine(cut), consumptionLine(layout.decode(cut))) << "record " << i;
    }
}

TEST(BillTotal, EmptyBillShowsZero)
{
    const BillListing listing = listBill({});
    EXPECT_TRUE(listing.lines.empty());
    EXPECT_EQ(listing.total, "0,00");
    EXPECT_TRUE(listing.complete);
}

struct TotalCase
{
    std::vector<std::string> amounts;
    std::string total;
};

class BillTotalSums : public testing::TestWithParam<TotalCase>
{
};

TEST_P(BillTotalSums, SumRoundedToTwoDecimals)
{
    std::vector<std::string> records;
    for (const std::string &a : GetParam().amounts)
        records.push_back(recordWithAmount(a));
    const BillListing listing = listBill(records);
    EXPECT_TRUE(listing.complete);
    EXPECT_EQ(listing.lines.size(), records.size());
    EXPECT_EQ(listing.total, GetParam().total);
}

INSTANTIATE_TEST_SUITE_P(Examples, BillTotalSums,
                         testing::Values(TotalCase{{"0,10", "0,20"}, "0,30"}, TotalCase{{"1,00", "2,00"}, "3,00"},
                                         TotalCase{{"12,50"}, "12,50"}, TotalCase{{"0,10", "0,10", "0,10"}, "0,30"},
                                         TotalCase{{"10,00", "-2,50"}, "7,50"}, TotalCase{{"-7,00"}, "-7,00"},
                                         TotalCase{{"1234567,89", "0,11"}, "1234568,00"}));

TEST(BillTotal, UnreadableAmountStopsTheListAndTheSumThere)
{
    const std::vector<std::string> records = {recordWithAmount("0,10"), recordWithAmount("0,20"),
                                              recordWithAmount("dieci"), recordWithAmount("5,00")};
    const BillListing listing = listBill(records);
    EXPECT_FALSE(listing.complete);
    ASSERT_EQ(listing.lines.size(), 3u);
    EXPECT_EQ(listing.lines[2], consumptionLine(records[2]));
    // The running sum as it stood, neither rounded nor completed to two decimals.
    EXPECT_EQ(listing.total, "0,3");
}

TEST(BillTotal, UnreadableFirstAmountKeepsTheShownTotal)
{
    const std::vector<std::string> records = {recordWithAmount(""), recordWithAmount("1,00")};
    EXPECT_EQ(listBill(records, "").total, "");
    EXPECT_EQ(listBill(records, "12,00").total, "12,00");
    EXPECT_EQ(listBill(records).lines.size(), 1u);
}

namespace {

// A long bill written to a file: 6,000 records (4.7 MB, read in parts where the machine has
// several cores) with varied amounts, one of them unreadable at the given record, if any.
std::vector<std::string> longBill(const fs::path &file, std::size_t unreadableAt = 0)
{
    std::vector<std::string> records;
    std::ofstream out(file, std::ios::binary);
    for (std::size_t i = 1; i <= 6000; ++i) {
        const std::string amount =
            i == unreadableAt ? "dieci" : std::to_string(i % 97) + "," + std::to_string(i % 10) + "3";
        records.push_back(consumptionLayout().encode(
            values("Prodotto " + std::to_string(i), "08/12/2026", std::to_string(i % 7), "0,13", amount)));
        out << records.back();
    }
    return records;
}

} // namespace

TEST(BillTotal, ReadFromTheFileAsFromTheRecords)
{
    TempFolder folder;
    // No stop, a stop early (in the first part) and one late (in the last part).
    for (const std::size_t unreadableAt : {std::size_t{0}, std::size_t{17}, std::size_t{5990}}) {
        const fs::path file = folder.path() / ("Conto " + std::to_string(unreadableAt) + ".for");
        const std::vector<std::string> records = longBill(file, unreadableAt);
        const BillListing expected = listBill(records, "1,00");
        const std::optional<BillListing> read = listBill(RecordFile(file, consumptionLayout().size()), "1,00");
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(read->lines, expected.lines) << unreadableAt;
        EXPECT_EQ(read->total, expected.total) << unreadableAt;
        EXPECT_EQ(read->complete, expected.complete) << unreadableAt;
        EXPECT_EQ(read->lines.size(), unreadableAt ? unreadableAt : records.size());
    }
    EXPECT_EQ(listBill(longBill(folder.path() / "Pieno.for")).total, "290382,00")
        << "the sum of the 6,000 amounts, added in file order";
    fs::create_directory(folder.path() / "Cartella.for");
    EXPECT_FALSE(listBill(RecordFile(folder.path() / "Cartella.for", consumptionLayout().size())).has_value());
}

struct AmountCase
{
    const char *quantity;
    const char *price;
    const char *amount;
};

class Amounts : public testing::TestWithParam<AmountCase>
{
};

TEST_P(Amounts, QuantityTimesPriceWithTwoDecimals)
{
    const auto amount = amountOf(GetParam().quantity, GetParam().price);
    ASSERT_TRUE(amount.has_value());
    EXPECT_EQ(*amount, GetParam().amount);
}

INSTANTIATE_TEST_SUITE_P(Examples, Amounts,
                         testing::Values(AmountCase{"2", "3,5", "7,00"}, AmountCase{"3", "0,3333", "1,00"},
                                         AmountCase{"1,5", "1,25", "1,88"}, AmountCase{"1,5", "0,35", "0,53"},
                                         AmountCase{"1", "0,265", "0,27"}, AmountCase{"1", "0,00", "0,00"},
                                         AmountCase{"3", "33,3333", "100,00"}, AmountCase{"2", "-3,5", "-7,00"},
                                         AmountCase{"1", "-0,265", "-0,27"}, AmountCase{"0,5", "0,01", "0,01"},
                                         AmountCase{"1", "9,995", "10,00"}, AmountCase{"1", "0,004", "0,00"}));

TEST(Amounts, UnreadableQuantityOrPriceGivesNothing)
{
    EXPECT_FALSE(amountOf("", "1,00").has_value());
    EXPECT_FALSE(amountOf("1", ",").has_value());
    EXPECT_FALSE(amountOf("1,2,3", "1").has_value());
    EXPECT_FALSE(amountOf("due", "1").has_value());
}

struct ExitCase
{
    const char *typed;
    const char *shown;
};

class PriceExit : public testing::TestWithParam<ExitCase>
{
};

TEST_P(PriceExit, RoundedToFourDecimalsWithAtLeastTwo)
{
    EXPECT_EQ(normalisePriceText(GetParam().typed), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Examples, PriceExit,
                         testing::Values(ExitCase{"4", "4,00"}, ExitCase{"2,5", "2,50"}, ExitCase{"1,23456", "1,2346"},
                                         ExitCase{",5", "0,50"}, ExitCase{"", "0,00"}, ExitCase{"   ", "0,00"},
                                         ExitCase{",", "0,00"}, ExitCase{"abc", "0,00"}, ExitCase{"7,", "7,00"},
                                         ExitCase{" 3 ", "3,00"}, ExitCase{"3,1416", "3,1416"},
                                         ExitCase{"0,99995", "1,00"}, ExitCase{"12,000", "12,00"}));

class QuantityExit : public testing::TestWithParam<ExitCase>
{
};

TEST_P(QuantityExit, RoundedToFourDecimalsWithoutForcedDecimals)
{
    EXPECT_EQ(normaliseQuantityText(GetParam().typed), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Examples, QuantityExit,
                         testing::Values(ExitCase{"0", "1"}, ExitCase{"2,50", "2,5"}, ExitCase{"", "1"},
                                         ExitCase{",", "1"}, ExitCase{",5", "0,5"}, ExitCase{"3,", "3"},
                                         ExitCase{"1,23456", "1,2346"}, ExitCase{"x", "1"}, ExitCase{"0,00001", "1"},
                                         ExitCase{"0,0000", "1"}, ExitCase{"12", "12"}));

TEST(BillNames, NineForbiddenCharacters)
{
    const std::string forbidden = "\\/:*?\"<>|";
    for (char c : forbidden)
        EXPECT_TRUE(isForbiddenNameChar(c)) << c;
    for (char c : std::string("aZ09 .,;-_'()[]{}!#$%&+=~\xE8\x80"))
        EXPECT_FALSE(isForbiddenNameChar(c)) << c;
    EXPECT_EQ(replaceForbiddenNameChars("a\\b/c:d*e?f\"g<h>i|j"), "a b c d e f g h i j");
}

TEST(BillNames, InputBecomesATrimmedName)
{
    EXPECT_EQ(billNameFromInput("  Camera 12: Rossi  "), "Camera 12  Rossi");
    EXPECT_EQ(billNameFromInput(":Rossi|"), "Rossi");
    EXPECT_EQ(billNameFromInput("\\/:*?\"<>|"), "");
    EXPECT_EQ(billNameFromInput("   "), "");
    // Pasted line breaks, tabs and other control characters become spaces like the nine.
    EXPECT_EQ(billNameFromInput("Rossi\ncamera\t12\x7f\x81x\x9D"), "Rossi camera 12  x");
    EXPECT_EQ(billNameFromInput("\r\n\x01\x90"), "");
    EXPECT_EQ(billNameFromInput("Caff\xE8 \x80 \x9F"), "Caff\xE8 \x80 \x9F"); // characters, not controls
}

TEST(BillNames, FileNameIsUtf8WithTheExtension)
{
    EXPECT_EQ(billFileName("Caff\xE8 \x80"), "Caff\xC3\xA8 \xE2\x82\xAC.for");
    EXPECT_TRUE(billFileNameFits(std::string(250, 'a')));
    EXPECT_TRUE(billFileNameFits(std::string(125, '\xE8') + "a")); // 251 + 4 bytes
    EXPECT_FALSE(billFileNameFits(std::string(126, '\xE8')));      // 252 + 4 bytes
    EXPECT_FALSE(billFileNameFits(std::string(84, '\x80')));       // 252 + 4 bytes
}

TEST(BillNames, FoldingIgnoresLetterCaseOfAccentedLettersToo)
{
    EXPECT_EQ(foldFileName("CONTO Rossi.FOR"), foldFileName("conto rossi.for"));
    EXPECT_EQ(foldFileName("\xC8LITE \xC0"), foldFileName("\xE8lite \xE0"));
    EXPECT_EQ(foldFileName("\x8A\x8C\x8E\x9F"), foldFileName("\x9A\x9C\x9E\xFF"));
    EXPECT_NE(foldFileName("e"), foldFileName("\xE8"));
    EXPECT_EQ(foldFileName("\xD7"), "\xD7"); // the multiplication sign is no letter
}

TEST(BillList, OrderIgnoresCaseAndAccents)
{
    EXPECT_TRUE(billLineLess("alfa.for", "Beta.for"));
    EXPECT_TRUE(billLineLess("ALFA.for", "beta.for"));
    EXPECT_TRUE(billLineLess("\xC8lite.for", "Fiore.for")); // È with the e's
    EXPECT_TRUE(billLineLess("Elite.for", "\xE8lite.for"));
    EXPECT_FALSE(billLineLess("beta.for", "ALFA.for"));
    EXPECT_FALSE(billLineLess("a.for", "a.for"));
    // Names equal but for case still have a fixed order.
    EXPECT_NE(billLineLess("A.for", "a.for"), billLineLess("a.for", "A.for"));
}

TEST(BillList, EveryRegularForFileSorted)
{
    TempFolder folder;
    for (const char *name : {"zeta.for", "Alfa.FOR", ".nascosto.for", "beta.For", "note.txt", "conto.forx",
                             "\xC3\xA8lite.for", "Conto.tmp", "\xE2\x98\x95 bar.for"})
        folder.touch(name);
    fs::create_directory(folder.path() / "cartella.for");

    const std::vector<BillEntry> bills = listBills(folder.path());
    std::vector<std::string> lines;
    for (const BillEntry &b : bills)
        lines.push_back(b.line);
    const std::vector<std::string> expected = {".nascosto.for", "? bar.for",    "Alfa.FOR",
                                               "beta.For",      "\xE8lite.for", "zeta.for"};
    EXPECT_EQ(lines, expected);
    // The path keeps the name as it is on disk, even where the list cannot show it.
    ASSERT_EQ(bills.size(), expected.size());
    EXPECT_EQ(bills[1].path, folder.path() / "\xE2\x98\x95 bar.for");
    EXPECT_EQ(bills[4].path, folder.path() / "\xC3\xA8lite.for");
}

TEST(BillList, NameFromAWindowsMachineShowsItsLetters)
{
    // Unzipped from a Windows machine, a name keeps its Windows-1252 bytes, which are not UTF-8.
    TempFolder folder;
    folder.touch("Caff\xE8 bar.for");
    const std::vector<BillEntry> bills = listBills(folder.path());
    ASSERT_EQ(bills.size(), 1u);
    EXPECT_EQ(bills[0].line, "Caff\xE8 bar.for");
    EXPECT_EQ(bills[0].path, folder.path() / "Caff\xE8 bar.for");
    // A new bill of that name would clash with it, whichever way its name is written.
    EXPECT_EQ(existingBillFile(folder.path(), "CAFF\xC8 BAR"), folder.path() / "Caff\xE8 bar.for");
}

TEST(BillList, MissingFolderListsNothing)
{
    EXPECT_TRUE(listBills("/nonexistent/velmora/folder").empty());
}

TEST(BillList, ExistingNameFoundInAnyLetterCase)
{
    TempFolder folder;
    folder.touch("Conto Rossi.for");
    folder.touch("\xC3\xA8lite.for");
    fs::create_directory(folder.path() / "Cartella.for");

    EXPECT_EQ(existingBillFile(folder.path(), "Conto Rossi"), folder.path() / "Conto Rossi.for");
    EXPECT_EQ(existingBillFile(folder.path(), "CONTO ROSSI"), folder.path() / "Conto Rossi.for");
    EXPECT_EQ(existingBillFile(folder.path(), "\xC8LITE"), folder.path() / "\xC3\xA8lite.for");
    EXPECT_EQ(existingBillFile(folder.path(), "cartella"), folder.path() / "Cartella.for");
    EXPECT_FALSE(existingBillFile(folder.path(), "Conto Verdi").has_value());
    EXPECT_FALSE(existingBillFile(folder.path(), "Conto Rossi.for").has_value());
}
