#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/passwordcodec.h"
#include "app/passwordstore.h"
#include "bills/lockholder.h"
#include "common/settingsfile.h"
#include "common/tempfolder.h"

using namespace velmora;

namespace {

std::string fileBytes(const std::filesystem::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void storePassword(const std::filesystem::path &store, const std::string &plain)
{
    ASSERT_TRUE(SettingsFile(store).write(kPasswordSection, kPasswordKey, EncodeStoredPassword(plain)));
}

std::size_t occurrences(const std::string &text, const std::string &part)
{
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(PasswordStore, ChangeAnswersInTheOrderOfItsChecks)
{
    TempFolder dir;
    const auto store = dir / kPasswordStore;
    // No store: the password in force is empty, so no typed old password matches it.
    EXPECT_EQ(readStoredPassword(store), std::optional<std::string>(""));
    EXPECT_EQ(changeStoredPassword(store, "x", "a", "a"), PasswordChange::WrongOld);
    EXPECT_FALSE(std::filesystem::exists(store));

    storePassword(store, "VELMORA");
    const std::string before = fileBytes(store);
    // A wrong old password is told first, even when the confirmation differs too.
    EXPECT_EQ(changeStoredPassword(store, "velmor", "a", "b"), PasswordChange::WrongOld);
    EXPECT_EQ(changeStoredPassword(store, " velmora ", "nuova", "Nuova"), PasswordChange::NotConfirmed);
    EXPECT_EQ(fileBytes(store), before);
    EXPECT_EQ(changeStoredPassword(store, " vElMoRa", " nuova ", "nuova"), PasswordChange::Done);
    EXPECT_EQ(readStoredPassword(store), std::optional<std::string>("NUOVA"));
    EXPECT_EQ(changeStoredPassword(store, "velmora", "b", "b"), PasswordChange::WrongOld);
}

TEST(PasswordStore, ReplacementKeepsModeAndGroupAndLeavesNoOtherFile)
{
    TempFolder dir;
    const auto store = dir / kPasswordStore;
    storePassword(store, "VELMORA");
    // A group other than the process's own: any as the superuser, else a supplementary one.
    gid_t group = ::getegid();
    if (::geteuid() == 0) {
        group = 4242;
    } else {
        std::vector<gid_t> groups(static_cast<std::size_t>(::getgroups(0, nullptr)));
        if (::getgroups(static_cast<int>(groups.size()), groups.data()) > 0)
            for (const gid_t g : groups)
                if (g != ::getegid())
                    group = g;
    }
    ASSERT_EQ(::chown(store.c_str(), static_cast<uid_t>(-1), group), 0);
    ASSERT_EQ(::chmod(store.c_str(), 0604), 0);
    ASSERT_EQ(changeStoredPassword(store, "velmora", "nuova", "nuova"), PasswordChange::Done);
    struct stat st
    {
    };
    ASSERT_EQ(::lstat(store.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(st.st_gid, group);
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{FolderLock::kLockFileName, kPasswordStore}));
}

// Something other than a store, where the store belongs: refused at once, never opened for a
// read that could block or fill the memory, and left as it is.
TEST(PasswordStore, WhatIsNoStoreIsRefusedAtOnce)
{
    TempFolder dir;
    const auto store = dir / kPasswordStore;
    const auto refused = [&](const char *what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(readStoredPassword(store), std::nullopt);
        EXPECT_EQ(changeStoredPassword(store, "velmora", "a", "a"), PasswordChange::Failed);
    };
    ASSERT_EQ(::mkfifo(store.c_str(), 0660), 0);
    refused("FIFO");
    struct stat st
    {
    };
    ASSERT_EQ(::lstat(store.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(::unlink(store.c_str()), 0);

    std::filesystem::create_directory(store);
    refused("folder");
    EXPECT_TRUE(std::filesystem::is_directory(store));
    std::filesystem::remove(store);

    // Eight gigabytes that take no room: a read of them would exhaust the memory.
    {
        std::ofstream out(store, std::ios::binary);
        out << "[Accesso]\r\nValore=" << EncodeStoredPassword("VELMORA") << "\r\n";
    }
    std::filesystem::resize_file(store, std::uintmax_t{8} << 30);
    refused("huge file");
    EXPECT_EQ(std::filesystem::file_size(store), std::uintmax_t{8} << 30);
    std::filesystem::remove(store);

    if (::mknod(store.c_str(), S_IFCHR | 0660, ::makedev(1, 5)) == 0) { // what /dev/zero is
        refused("device");
        ASSERT_EQ(::lstat(store.c_str(), &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode));
    }
}

TEST(PasswordStore, FolderHeldByAnotherWorkstationChangesNothing)
{
    TempFolder dir;
    const auto store = dir / kPasswordStore;
    storePassword(store, "VELMORA");
    const std::string before = fileBytes(store);
    const test::ShortLockWait shortWait;
    test::LockHolder other(dir.path());
    ASSERT_TRUE(other.held());
    EXPECT_EQ(changeStoredPassword(store, "velmora", "a", "a"), PasswordChange::Busy);
    EXPECT_EQ(fileBytes(store), before);
    other.release();
    EXPECT_EQ(changeStoredPassword(store, "velmora", "a", "a"), PasswordChange::Done);
}

// Two workstations change the password from the same old one at the same moment, over and over:
// each time exactly one is told it succeeded, its password is the one in force, and the store
// is whole.
TEST(PasswordStore, TwoStationsChangingAtOnceLeaveTheWinnersPassword)
{
    TempFolder dir;
    const auto store = dir / kPasswordStore;
    for (int round = 0; round < 80; ++round) {
        SCOPED_TRACE(round);
        storePassword(store, "COMUNE");
        int start[2];
        ASSERT_EQ(::pipe(start), 0);
        pid_t children[2];
        for (int station = 0; station < 2; ++station) {
            children[station] = ::fork();
            if (children[station] == 0) {
                ::close(start[1]);
                char c;
                (void)!::read(start[0], &c, 1); // everyone starts when the pipe closes
                const std::string mine = "stazione" + std::to_string(station);
                ::_exit(static_cast<int>(changeStoredPassword(store, "comune", mine, mine)));
            }
            ASSERT_GT(children[station], 0);
        }
        ::close(start[0]);
        ::close(start[1]);
        int outcome[2];
        for (int station = 0; station < 2; ++station) {
            int status = 0;
            ASSERT_EQ(::waitpid(children[station], &status, 0), children[station]);
            ASSERT_TRUE(WIFEXITED(status));
            outcome[station] = WEXITSTATUS(status);
        }
        const int done = static_cast<int>(PasswordChange::Done);
        const int wrongOld = static_cast<int>(PasswordChange::WrongOld);
        ASSERT_TRUE((outcome[0] == done && outcome[1] == wrongOld) || (outcome[0] == wrongOld && outcome[1] == done))
            << outcome[0] << " " << outcome[1];
        const std::string winner = outcome[0] == done ? "STAZIONE0" : "STAZIONE1";
        EXPECT_EQ(readStoredPassword(store), std::optional<std::string>(winner));
        const std::string content = fileBytes(store);
        EXPECT_EQ(content, "[Accesso]\r\nValore=" + EncodeStoredPassword(winner) + "\r\n");
        EXPECT_EQ(occurrences(content, "Valore="), 1u);
    }
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2u); // the store and the lock file, no replacement left behind
}
