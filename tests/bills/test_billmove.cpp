#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "bills/billmove.h"
#include "bills/consumption.h"
#include "bills/lockholder.h"
#include "common/recordfile.h"
#include "common/tempfolder.h"
#include "common/text.h"

using namespace velmora;
using Outcome = BillMove::Outcome;

namespace {

const std::size_t kSize = consumptionLayout().size();

std::string record(int id)
{
    std::vector<std::string> v(consumption::FieldCount);
    v[consumption::Prodotto] = "C" + std::to_string(id);
    v[consumption::Data] = "08/12/2026";
    v[consumption::Importo] = "1,00";
    return consumptionLayout().encode(v);
}

void writeBill(const std::filesystem::path &path, const std::vector<int> &ids)
{
    std::string bytes;
    for (const int id : ids)
        bytes += record(id);
    ASSERT_TRUE(writeWholeFileAtomic(path, bytes));
}

// The products of a bill, in record order.
std::vector<std::string> productsOf(const std::filesystem::path &path)
{
    std::vector<std::string> records;
    EXPECT_TRUE(RecordFile(path, kSize).readAll(records));
    std::vector<std::string> products;
    for (const std::string &r : records)
        products.push_back(consumptionLayout().decode(r)[consumption::Prodotto]);
    return products;
}

std::vector<std::string> names(std::initializer_list<int> ids)
{
    std::vector<std::string> out;
    for (const int id : ids)
        out.push_back("C" + std::to_string(id));
    return out;
}

BillMove moveCard(const TempFolder &dir, const char *from, const char *to, std::size_t n, const std::string &held)
{
    return moveConsumptions(dir.path(), dir / from, dir / to, CardRecord{n, held}, kSize);
}

BillMove moveAll(const TempFolder &dir, const char *from, const char *to)
{
    return moveConsumptions(dir.path(), dir / from, dir / to, std::nullopt, kSize);
}

} // namespace

TEST(BillMove, TheCardsConsumptionGoesToTheEndOfTheOtherBill)
{
    TempFolder dir;
    writeBill(dir / "Bar.for", {1, 2, 3});
    writeBill(dir / "Camera 12.for", {4});
    ::chmod((dir / "Bar.for").c_str(), 0640);
    const BillMove moved = moveCard(dir, "Bar.for", "Camera 12.for", 2, record(2));
    EXPECT_EQ(moved.outcome, Outcome::Moved);
    EXPECT_EQ(moved.moved, 1u);
    EXPECT_EQ(productsOf(dir / "Bar.for"), names({1, 3}));
    EXPECT_EQ(productsOf(dir / "Camera 12.for"), names({4, 2}));
    EXPECT_FALSE(std::filesystem::exists(dir / kMoveJournal));
    EXPECT_FALSE(std::filesystem::exists(dir / kBillTempFile));
    struct stat st
    {
    };
    ASSERT_EQ(::stat((dir / "Bar.for").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u); // the rewritten source keeps its mode
}

TEST(BillMove, EveryConsumptionMovedLeavesTheSourceEmpty)
{
    TempFolder dir;
    writeBill(dir / "Bar.for", {1, 2, 3});
    writeBill(dir / "Camera 12.for", {4});
    // A partial record at the end of the destination is written over, as an append does.
    {
        const std::string bytes = record(4) + std::string(10, 'x');
        ASSERT_TRUE(writeWholeFileAtomic(dir / "Camera 12.for", bytes));
    }
    const BillMove moved = moveAll(dir, "Bar.for", "Camera 12.for");
    EXPECT_EQ(moved.outcome, Outcome::Moved);
    EXPECT_EQ(moved.moved, 3u);
    EXPECT_EQ(std::filesystem::file_size(dir / "Bar.for"), 0u);
    EXPECT_EQ(productsOf(dir / "Camera 12.for"), names({4, 1, 2, 3}));
    EXPECT_EQ(std::filesystem::file_size(dir / "Camera 12.for"), 4 * kSize);
}

TEST(BillMove, NothingMovesWhenTheMoveCannotOrNeedNotBeDone)
{
    TempFolder dir;
    writeBill(dir / "Bar.for", {1, 2});
    writeBill(dir / "Vuoto.for", {});
    // The card no longer holds what the bill holds there (another workstation changed it), or
    // names a record that is gone.
    EXPECT_EQ(moveCard(dir, "Bar.for", "Vuoto.for", 1, record(9)).outcome, Outcome::Changed);
    EXPECT_EQ(moveCard(dir, "Bar.for", "Vuoto.for", 3, record(1)).outcome, Outcome::Changed);
    EXPECT_EQ(moveAll(dir, "Vuoto.for", "Bar.for").outcome, Outcome::Nothing);
    EXPECT_EQ(moveAll(dir, "Bar.for", "Bar.for").outcome, Outcome::SameBill);
    EXPECT_EQ(moveAll(dir, "Bar.for", "Sparito.for").outcome, Outcome::DestinationGone);
    EXPECT_FALSE(std::filesystem::exists(dir / "Sparito.for"));
    {
        const test::ShortLockWait shortWait;
        test::LockHolder other(dir.path());
        ASSERT_TRUE(other.held());
        EXPECT_EQ(moveAll(dir, "Bar.for", "Vuoto.for").outcome, Outcome::FileError);
    }
    EXPECT_EQ(productsOf(dir / "Bar.for"), names({1, 2}));
    EXPECT_EQ(std::filesystem::file_size(dir / "Vuoto.for"), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir / kMoveJournal));
}

TEST(BillMove, AJournalThatNoMoveWroteIsSetAsideUntouched)
{
    TempFolder dir;
    writeBill(dir / "Bar.for", {1});
    ASSERT_TRUE(writeWholeFileAtomic(dir / kMoveJournal, "VMJ1 qualcosa"));
    EXPECT_TRUE(settlePendingMove(dir.path()));
    EXPECT_FALSE(std::filesystem::exists(dir / kMoveJournal));
    EXPECT_EQ(productsOf(dir / "Bar.for"), names({1}));
    EXPECT_EQ(moveAll(dir, "Bar.for", "Bar.for").outcome, Outcome::SameBill); // the bills work again
}

TEST(BillMove, ALinkedBillStaysALinkAndAPlantedJournalIsNeverFollowed)
{
    TempFolder dir;
    TempFolder elsewhere;
    writeBill(elsewhere / "Bar vero.for", {1, 2});
    writeBill(dir / "Camera 12.for", {});
    ASSERT_EQ(::symlink((elsewhere / "Bar vero.for").c_str(), (dir / "Bar.for").c_str()), 0);
    EXPECT_EQ(moveCard(dir, "Bar.for", "Camera 12.for", 1, record(1)).outcome, Outcome::Moved);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "Bar.for"));
    EXPECT_EQ(productsOf(elsewhere / "Bar vero.for"), names({2}));
    EXPECT_EQ(productsOf(dir / "Camera 12.for"), names({1}));
    EXPECT_FALSE(std::filesystem::exists(elsewhere / kBillTempFile));

    // A link planted where the journal goes is set aside unread; the file it names is untouched.
    writeBill(elsewhere / "Altro.for", {7});
    ASSERT_EQ(::symlink((elsewhere / "Altro.for").c_str(), (dir / kMoveJournal).c_str()), 0);
    EXPECT_TRUE(settlePendingMove(dir.path()));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir / kMoveJournal)));
    EXPECT_EQ(productsOf(elsewhere / "Altro.for"), names({7}));
    EXPECT_EQ(moveAll(dir, "Camera 12.for", "Bar.for").outcome, Outcome::Moved);
    EXPECT_EQ(productsOf(elsewhere / "Bar vero.for"), names({2, 1}));
}

namespace {

const char *const kBills[] = {"Bar.for", "Camera 1.for", "Camera 2.for", "Piscina.for"};
constexpr int kConsumptions = 24;

void seedBills(const TempFolder &dir)
{
    for (int b = 0; b < 4; ++b) {
        std::vector<int> ids;
        for (int i = b; i < kConsumptions; i += 4)
            ids.push_back(i);
        writeBill(dir / kBills[b], ids);
    }
}

// Settles a copy of the folder, as the next start would, and checks that every consumption
// is in exactly one bill and every bill is whole.
void expectEachConsumptionOnce(const TempFolder &dir, const std::string &context)
{
    TempFolder copy;
    std::filesystem::copy(dir.path(), copy.path(),
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(settlePendingMove(copy.path())) << context;
    EXPECT_FALSE(std::filesystem::exists(copy / kMoveJournal)) << context;
    std::vector<std::string> all;
    for (const char *bill : kBills) {
        EXPECT_EQ(std::filesystem::file_size(copy / bill) % kSize, 0u) << context;
        for (const std::string &p : productsOf(copy / bill))
            all.push_back(p);
    }
    std::sort(all.begin(), all.end());
    std::vector<std::string> expected;
    for (int i = 0; i < kConsumptions; ++i)
        expected.push_back("C" + std::to_string(i));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(all, expected) << context;
}

// One random move of a child: a card (a record it reads first) or all of a bill.
void randomMove(const TempFolder &dir, std::mt19937 &rng)
{
    const int from = static_cast<int>(rng() % 4);
    const int to = (from + 1 + static_cast<int>(rng() % 3)) % 4;
    if (rng() % 4 == 0) {
        (void)moveAll(dir, kBills[from], kBills[to]);
        return;
    }
    std::vector<std::string> records;
    {
        const SettledBills settled(dir.path());
        if (!settled || !RecordFile(dir / kBills[from], kSize).readAll(records) || records.empty())
            return;
    }
    const std::size_t n = 1 + rng() % records.size();
    (void)moveCard(dir, kBills[from], kBills[to], n, records[n - 1]);
}

// A child that makes moves until it is killed, at its stopAt-th file step (0: never) or from
// outside; it reports each move begun on report.
pid_t startMover(const TempFolder &dir, unsigned seed, long stopAt, int report)
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    long steps = 0;
    setMoveStepHook([&steps, stopAt] {
        if (stopAt > 0 && ++steps == stopAt)
            ::raise(SIGKILL);
    });
    std::mt19937 rng(seed);
    for (int i = 0; i < 100000; ++i) {
        if (report >= 0 && ::write(report, "m", 1) != 1)
            ::_exit(2);
        randomMove(dir, rng);
    }
    ::_exit(0);
}

} // namespace

TEST(BillMoveCrash, AKillAtAnyFileStepLeavesEachConsumptionInExactlyOneBill)
{
    TempFolder dir;
    seedBills(dir);
    std::mt19937 rng(19);
    // The folder is never settled between children: each one first completes what the last
    // left, and may itself be killed while doing so.
    for (int round = 0; round < 60; ++round) {
        const long stopAt = 1 + static_cast<long>(rng() % 60);
        const pid_t pid = startMover(dir, rng(), stopAt, -1);
        ASSERT_GT(pid, 0);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "round " << round;
        expectEachConsumptionOnce(dir, "round " + std::to_string(round) + ", step " + std::to_string(stopAt));
        if (HasFailure())
            return;
    }
}

TEST(BillMoveCrash, AKillFromOutsideAtAnyMomentLeavesEachConsumptionInExactlyOneBill)
{
    TempFolder dir;
    seedBills(dir);
    std::mt19937 rng(23);
    for (int round = 0; round < 20; ++round) {
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const pid_t pid = startMover(dir, rng(), 0, pipeFds[1]);
        ASSERT_GT(pid, 0);
        ::close(pipeFds[1]);
        // The kill lands somewhere in a move the child has begun; where does not matter.
        const int moves = 1 + static_cast<int>(rng() % 20);
        char c;
        for (int m = 0; m < moves; ++m)
            ASSERT_EQ(::read(pipeFds[0], &c, 1), 1);
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ::close(pipeFds[0]);
        expectEachConsumptionOnce(dir, "round " + std::to_string(round));
        if (HasFailure())
            return;
    }
    EXPECT_TRUE(settlePendingMove(dir.path()));
}
