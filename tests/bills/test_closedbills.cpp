#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <iterator>
#include <vector>

#include <sys/stat.h>

#include "bills/closedbills.h"
#include "common/tempfolder.h"
#include "common/text.h"

using namespace velmora;

namespace {

void touch(const std::filesystem::path &p)
{
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
}

struct NameCase
{
    const char *bill;
    CalendarDate date;
    int copy;
    const char *file;
};

} // namespace

TEST(ClosedBillNames, CarryTheBillNameTheDateAndTheCopyAndReadBack)
{
    const NameCase cases[] = {
        {"Camera 12", {2026, 12, 8}, 1, "Camera 12 (chiuso il 08-12-2026).for"},
        {"Camera 12", {2026, 12, 8}, 2, "Camera 12 (chiuso il 08-12-2026) (2).for"},
        {"Bar (sera)", {2027, 1, 31}, 13, "Bar (sera) (chiuso il 31-01-2027) (13).for"},
        {"Caff\xe8", {2026, 2, 28}, 1, "Caff\xe8 (chiuso il 28-02-2026).for"},
        // A bill whose own name looks like a closed one keeps all of it.
        {"X (chiuso il 01-01-2020)", {2026, 3, 1}, 1, "X (chiuso il 01-01-2020) (chiuso il 01-03-2026).for"},
    };
    for (const NameCase &c : cases) {
        EXPECT_EQ(closedBillFileName(c.bill, c.date, c.copy), c.file);
        const auto parsed = parseClosedBillFileName(c.file);
        ASSERT_TRUE(parsed) << c.file;
        EXPECT_EQ(parsed->billName, c.bill);
        EXPECT_EQ(parsed->closed, c.date);
        EXPECT_EQ(parsed->copy, c.copy);
    }
    // The extension in another letter case, as a file copied from elsewhere may have it.
    EXPECT_TRUE(parseClosedBillFileName("Rossi (chiuso il 08-12-2026).FOR"));
}

TEST(ClosedBillNames, NamesNotOfTheClosedFormAreNotRead)
{
    for (const char *name : {"Rossi.for", "Rossi (chiuso il 08-12-2026)", "Rossi (chiuso il 8-12-2026).for",
                             "Rossi (chiuso il 32-12-2026).for", "Rossi (chiuso il 30-02-2026).for",
                             "Rossi (chiuso il 08-13-2026).for", "Rossi (chiuso il 08/12/2026).for",
                             "Rossi (chiuso il 08-12-2026) (1).for", "Rossi (chiuso il 08-12-2026) (x).for",
                             "Rossi (chiuso il 08-12-2026) (-3).for", "Rossi (chiuso il 08-12-2O26).for"})
        EXPECT_FALSE(parseClosedBillFileName(name)) << name;
}

TEST(ClosedBillNames, ALongNameIsCutSoTheFileFitsAndKeepsItsDate)
{
    for (const std::string &bill : {std::string(251, 'a'), std::string(130, '\xe8')}) {
        const std::string file = closedBillFileName(bill, {2026, 12, 8}, 12);
        EXPECT_LE(cp1252ToUtf8(file).size(), 255u);
        const auto parsed = parseClosedBillFileName(file);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->closed, (CalendarDate{2026, 12, 8}));
        EXPECT_EQ(parsed->copy, 12);
        EXPECT_EQ(bill.compare(0, parsed->billName.size(), parsed->billName), 0);
        EXPECT_GT(parsed->billName.size(), 100u);
    }
}

TEST(ClosedBillFolders, ListEveryClosedBillOfEveryYearInListOrder)
{
    TempFolder dir;
    EXPECT_TRUE(listClosedBills(dir.path()).empty()); // no closed bill yet, no folder
    EXPECT_EQ(closedYearFolder(dir.path(), 2026), dir / "Conti chiusi" / "2026");
    const auto y2025 = closedYearFolder(dir.path(), 2025);
    const auto y2026 = closedYearFolder(dir.path(), 2026);
    touch(y2026 / "rossi (chiuso il 08-12-2026).for");
    touch(y2025 / "Bianchi (chiuso il 31-12-2025).for");
    touch(y2026 / cp1252ToUtf8("Caff\xe8 (chiuso il 01-02-2026) (2).for"));
    touch(y2026 / "copiato a mano.for");
    // Not closed bills: other extensions, a folder, files outside a year folder.
    touch(y2026 / "nota.txt");
    std::filesystem::create_directories(y2026 / "cartella.for");
    touch(closedBillsFolder(dir.path()) / "fuori (chiuso il 08-12-2026).for");
    touch(closedBillsFolder(dir.path()) / "vecchi" / "Verdi (chiuso il 08-12-2026).for");
    touch(closedBillsFolder(dir.path()) / "20266" / "Neri (chiuso il 08-12-2026).for");
    touch(dir / "Aperto.for");

    const std::vector<ClosedBillEntry> bills = listClosedBills(dir.path());
    std::vector<std::string> lines;
    for (const ClosedBillEntry &b : bills)
        lines.push_back(b.line);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"Bianchi (chiuso il 31-12-2025).for", "Caff\xe8 (chiuso il 01-02-2026) (2).for",
                                        "copiato a mano.for", "rossi (chiuso il 08-12-2026).for"}));
    ASSERT_EQ(bills.size(), 4u);
    EXPECT_EQ(bills[0].year, 2025);
    EXPECT_EQ(bills[0].path, y2025 / "Bianchi (chiuso il 31-12-2025).for");
    ASSERT_TRUE(bills[1].name);
    EXPECT_EQ(bills[1].name->billName, "Caff\xe8");
    EXPECT_EQ(bills[1].name->copy, 2);
    EXPECT_TRUE(std::filesystem::exists(bills[1].path));
    EXPECT_FALSE(bills[2].name);
    EXPECT_EQ(bills[3].year, 2026);
}

namespace {

void writeFile(const std::filesystem::path &p, const std::string &bytes)
{
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string readFile(const std::filesystem::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(ClosingBills, TheFileMovesIntoItsYearAndBackUnderItsOwnName)
{
    TempFolder dir;
    writeFile(dir / cp1252ToUtf8("Caff\xe8 12.for"), "consumazioni");
    ::chmod((dir / cp1252ToUtf8("Caff\xe8 12.for")).c_str(), 0640);
    const BillClosing closed =
        closeBill(dir.path(), dir / cp1252ToUtf8("Caff\xe8 12.for"), "Caff\xe8 12", {2026, 12, 8});
    ASSERT_EQ(closed.outcome, BillClosing::Outcome::Closed);
    EXPECT_EQ(closed.path, dir / "Conti chiusi" / "2026" / cp1252ToUtf8("Caff\xe8 12 (chiuso il 08-12-2026).for"));
    EXPECT_EQ(readFile(closed.path), "consumazioni");
    EXPECT_FALSE(std::filesystem::exists(dir / cp1252ToUtf8("Caff\xe8 12.for")));
    EXPECT_EQ(std::filesystem::status(closed.path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms(0640));

    const std::vector<ClosedBillEntry> listed = listClosedBills(dir.path());
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(reopenedBillName(listed[0]), "Caff\xe8 12");
    const BillReopening reopened = reopenBill(dir.path(), listed[0]);
    ASSERT_EQ(reopened.outcome, BillReopening::Outcome::Reopened);
    EXPECT_EQ(reopened.path, dir / cp1252ToUtf8("Caff\xe8 12.for"));
    EXPECT_EQ(readFile(reopened.path), "consumazioni");
    EXPECT_TRUE(listClosedBills(dir.path()).empty());
    // The same bill already gone is said so, and nothing is made in its place.
    EXPECT_EQ(closeBill(dir.path(), dir / "Sparito.for", "Sparito", {2026, 12, 8}).outcome, BillClosing::Outcome::Gone);
    EXPECT_EQ(reopenBill(dir.path(), listed[0]).outcome, BillReopening::Outcome::Gone);
}

TEST(ClosingBills, ANameTakenInTheYearGetsTheNextCopyNumber)
{
    TempFolder dir;
    const auto year = closedYearFolder(dir.path(), 2026);
    writeFile(year / "Bar (chiuso il 08-12-2026).for", "prima");
    // Taken in another letter case counts as taken too.
    writeFile(year / "BAR (chiuso il 08-12-2026) (2).for", "seconda");
    writeFile(dir / "Bar.for", "terza");
    const BillClosing closed = closeBill(dir.path(), dir / "Bar.for", "Bar", {2026, 12, 8});
    ASSERT_EQ(closed.outcome, BillClosing::Outcome::Closed);
    EXPECT_EQ(closed.path, year / "Bar (chiuso il 08-12-2026) (3).for");
    EXPECT_EQ(readFile(closed.path), "terza");
    EXPECT_EQ(readFile(year / "Bar (chiuso il 08-12-2026).for"), "prima");
    EXPECT_EQ(readFile(year / "BAR (chiuso il 08-12-2026) (2).for"), "seconda");
}

TEST(ClosingBills, ReopeningIsRefusedWhileAnOpenBillHasTheName)
{
    TempFolder dir;
    writeFile(closedYearFolder(dir.path(), 2025) / "Rossi (chiuso il 31-12-2025).for", "chiuso");
    writeFile(closedYearFolder(dir.path(), 2025) / "a mano.for", "copiato");
    writeFile(dir / "ROSSI.for", "aperto");
    const std::vector<ClosedBillEntry> listed = listClosedBills(dir.path());
    ASSERT_EQ(listed.size(), 2u);
    const BillReopening refused = reopenBill(dir.path(), listed[1]);
    EXPECT_EQ(refused.outcome, BillReopening::Outcome::OpenExists);
    EXPECT_EQ(refused.billName, "Rossi");
    EXPECT_EQ(readFile(listed[1].path), "chiuso");
    EXPECT_EQ(readFile(dir / "ROSSI.for"), "aperto");
    // A file copied in by hand reopens under its file name.
    const BillReopening byHand = reopenBill(dir.path(), listed[0]);
    EXPECT_EQ(byHand.outcome, BillReopening::Outcome::Reopened);
    EXPECT_EQ(readFile(dir / "a mano.for"), "copiato");
}

TEST(ClosingBills, AFolderThatCannotBeMadeLeavesTheBillOpen)
{
    TempFolder dir;
    writeFile(dir / "Bar.for", "consumazioni");
    // A file where the folder of closed bills belongs.
    writeFile(dir / "Conti chiusi", "non una cartella");
    EXPECT_EQ(closeBill(dir.path(), dir / "Bar.for", "Bar", {2026, 12, 8}).outcome, BillClosing::Outcome::FileError);
    EXPECT_EQ(readFile(dir / "Bar.for"), "consumazioni");
}
