#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "bills/lockholder.h"
#include "common/cardstore.h"
#include "common/recordfile.h"
#include "tempfolder.h"

using namespace velmora;

namespace {

constexpr std::size_t kSize = 6;

std::string rec(const char *text)
{
    std::string r(text);
    r.resize(kSize, '.');
    return r;
}

std::vector<std::string> recordsOf(const RecordFile &file)
{
    std::vector<std::string> all;
    EXPECT_TRUE(file.readAll(all));
    return all;
}

// Another workstation: a separate process writes over record n and ends.
void overwriteInAnotherProcess(const RecordFile &file, std::size_t n, const std::string &record)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(file.overwrite(n, record) ? 0 : 1);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// A card that has read record n of file, as a navigation arrow does.
CardStore cardOn(const RecordFile &file, std::size_t n)
{
    CardStore card;
    std::string record;
    EXPECT_TRUE(file.read(n, record));
    card.hold(record);
    return card;
}

struct NumberCase
{
    const char *text;
    std::optional<std::size_t> expected;
};

class RecordNumberText : public ::testing::TestWithParam<NumberCase>
{
};

} // namespace

TEST_P(RecordNumberText, ReadsOnlyAPositiveDecimalNumber)
{
    const NumberCase c = GetParam();
    EXPECT_EQ(recordNumberFromText(c.text), c.expected) << "'" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Labels, RecordNumberText,
    ::testing::Values(NumberCase{"12", 12}, NumberCase{" 12 ", 12}, NumberCase{"\t3\r\n", 3}, NumberCase{"007", 7},
                      NumberCase{"", std::nullopt}, NumberCase{"   ", std::nullopt}, NumberCase{"0", std::nullopt},
                      NumberCase{"00", std::nullopt}, NumberCase{"-1", std::nullopt}, NumberCase{"+1", std::nullopt},
                      NumberCase{"1x", std::nullopt}, NumberCase{"x1", std::nullopt}, NumberCase{"1 2", std::nullopt},
                      NumberCase{"1,0", std::nullopt}, NumberCase{"18446744073709551615", SIZE_MAX},
                      NumberCase{"18446744073709551616", std::nullopt},
                      NumberCase{"99999999999999999999999999", std::nullopt}));

TEST(CardStore, NewCardsAreAppendedAndThenUpdateTheirOwnRecord)
{
    TempFolder dir;
    const RecordFile file(dir / "a.pro", kSize);
    CardStore first;
    CardStore::Saved saved = first.save(file, "", rec("one"));
    EXPECT_EQ(saved.outcome, CardStore::Outcome::Done);
    EXPECT_EQ(saved.number, 1u);
    EXPECT_TRUE(saved.appended);
    EXPECT_EQ(first.held(), rec("one"));

    CardStore second;
    saved = second.save(file, " ", rec("two"));
    EXPECT_EQ(saved.number, 2u);
    EXPECT_TRUE(saved.appended);

    // The first card saved again: it now stands for record 1 and replaces it.
    saved = first.save(file, "1", rec("ONE"));
    EXPECT_EQ(saved.outcome, CardStore::Outcome::Done);
    EXPECT_EQ(saved.number, 1u);
    EXPECT_FALSE(saved.appended);
    EXPECT_EQ(recordsOf(file), (std::vector<std::string>{rec("ONE"), rec("two")}));
}

TEST(CardStore, AppendLandsAfterTheLastWholeRecord)
{
    TempFolder dir;
    {
        std::ofstream out(dir / "a.pro", std::ios::binary);
        out << rec("one") << rec("two") << "par"; // a trailing partial record
    }
    const RecordFile file(dir / "a.pro", kSize);
    CardStore card;
    const CardStore::Saved saved = card.save(file, "", rec("three"));
    EXPECT_EQ(saved.number, 3u);
    EXPECT_EQ(recordsOf(file), (std::vector<std::string>{rec("one"), rec("two"), rec("three")}));
}

TEST(CardStore, RefusesWhenAnotherWorkstationChangedTheRecord)
{
    TempFolder dir;
    const RecordFile file(dir / "a.pro", kSize);
    for (const char *r : {"one", "two", "three"})
        ASSERT_TRUE(file.append(rec(r)));
    CardStore card = cardOn(file, 2);
    overwriteInAnotherProcess(file, 2, rec("theirs"));

    const CardStore::Saved saved = card.save(file, "2", rec("mine"));
    EXPECT_EQ(saved.outcome, CardStore::Outcome::Changed);
    EXPECT_EQ(card.remove(file, "2", dir / "a.tmp"), CardStore::Outcome::Changed);
    // Nothing written or deleted, and the card still expects what it loaded, so it keeps refusing.
    EXPECT_EQ(recordsOf(file), (std::vector<std::string>{rec("one"), rec("theirs"), rec("three")}));
    EXPECT_EQ(card.held(), rec("two"));
    EXPECT_EQ(card.save(file, "2", rec("mine")).outcome, CardStore::Outcome::Changed);

    // Loaded again, the card saves.
    card = cardOn(file, 2);
    EXPECT_EQ(card.save(file, "2", rec("mine")).outcome, CardStore::Outcome::Done);
    EXPECT_EQ(recordsOf(file)[1], rec("mine"));
}

TEST(CardStore, RefusesWhenTheRecordMovedOrWentAway)
{
    TempFolder dir;
    const RecordFile file(dir / "a.pro", kSize);
    for (const char *r : {"one", "two", "three"})
        ASSERT_TRUE(file.append(rec(r)));
    CardStore onTwo = cardOn(file, 2);
    CardStore onThree = cardOn(file, 3);
    // Another card deletes record 1: "two" is now record 1 and there is no record 3.
    CardStore onOne = cardOn(file, 1);
    ASSERT_EQ(onOne.remove(file, "1", dir / "a.tmp"), CardStore::Outcome::Done);

    EXPECT_EQ(onTwo.save(file, "2", rec("TWO")).outcome, CardStore::Outcome::Changed);
    EXPECT_EQ(onThree.save(file, "3", rec("THREE")).outcome, CardStore::Outcome::Changed);
    EXPECT_EQ(onThree.remove(file, "3", dir / "a.tmp"), CardStore::Outcome::Changed);
    // A number far past the end is refused the same way, without reaching for such a position.
    EXPECT_EQ(onThree.save(file, "18446744073709551615", rec("THREE")).outcome, CardStore::Outcome::Changed);
    EXPECT_EQ(recordsOf(file), (std::vector<std::string>{rec("two"), rec("three")}));
}

TEST(CardStore, DeletesAnUnchangedRecordAndTheCardBecomesNew)
{
    TempFolder dir;
    const RecordFile file(dir / "a.pro", kSize);
    for (const char *r : {"one", "two", "three"})
        ASSERT_TRUE(file.append(rec(r)));
    CardStore card = cardOn(file, 2);
    EXPECT_EQ(card.remove(file, " 2 ", dir / "a.tmp"), CardStore::Outcome::Done);
    EXPECT_EQ(recordsOf(file), (std::vector<std::string>{rec("one"), rec("three")}));
    EXPECT_FALSE(std::filesystem::exists(dir / "a.tmp"));
    EXPECT_TRUE(card.held().empty());

    // The card now appends instead of writing over what became record 2.
    const CardStore::Saved saved = card.save(file, "", rec("two"));
    EXPECT_EQ(saved.number, 3u);
    EXPECT_TRUE(saved.appended);
}

TEST(CardStore, APositionThatNamesNoRecordWritesNothing)
{
    TempFolder dir;
    const RecordFile file(dir / "a.pro", kSize);
    ASSERT_TRUE(file.append(rec("one")));
    CardStore card = cardOn(file, 1);
    for (const char *position : {"x", "0", "-1", "1x"}) {
        EXPECT_EQ(card.save(file, position, rec("mine")).outcome, CardStore::Outcome::FileError) << position;
        EXPECT_EQ(card.remove(file, position, dir / "a.tmp"), CardStore::Outcome::FileError) << position;
    }
    EXPECT_EQ(card.remove(file, "", dir / "a.tmp"), CardStore::Outcome::FileError);
    EXPECT_EQ(recordsOf(file), std::vector<std::string>{rec("one")});
    EXPECT_EQ(card.held(), rec("one"));
}

TEST(CardStore, DeleteNeverCreatesAMissingArchive)
{
    TempFolder dir;
    const RecordFile file(dir / "a.pro", kSize);
    CardStore card;
    card.hold(rec("one"));
    EXPECT_EQ(card.remove(file, "1", dir / "a.tmp"), CardStore::Outcome::FileError);
    EXPECT_FALSE(std::filesystem::exists(dir / "a.pro"));
}

TEST(CardStore, FolderHeldByAnotherProcessIsAFileErrorAndWritesNothing)
{
    TempFolder dir;
    const RecordFile file(dir / "a.pro", kSize);
    ASSERT_TRUE(file.append(rec("one")));
    CardStore stored = cardOn(file, 1);
    CardStore fresh;
    {
        const test::ShortLockWait shortWait;
        test::LockHolder other(dir.path());
        ASSERT_TRUE(other.held());
        EXPECT_EQ(stored.save(file, "1", rec("mine")).outcome, CardStore::Outcome::FileError);
        EXPECT_EQ(stored.remove(file, "1", dir / "a.tmp"), CardStore::Outcome::FileError);
        EXPECT_EQ(fresh.save(file, "", rec("new")).outcome, CardStore::Outcome::FileError);
    }
    EXPECT_EQ(recordsOf(file), std::vector<std::string>{rec("one")});
    EXPECT_EQ(stored.held(), rec("one"));
    EXPECT_TRUE(fresh.held().empty());
}
