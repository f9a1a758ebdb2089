// The allocation-free paths of the archive scans must give exactly what the copying ones give.
#include <gtest/gtest.h>

#include <fstream>
#include <mutex>
#include <random>
#include <set>
#include <stdexcept>
#include <thread>

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
}

TEST(Scanning, ContainsFoldedOnLongTextsAgreesWithFoldingAndFinding)
{
    // Texts long enough for the sixteen-at-a-time search, keys found at any place, the last
    // possible one included; '@' and '`' differ from letters only in the case bit.
    std::mt19937 gen(19);
    const std::string alphabet{'a', 'A', 'b', 'B', 'z', 'Z', '@', '`', ' ', '\xC0', '\xE0', '\0'};
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    const auto text = [&](std::size_t length) {
        std::string s(length, ' ');
        for (char &c : s)
            c = alphabet[pick(gen)];
        return s;
    };
    for (int i = 0; i < 40000; ++i) {
        const std::string haystack = text(gen() % 90);
        std::string key = text(1 + gen() % 6);
        if (i % 3 == 0 && haystack.size() >= key.size()) {
            // A key cut from the text, its letters' case flipped at random.
            key = haystack.substr(gen() % (haystack.size() - key.size() + 1), key.size());
            for (char &c : key)
                if (gen() % 2 && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
                    c = static_cast<char>(c ^ 0x20);
        }
        const bool expected = foldAZ(haystack).find(foldAZ(key)) != std::string::npos;
        ASSERT_EQ(containsFolded(haystack, key), expected) << "text \"" << haystack << "\" key \"" << key << "\"";
    }
    // A long text whose only match is its last bytes, and one a byte short of it.
    const std::string tail = std::string(63, 'a') + "Zb";
    EXPECT_TRUE(containsFolded(tail, "zB"));
    EXPECT_FALSE(containsFolded(tail.substr(0, 64), "zB"));
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
    ASSERT_TRUE(file.forEach([&](std::string_view record) { visited.emplace_back(record); }));
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
    std::size_t parts = 0;
    std::size_t records = 1;
    EXPECT_FALSE(RecordFile(dir / "Conto.for", 16)
                     .forEachInParts([](std::size_t, std::size_t, std::string_view) {}, parts, &records));
    EXPECT_EQ(records, 0u) << "nothing counted where nothing could be read";
    int visits = 0;
    EXPECT_FALSE(RecordFile(dir / "Conto.for", 16).forEach([&](std::string_view) { ++visits; }));
    EXPECT_EQ(visits, 0);
    std::vector<std::string> all{"stale"};
    EXPECT_FALSE(RecordFile(dir / "Conto.for", 16).readAll(all));
    EXPECT_TRUE(all.empty());
}

namespace {

// An archive of count records of size bytes, each starting with its number.
std::string numberedRecords(std::size_t count, std::size_t size)
{
    std::string bytes;
    bytes.reserve(count * size);
    for (std::size_t i = 0; i < count; ++i) {
        std::string record(size, static_cast<char>('a' + i % 26));
        const std::string number = std::to_string(i + 1) + ";";
        record.replace(0, number.size(), number);
        bytes += record;
    }
    return bytes;
}

} // namespace

TEST(Scanning, PartsCoverEveryRecordOnceAndJoinInFileOrder)
{
    TempFolder dir;
    // 12 MB: as many parts as the machine allows, at most four.
    constexpr std::size_t size = 4000;
    const std::string bytes = numberedRecords(3000, size) + "partial";
    std::ofstream(dir / "Anagrafica.pro", std::ios::binary) << bytes;
    const RecordFile file(dir / "Anagrafica.pro", size);

    std::vector<std::vector<std::size_t>> seen(RecordFile::maxParts());
    std::vector<std::set<std::thread::id>> threads(RecordFile::maxParts());
    std::mutex threadsMutex;
    std::size_t parts = 0;
    std::size_t records = 0;
    ASSERT_TRUE(file.forEachInParts(
        [&](std::size_t p, std::size_t number, std::string_view record) {
            seen.at(p).push_back(std::stoul(std::string(record.substr(0, record.find(';')))));
            EXPECT_EQ(number, seen[p].back()) << "the record's number in the file";
            const std::lock_guard guard(threadsMutex);
            threads[p].insert(std::this_thread::get_id());
        },
        parts, &records));
    EXPECT_EQ(records, 3000u) << "the whole records, the partial one left out";
    ASSERT_GE(parts, 1u);
    ASSERT_LE(parts, RecordFile::maxParts());
    EXPECT_EQ(parts, std::thread::hardware_concurrency() > 1 ? RecordFile::maxParts() : 1)
        << "12 MB is cut into as many parts as a pass takes, where there are cores to share them";
    for (std::size_t p = 0; p < parts; ++p)
        EXPECT_EQ(threads[p].size(), 1u) << "part " << p << " is read by one thread from start to end";
    std::vector<std::size_t> joined;
    for (std::size_t p = 0; p < parts; ++p) {
        EXPECT_FALSE(seen[p].empty()) << "part " << p;
        joined.insert(joined.end(), seen[p].begin(), seen[p].end());
    }
    ASSERT_EQ(joined.size(), 3000u);
    for (std::size_t i = 0; i < joined.size(); ++i)
        ASSERT_EQ(joined[i], i + 1);

    std::vector<std::string> gathered{"stale"};
    ASSERT_TRUE(gatherInParts(file, gathered, [](std::vector<std::string> &out, std::string_view record) {
        if (record[0] != '7')
            out.emplace_back(record);
    }));
    std::vector<std::string> expected;
    ASSERT_TRUE(file.forEach([&](std::string_view record) {
        if (record[0] != '7')
            expected.emplace_back(record);
    }));
    EXPECT_EQ(gathered, expected);
}

TEST(Scanning, ASmallArchiveIsOnePartAndAnEmptyOneVisitsNothing)
{
    TempFolder dir;
    std::ofstream(dir / "Materiali.pro", std::ios::binary) << numberedRecords(10, 100);
    std::size_t parts = 0;
    std::vector<std::size_t> partsSeen;
    ASSERT_TRUE(
        RecordFile(dir / "Materiali.pro", 100)
            .forEachInParts([&](std::size_t p, std::size_t, std::string_view) { partsSeen.push_back(p); }, parts));
    EXPECT_EQ(parts, 1u);
    EXPECT_EQ(partsSeen, std::vector<std::size_t>(10, 0));

    std::vector<int> none{1};
    EXPECT_TRUE(gatherInParts(RecordFile(dir / "Vuoto.pro", 100), none,
                              [](std::vector<int> &out, std::string_view) { out.push_back(2); }));
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(std::filesystem::exists(dir / "Vuoto.pro"));
}

TEST(Scanning, AFailureOrAnExceptionInAnyPartReachesTheCaller)
{
    TempFolder dir;
    constexpr std::size_t size = 4000;
    std::ofstream(dir / "Anagrafica.pro", std::ios::binary) << numberedRecords(3000, size);
    const RecordFile file(dir / "Anagrafica.pro", size);
    // Thrown while the last record is visited: on a machine of several cores, by a helper thread.
    std::vector<std::string> gathered;
    EXPECT_THROW(
        {
            const bool ok = gatherInParts(file, gathered, [](std::vector<std::string> &, std::string_view record) {
                if (record.substr(0, 5) == "3000;")
                    throw std::runtime_error("visita interrotta");
            });
            (void)ok;
        },
        std::runtime_error);

    std::filesystem::create_directory(dir / "Conto.for");
    std::vector<std::string> stale{"stale"};
    EXPECT_FALSE(gatherInParts(RecordFile(dir / "Conto.for", 16), stale,
                               [](std::vector<std::string> &out, std::string_view r) { out.emplace_back(r); }));
    EXPECT_TRUE(stale.empty());
}
