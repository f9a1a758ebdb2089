#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/exportgrid.h"
#include "common/record.h"
#include "common/recordfile.h"
#include "products/productrecord.h"

using velmora::ExportGrid;
using velmora::ExportSpec;
using velmora::GridRow;
using velmora::RecordFile;
using velmora::RecordLayout;

namespace {

// The stored layouts of the three archives.
const RecordLayout kBill{250, 10, 5, 250, 16, 16, 16, 10, 50, 50, 50, 50};
const RecordLayout kClient{50,  50,  50,  50, 50, 50, 50, 50,  50,  120, 50,  50,  16,  11,  50,  50,  50, 50,
                           120, 120, 250, 50, 50, 50, 50, 120, 250, 250, 250, 250, 250, 250, 250, 250, 250};
const RecordLayout kProduct{250, 250, 250, 250, 250, 250, 250, 250, 50,  50,  250, 250, 15,
                            250, 15,  15,  250, 250, 250, 250, 250, 250, 250, 250, 250};

class TempFolder
{
public:
    TempFolder()
    {
        char pattern[] = "/tmp/velmora-grid-XXXXXX";
        m_path = ::mkdtemp(pattern);
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }
    std::filesystem::path file(const char *name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

void writeRecords(const std::filesystem::path &path, const RecordLayout &layout,
                  const std::vector<std::vector<std::string>> &records, const std::string &tail = {})
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto &r : records)
        out << layout.encode(r);
    out << tail;
}

// Fields named after their position, "f0", "f1", ... so every column shows where it came from.
std::vector<std::string> numberedFields(std::size_t count)
{
    std::vector<std::string> fields;
    for (std::size_t i = 0; i < count; ++i)
        fields.push_back("f" + std::to_string(i));
    return fields;
}

// The row a spec builds after the number, as the loader has it built from the fields.
GridRow rowOf(const ExportSpec &spec, const char *number, const std::vector<std::string> &fields)
{
    GridRow cells{number};
    spec.row(cells, velmora::FieldViews(fields.begin(), fields.end()));
    return cells;
}

} // namespace

TEST(ExportSpecs, ShapesAndHeadings)
{
    struct Case
    {
        const ExportSpec *spec;
        std::size_t columns;
        int lastWidth;
    };
    for (const Case &c : {Case{&velmora::billExport(), 13, 250}, Case{&velmora::clientExport(), 26, 400},
                          Case{&velmora::productExport(), 17, 600}}) {
        EXPECT_EQ(c.spec->headings.size(), c.columns);
        EXPECT_EQ(c.spec->widths.size(), c.columns);
        EXPECT_EQ(c.spec->headings.front(), "");
        EXPECT_EQ(c.spec->widths.front(), 50);
        EXPECT_EQ(c.spec->widths.back(), c.lastWidth);
        for (std::size_t i = 1; i < c.columns; ++i)
            EXPECT_EQ(c.spec->headings[i].front(), ' ') << c.spec->headings[i];
    }
    // Headings are held in the archives' code page, trailing spaces kept.
    EXPECT_EQ(velmora::billExport().headings[5], " Quantit\xe0");
    EXPECT_EQ(velmora::billExport().headings[9], " Cameriere / Operatore ");
    EXPECT_EQ(velmora::clientExport().headings[5], " CAP, citt\xe0 e sigla prov.");
    EXPECT_EQ(velmora::productExport().headings[12], " Modalit\xe0 di ordine merce");
    EXPECT_EQ(velmora::productExport().headings[16], " Note");
}

TEST(ExportRows, BillTakesTheTwelveFieldsInOrder)
{
    const GridRow row = rowOf(velmora::billExport(), "7", numberedFields(12));
    GridRow expected{"7"};
    for (int i = 0; i < 12; ++i)
        expected.push_back("f" + std::to_string(i));
    EXPECT_EQ(row, expected);
}

TEST(ExportRows, ClientJoinsBirthAndStayAndLeavesAttachmentsOut)
{
    const GridRow row = rowOf(velmora::clientExport(), "3", numberedFields(35));
    GridRow expected{"3", "f0", "f2 f1", "f3 f4", "f5", "f6"};
    for (int i = 7; i <= 26; ++i)
        expected.push_back("f" + std::to_string(i));
    EXPECT_EQ(row, expected);

    std::vector<std::string> fields(35);
    fields[0] = "Rossi Mario";
    fields[1] = "01/02/1980";
    fields[4] = "dal 3 al 5";
    const GridRow sparse = rowOf(velmora::clientExport(), "1", fields);
    EXPECT_EQ(sparse[2], " 01/02/1980") << "an empty place still leaves its space";
    EXPECT_EQ(sparse[3], " dal 3 al 5");
}

TEST(ExportRows, ProductSkipsTheThreshold)
{
    const GridRow row = rowOf(velmora::productExport(), "2", numberedFields(25));
    GridRow expected{"2"};
    for (int i = 0; i <= 14; ++i)
        expected.push_back("f" + std::to_string(i));
    expected.push_back("f16");
    EXPECT_EQ(row, expected);

    // Fields a short record lacks are empty cells in their own columns, the note's included.
    std::vector<std::string> fields = numberedFields(17);
    fields.resize(10);
    GridRow shortRow{"2"};
    for (int i = 0; i < 10; ++i)
        shortRow.push_back("f" + std::to_string(i));
    shortRow.resize(17);
    EXPECT_EQ(rowOf(velmora::productExport(), "2", fields), shortRow);
    fields = numberedFields(17);
    fields[16] = "nota";
    EXPECT_EQ(rowOf(velmora::productExport(), "2", fields).back(), "nota");
}

TEST(ExportLoad, FillsOneRowPerRecordInFileOrder)
{
    TempFolder folder;
    const auto path = folder.file("Conto.for");
    writeRecords(path, kBill,
                 {{"Caff\xe8", "08/12/2026", "10:30", "Bar", "1", "1,20", "1,20"},
                  {"Acqua", "08/12/2026", "11:00", "", "2", "1,00", "2,00", "bt"},
                  {"Ombrellone", "", "", "Spiaggia", "1", "12,50", "12,50", "gg", "Anna", "Rossi", "12", "333"}});
    ExportGrid grid = velmora::emptyExportGrid(velmora::billExport());
    ASSERT_TRUE(velmora::loadExportGrid(grid, velmora::billExport(), RecordFile(path, kBill.size()), kBill));
    ASSERT_EQ(grid.size(), 3u);
    EXPECT_EQ(grid.headings, velmora::billExport().headings);
    EXPECT_EQ(grid.row(0),
              (GridRow{"1", "Caff\xe8", "08/12/2026", "10:30", "Bar", "1", "1,20", "1,20", "", "", "", "", ""}));
    EXPECT_EQ(grid.row(1)[8], "bt");
    EXPECT_EQ(grid.row(2)[0], "3");
    EXPECT_EQ(grid.row(2)[12], "333");
    EXPECT_EQ(grid.row(3), GridRow(13)) << "past the last row every cell is empty";
}

TEST(ExportLoad, CellsComeBackByteForByte)
{
    TempFolder folder;
    const auto path = folder.file("Conto.for");
    // A full-length product name holding nearly every byte value, the zero byte and 255
    // included, between two marks (the ends of a field are trimmed), then a card left blank.
    std::string every = "<";
    for (int b = 0; b < 256; ++b)
        if (b < 124 || b >= 132)
            every.push_back(static_cast<char>(b));
    every += ">";
    ASSERT_EQ(every.size(), 250u);
    writeRecords(path, kBill, {{every, "", "", "", "", "", "", "", "", "", "", "fine"}, {}});
    ExportGrid grid = velmora::emptyExportGrid(velmora::billExport());
    ASSERT_TRUE(velmora::loadExportGrid(grid, velmora::billExport(), RecordFile(path, kBill.size()), kBill));
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_EQ(grid.row(0)[1], every);
    EXPECT_EQ(grid.row(0)[2], "");
    EXPECT_EQ(grid.row(0)[12], "fine");
    GridRow blank(13);
    blank[0] = "2";
    EXPECT_EQ(grid.row(1), blank) << "a blank card is a numbered row";
}

TEST(ExportLoad, AnArchiveOfManyBlocksKeepsFileOrderAndNumbers)
{
    TempFolder folder;
    const auto path = folder.file("Anagrafica.pro");
    // 3,000 cards (12 MB): read in many blocks, numbered across them.
    std::vector<std::vector<std::string>> records;
    for (int i = 1; i <= 3000; ++i)
        records.push_back({"Cliente " + std::to_string(i), "", "", "Camera " + std::to_string(i % 40)});
    writeRecords(path, kClient, records);
    ExportGrid grid = velmora::emptyExportGrid(velmora::clientExport());
    ASSERT_TRUE(velmora::loadExportGrid(grid, velmora::clientExport(), RecordFile(path, kClient.size()), kClient));
    ASSERT_EQ(grid.size(), 3000u);
    for (std::size_t i = 0; i < grid.size(); ++i) {
        const GridRow row = grid.row(i);
        ASSERT_EQ(row.size(), 26u);
        ASSERT_EQ(row[0], std::to_string(i + 1));
        ASSERT_EQ(row[1], "Cliente " + std::to_string(i + 1));
        ASSERT_EQ(row[3], "Camera " + std::to_string((i + 1) % 40) + " ");
    }
    // A mostly blank card is held as its text, not as its 3,992 bytes.
    for (const std::string &held : grid.records)
        ASSERT_LT(held.size(), 100u);
}

TEST(ExportLoad, ReloadShowsTheArchiveAsItIsNow)
{
    TempFolder folder;
    const auto path = folder.file("Materiali.pro");
    std::vector<std::vector<std::string>> records;
    for (int i = 1; i <= 5; ++i)
        records.push_back({"COD" + std::to_string(i)});
    writeRecords(path, kProduct, records);
    ExportGrid grid = velmora::emptyExportGrid(velmora::productExport());
    const RecordFile archive(path, kProduct.size());
    ASSERT_TRUE(velmora::loadExportGrid(grid, velmora::productExport(), archive, kProduct));
    ASSERT_EQ(grid.size(), 5u);

    writeRecords(path, kProduct, {{"COD2"}, {"COD4"}});
    ASSERT_TRUE(velmora::loadExportGrid(grid, velmora::productExport(), archive, kProduct));
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_EQ(grid.row(1)[0], "2");
    EXPECT_EQ(grid.row(1)[1], "COD4");
}

TEST(ExportLoad, EmptyArchiveEmptiesTheRowsButKeepsTheirNumber)
{
    TempFolder folder;
    const auto path = folder.file("Anagrafica.pro");
    writeRecords(path, kClient, {{"Rossi"}, {"Bianchi"}, {"Verdi"}});
    ExportGrid grid = velmora::emptyExportGrid(velmora::clientExport());
    const RecordFile archive(path, kClient.size());
    ASSERT_TRUE(velmora::loadExportGrid(grid, velmora::clientExport(), archive, kClient));

    writeRecords(path, kClient, {}, std::string(100, 'x')); // a partial record is no record
    EXPECT_FALSE(velmora::loadExportGrid(grid, velmora::clientExport(), archive, kClient));
    ASSERT_EQ(grid.size(), 3u);
    for (std::size_t r = 0; r < grid.size(); ++r)
        EXPECT_EQ(grid.row(r), GridRow(26));
    EXPECT_EQ(grid.headings, velmora::clientExport().headings);
}

TEST(ExportLoad, MissingArchiveIsCreatedEmpty)
{
    TempFolder folder;
    const auto path = folder.file("Anagrafica.pro");
    ExportGrid grid = velmora::emptyExportGrid(velmora::clientExport());
    EXPECT_FALSE(velmora::loadExportGrid(grid, velmora::clientExport(), RecordFile(path, kClient.size()), kClient));
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    ASSERT_EQ(grid.size(), 9u) << "a grid never filled keeps its ten rows";
    EXPECT_EQ(grid.row(0), GridRow(26));
    EXPECT_EQ(grid.row(8), GridRow(26));
}

TEST(ExportLoad, UnreadableArchiveLeavesEmptyRowsSilently)
{
    TempFolder folder;
    const auto path = folder.file("Conto.for");
    std::filesystem::create_directory(path);
    ExportGrid grid = velmora::emptyExportGrid(velmora::billExport());
    grid.records.clear();
    grid.rows = {{"1", "vecchio"}, {"2", "anche"}};
    EXPECT_FALSE(velmora::loadExportGrid(grid, velmora::billExport(), RecordFile(path, kBill.size()), kBill));
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_EQ(grid.row(0), GridRow(13));
    EXPECT_EQ(grid.row(1), GridRow(13));
}

TEST(ExportLoad, LayoutsMatchTheArchiveRecordSizes)
{
    EXPECT_EQ(kBill.size(), 785u);
    EXPECT_EQ(kClient.size(), 3992u);
    EXPECT_EQ(kProduct.size(), 5170u);
    // The dialogs read with the archives' own layouts.
    const RecordLayout &product = velmora::productLayout();
    ASSERT_EQ(product.fieldCount(), kProduct.fieldCount());
    for (std::size_t i = 0; i < product.fieldCount(); ++i)
        EXPECT_EQ(product.capacity(i), kProduct.capacity(i)) << "field " << i;
}
