#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

#include "bills/lockholder.h"
#include "common/folderlock.h"
#include "common/recordfile.h"
#include "tempfolder.h"

using namespace velmora;
using namespace std::chrono_literals;

namespace {

// Runs body in a child process; returns the child's pid. The child exits with body's result.
template <typename F> pid_t inChild(F body)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body() ? 0 : 1);
    return pid;
}

int waitExit(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(FolderLock, AnotherProcessWaitsAndGivesUpInTime)
{
    TempFolder dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = inChild([&] {
        const FolderLock lock(dir.path());
        char c = lock ? 'y' : 'n';
        (void)!::write(ready[1], &c, 1);
        std::this_thread::sleep_for(600ms);
        return static_cast<bool>(lock);
    });
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    {
        const auto start = std::chrono::steady_clock::now();
        const FolderLock refused(dir.path(), 100ms);
        EXPECT_FALSE(refused);
        EXPECT_GE(std::chrono::steady_clock::now() - start, 100ms);
        // A record operation meanwhile waits for the other program instead of interleaving.
        EXPECT_TRUE(RecordFile(dir / "a.pro", 4).count().has_value());
        EXPECT_GE(std::chrono::steady_clock::now() - start, 500ms);
    }
    const FolderLock waited(dir.path(), 5000ms);
    EXPECT_TRUE(waited);
    EXPECT_EQ(waitExit(child), 0);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(FolderLock, NestsWithinOneProcess)
{
    TempFolder dir;
    const FolderLock outer(dir.path());
    ASSERT_TRUE(outer);
    {
        const FolderLock inner(dir.path(), 10ms);
        EXPECT_TRUE(inner);
        // Record operations take the same lock again while the outer one is held.
        EXPECT_TRUE(RecordFile(dir / "a.pro", 4).append("abcd"));
    }
    // Still held by the outer level: another process cannot take it.
    const pid_t child = inChild([&] { return !FolderLock(dir.path(), 50ms); });
    EXPECT_EQ(waitExit(child), 0);
}

TEST(GuardedWrites, RefuseWhenTheRecordChangedOrMoved)
{
    TempFolder dir;
    const RecordFile file(dir / "a.pro", 4);
    ASSERT_TRUE(file.append("aaaa"));
    ASSERT_TRUE(file.append("bbbb"));
    ASSERT_TRUE(file.append("cccc"));

    EXPECT_EQ(file.overwriteIfUnchanged(2, "bbbb", "BBBB"), RecordFile::Guarded::Done);
    // The screen still believes record 2 holds "bbbb": someone else changed it.
    EXPECT_EQ(file.overwriteIfUnchanged(2, "bbbb", "xxxx"), RecordFile::Guarded::Changed);
    EXPECT_EQ(file.removeIfUnchanged(2, "bbbb", dir / "a.tmp"), RecordFile::Guarded::Changed);
    // Record 1 deleted elsewhere: the card of record 3 now points past the end.
    ASSERT_TRUE(file.removeByCopy("1", dir / "a.tmp"));
    EXPECT_EQ(file.overwriteIfUnchanged(3, "cccc", "zzzz"), RecordFile::Guarded::Changed);
    EXPECT_EQ(file.removeIfUnchanged(3, "cccc", dir / "a.tmp"), RecordFile::Guarded::Changed);
    std::vector<std::string> all;
    ASSERT_TRUE(file.readAll(all));
    EXPECT_EQ(all, (std::vector<std::string>{"BBBB", "cccc"}));
    EXPECT_EQ(file.removeIfUnchanged(1, "BBBB", dir / "a.tmp"), RecordFile::Guarded::Done);
    ASSERT_TRUE(file.readAll(all));
    EXPECT_EQ(all, (std::vector<std::string>{"cccc"}));
}

// However many file steps one user action takes, together they wait for another workstation
// at most the wait of one; the next action may wait again.
TEST(FolderLock, OneUserActionWaitsAtMostTheWaitInAll)
{
    TempFolder dir;
    const test::ShortLockWait shortWait(300ms);
    test::LockHolder other(dir.path());
    ASSERT_TRUE(other.held());
    const RecordFile file(dir / "a.pro", 4);
    const auto start = std::chrono::steady_clock::now();
    for (int step = 0; step < 10; ++step) {
        EXPECT_FALSE(file.count().has_value());
        EXPECT_FALSE(file.append("abcd"));
    }
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(FolderLock::busyInAction());
    EXPECT_GE(took, 300ms);
    EXPECT_LT(took, 1500ms); // twenty steps each waiting the whole wait would take six seconds

    FolderLock::newAction();
    EXPECT_FALSE(FolderLock::busyInAction());
    const auto again = std::chrono::steady_clock::now();
    EXPECT_FALSE(FolderLock(dir.path()));
    EXPECT_GE(std::chrono::steady_clock::now() - again, 300ms);
    other.release();
    // Free again: a step of the same action, which has no wait left, takes the lock at once.
    EXPECT_EQ(file.count(), std::optional<std::size_t>(0));
}
