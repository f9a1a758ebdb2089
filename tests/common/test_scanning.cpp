// The scans of an archive: folded search, fields read in place, and the pass over every record.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "common/record.h"
#include "common/recordfile.h"
#include "common/text.h"
#include "tempfolder.h"

using namespace velmora;

namespace {

std::string randomText(std::mt19937 &gen, std::size_t maxLength)
{
    // Few distinct bytes, so keys often match: both cases, an accented pair, blanks and a zero.
    static const std::string alphabet{'a', 'A', 'b', 'B', 'z', 'Z', ' ', '\xC0', '\xE0', '\0', '\x1F', '('};
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string s(length(gen), ' ');
    for (char &c : s)
        c = alphabet[pick(gen)];
    return s;
}

} // namespace

TEST(Scanning, ContainsFoldedAgreesWithFoldingAndFinding)
{
    std::mt19937 gen(7);
    for (int i = 0; i < 50000; ++i) {
        const std::string text = randomText(gen, 12);
        const std::string key = randomText(gen, 4);
        const bool expected = foldAZ(text).find(foldAZ(key)) != std::string::npos;
        ASSERT_EQ(containsFolded(text, key), expected) << "text \"" << text << "\" key \"" << key << "\"";
    }
    // A key found only at the last place it can start, and a text a byte short of it; '@' and
    // '`' differ from letters only in the case bit.
    const std::string tail = std::string(63, 'a') + "Zb";
    EXPECT_TRUE(containsFolded(tail, "zB"));
    EXPECT_FALSE(containsFolded(tail.substr(0, 64), "zB"));
    EXPECT_FALSE(containsFolded("@`", "`@"));
    EXPECT_FALSE(containsFolded("@", "`"));
}

TEST(Scanning, FieldViewsMatchCopiedFields)
{
    std::mt19937 gen(11);
    const RecordLayout layout{3, 8, 1};
    for (int i = 0; i < 5000; ++i) {
        // Any bytes at all, length bytes above the capacity and short buffers included.
        std::string record = randomText(gen, layout.size() + 2);
        if (!record.empty())
            record[0] = static_cast<char>(gen() % 12);
        std::vector<std::string> reused{"left", "over", "values", "from", "before"};
        layout.decodeInto(record, reused);
        EXPECT_EQ(reused, layout.decode(record));
        for (std::size_t f = 0; f < layout.fieldCount(); ++f)
            EXPECT_EQ(layout.fieldView(record, f), layout.field(record, f));
    }
}

TEST(Scanning, ForEachVisitsEveryWholeRecordInOrderAcrossBlocks)
{
    TempFolder dir;
    // 3,000-byte records: a block of a quarter megabyte holds 87, so 1,000 records span twelve blocks.
    constexpr std::size_t size = 3000;
    std::string bytes;
    for (std::size_t i = 0; i < 1000; ++i)
        bytes += std::string(size, static_cast<char>('A' + i % 26)).replace(0, 4, std::to_string(1000 + i));
    bytes += "partial";
    std::ofstream(dir / "Anagrafica.pro", std::ios::binary) << bytes;

    const RecordFile file(dir / "Anagrafica.pro", size);
    std::vector<std::string> visited;
    std::size_t counted = 0;
    ASSERT_TRUE(file.forEach([&](std::string_view record) { visited.emplace_back(record); }, &counted));
    EXPECT_EQ(counted, 1000u) << "the whole records, the partial one left out";
    ASSERT_EQ(visited.size(), 1000u);
    for (std::size_t i = 0; i < visited.size(); ++i)
        ASSERT_EQ(visited[i], bytes.substr(i * size, size)) << "record " << i + 1;
    std::vector<std::string> all{"stale"};
    ASSERT_TRUE(file.readAll(all));
    EXPECT_EQ(all, visited);
}

TEST(Scanning, ForEachOnAMissingFileCreatesItAndVisitsNothing)
{
    TempFolder dir;
    const RecordFile file(dir / "Materiali.pro", 16);
    int visits = 0;
    EXPECT_TRUE(file.forEach([&](std::string_view) { ++visits; }));
    EXPECT_EQ(visits, 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "Materiali.pro"));
}

TEST(Scanning, ForEachOnAFolderFails)
{
    TempFolder dir;
    std::filesystem::create_directory(dir / "Conto.for");
    std::size_t records = 1;
    int visits = 0;
    EXPECT_FALSE(RecordFile(dir / "Conto.for", 16).forEach([&](std::string_view) { ++visits; }, &records));
    EXPECT_EQ(visits, 0);
    EXPECT_EQ(records, 0u) << "nothing counted where nothing could be read";
    std::vector<std::string> all{"stale"};
    EXPECT_FALSE(RecordFile(dir / "Conto.for", 16).readAll(all));
    EXPECT_TRUE(all.empty());
}
