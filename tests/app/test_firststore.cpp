#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>

#include "app/passwordcodec.h"
#include "app/passwordstore.h"
#include "bills/lockholder.h"
#include "common/recordfile.h"
#include "../common/tempfolder.h"

extern char **environ;

using namespace velmora;
namespace fs = std::filesystem;

namespace {

// Starts the install step on folder; returns its process.
pid_t startFirstStore(const fs::path &folder)
{
    const std::string tool = VELMORA_FIRSTSTORE;
    const std::string where = folder.string();
    char *argv[] = {const_cast<char *>(tool.c_str()), const_cast<char *>(where.c_str()), nullptr};
    // Only the standard streams: a pipe of the lock holder kept open here would keep it waiting.
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    pid_t pid = -1;
    const int failed = ::posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv, environ);
    ::posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

int exitOf(pid_t pid)
{
    int status = 0;
    if (pid <= 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace

TEST(FirstStore, AFolderWithoutAStoreGetsTheDefaultPasswordAndAnyOtherIsLeftAlone)
{
    TempFolder folder;
    const fs::path store = folder / kPasswordStore;
    ASSERT_EQ(exitOf(startFirstStore(folder.path())), 0);
    EXPECT_EQ(readStoredPassword(store), passwordKey(kDefaultPassword));

    // Run again over a password the users chose: it stays.
    ASSERT_TRUE(writeWholeFileAtomic(store, "[Accesso]\r\nValore=4E0D\r\n"));
    ASSERT_EQ(exitOf(startFirstStore(folder.path())), 0);
    EXPECT_EQ(readWholeFile(store), "[Accesso]\r\nValore=4E0D\r\n");

    // A link in the store's place is the administrator's, even one that leads nowhere yet.
    fs::remove(store);
    fs::create_symlink(folder / "altrove" / "unins000.dll", store);
    ASSERT_EQ(exitOf(startFirstStore(folder.path())), 0);
    EXPECT_TRUE(fs::is_symlink(store));
    EXPECT_FALSE(fs::exists(folder / "altrove"));
}

// Installed into a folder a workstation is using: nothing is written while it holds the folder,
// and the password it put in place meanwhile is kept.
TEST(FirstStore, WaitsForAWorkstationHoldingTheFolderAndKeepsWhatItWrote)
{
    TempFolder folder;
    const fs::path store = folder / kPasswordStore;
    test::LockHolder other(folder.path());
    ASSERT_TRUE(other.held());
    const pid_t tool = startFirstStore(folder.path());
    ASSERT_GT(tool, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_FALSE(fs::exists(store));
    ASSERT_TRUE(writeWholeFileAtomic(store, "[Accesso]\r\nValore=4E0D\r\n"));
    other.release();
    EXPECT_EQ(exitOf(tool), 0);
    EXPECT_EQ(readWholeFile(store), "[Accesso]\r\nValore=4E0D\r\n");
}
