#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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
