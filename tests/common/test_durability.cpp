#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/record.h"
#include "common/recordfile.h"
#include "tempfolder.h"

using namespace velmora;
using namespace std::chrono_literals;

namespace {

// A card: owner, serial and version, with a check field, so a torn or foreign write shows.
const RecordLayout &cardLayout()
{
    static const RecordLayout layout{1, 10, 10, 40};
    return layout;
}

std::string card(char owner, int serial, int version)
{
    const std::string body = std::string(1, owner) + "-" + std::to_string(serial) + "-" + std::to_string(version);
    return cardLayout().encode({std::string(1, owner), std::to_string(serial), std::to_string(version), body});
}

bool wellFormed(const std::string &r)
{
    const auto v = cardLayout().decode(r);
    return v[3] == v[0] + "-" + v[1] + "-" + v[2];
}

std::string fileBytes(const std::filesystem::path &p)
{
    return readWholeFile(p).value_or(std::string());
}

// One workstation: saves new cards, updates and deletes its own, reloading its card whenever
// the archive changed under it. Reports on the pipe every operation it saw succeed.
void workstation(const std::filesystem::path &folder, char owner, std::chrono::milliseconds duration, int reportFd)
{
    const RecordFile file(folder / "Anagrafica.pro", cardLayout().size());
    std::mt19937 rng(static_cast<unsigned>(owner));
    std::map<int, int> versions; // serial -> last saved version
    int nextSerial = 1;
    const auto end = std::chrono::steady_clock::now() + duration;
    const auto report = [&](char op, int serial, int version) {
        char line[64];
        const int n = std::snprintf(line, sizeof line, "%c %d %d\n", op, serial, version);
        (void)!::write(reportFd, line, static_cast<std::size_t>(n));
    };
    // Finds where a serial of ours is now, as the card screen does when told to reload.
    const auto locate = [&](int serial) -> std::size_t {
        std::vector<std::string> all;
        if (!file.readAll(all))
            return 0;
        for (std::size_t i = 0; i < all.size(); ++i) {
            const auto v = cardLayout().decode(all[i]);
            if (v[0] == std::string(1, owner) && v[1] == std::to_string(serial))
                return i + 1;
        }
        return 0;
    };
    while (std::chrono::steady_clock::now() < end) {
        const int action = static_cast<int>(rng() % 3);
        if (action == 0 || versions.empty()) {
            if (file.append(card(owner, nextSerial, 1))) {
                versions[nextSerial] = 1;
                report('S', nextSerial, 1);
            }
            ++nextSerial;
            continue;
        }
        auto it = versions.begin();
        std::advance(it, static_cast<long>(rng() % versions.size()));
        const int serial = it->first;
        const int version = it->second;
        // The screen believes the card is where it last saw it; a guess that may be stale.
        for (int attempt = 0; attempt < 3; ++attempt) {
            const std::size_t n = locate(serial);
            if (n == 0)
                break;
            const auto result = action == 1 ? file.overwriteIfUnchanged(n, card(owner, serial, version),
                                                                        card(owner, serial, version + 1))
                                            : file.removeIfUnchanged(n, card(owner, serial, version),
                                                                     folder / "Anagrafica.tmp");
            if (result == RecordFile::Guarded::Done) {
                if (action == 1) {
                    it->second = version + 1;
                    report('U', serial, version + 1);
                } else {
                    versions.erase(it);
                    report('D', serial, 0);
                }
                break;
            }
        }
    }
}

} // namespace

TEST(Durability, TwoWorkstationsNeverLoseOrOverwriteEachOthersCards)
{
    TempFolder dir;
    int pipes[2][2];
    pid_t pids[2];
    for (int k = 0; k < 2; ++k) {
        ASSERT_EQ(::pipe(pipes[k]), 0);
        pids[k] = ::fork();
        if (pids[k] == 0) {
            ::close(pipes[k][0]);
            workstation(dir.path(), k == 0 ? 'A' : 'B', 1500ms, pipes[k][1]);
            ::_exit(0);
        }
        ::close(pipes[k][1]);
    }
    std::map<std::string, int> expected; // "A-3" -> version
    for (int k = 0; k < 2; ++k) {
        std::string log;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(pipes[k][0], buf, sizeof buf)) > 0)
            log.append(buf, static_cast<std::size_t>(n));
        ::close(pipes[k][0]);
        int status = 0;
        ::waitpid(pids[k], &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        std::istringstream in(log);
        char op;
        int serial, version;
        while (in >> op >> serial >> version) {
            const std::string key = std::string(1, k == 0 ? 'A' : 'B') + "-" + std::to_string(serial);
            if (op == 'D')
                expected.erase(key);
            else
                expected[key] = version;
        }
    }
    ASSERT_GT(expected.size(), 5u);

    std::vector<std::string> all;
    ASSERT_TRUE(RecordFile(dir / "Anagrafica.pro", cardLayout().size()).readAll(all));
    std::map<std::string, int> found;
    for (const auto &r : all) {
        ASSERT_TRUE(wellFormed(r));
        const auto v = cardLayout().decode(r);
        const std::string key = v[0] + "-" + v[1];
        EXPECT_EQ(found.count(key), 0u) << key << " present twice";
        found[key] = std::stoi(v[2]);
    }
    EXPECT_EQ(found, expected);
    EXPECT_EQ(std::filesystem::file_size(dir / "Anagrafica.pro") % cardLayout().size(), 0u);
}

TEST(Durability, KilledWriterLeavesWholeRecordsAndLosesOnlyTheOperationInFlight)
{
    TempFolder dir;
    std::mt19937 rng(7);
    std::map<std::string, int> expected;
    for (int round = 0; round < 25; ++round) {
        int p[2];
        ASSERT_EQ(::pipe(p), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(p[0]);
            workstation(dir.path(), static_cast<char>('a' + round % 26), 10s, p[1]);
            ::_exit(0);
        }
        ::close(p[1]);
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + rng() % 40));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        std::string log;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(p[0], buf, sizeof buf)) > 0)
            log.append(buf, static_cast<std::size_t>(n));
        ::close(p[0]);
        std::istringstream in(log);
        char op;
        int serial, version;
        const char owner = static_cast<char>('a' + round % 26);
        std::map<std::string, int> mine;
        while (in >> op >> serial >> version) {
            const std::string key = std::string(1, owner) + "-" + std::to_string(serial);
            if (op == 'D')
                mine.erase(key);
            else
                mine[key] = version;
        }

        const std::string bytes = fileBytes(dir / "Anagrafica.pro");
        ASSERT_EQ(bytes.size() % cardLayout().size(), 0u) << "torn record after round " << round;
        std::map<std::string, int> found;
        std::vector<std::string> all;
        ASSERT_TRUE(RecordFile(dir / "Anagrafica.pro", cardLayout().size()).readAll(all));
        std::size_t ofRound = 0;
        for (const auto &r : all) {
            ASSERT_TRUE(wellFormed(r));
            const auto v = cardLayout().decode(r);
            found[v[0] + "-" + v[1]] = std::stoi(v[2]);
            if (v[0][0] == owner)
                ++ofRound;
        }
        // Every earlier card is intact.
        for (const auto &[key, version] : expected)
            EXPECT_EQ(found.count(key) ? found[key] : -1, version) << key;
        // This round's reported cards are there, give or take the one operation in flight.
        std::size_t differing = 0;
        for (const auto &[key, version] : mine)
            differing += found.count(key) && found[key] == version ? 0 : 1;
        EXPECT_LE(differing, 1u);
        EXPECT_LE(ofRound, mine.size() + 1);
        for (const auto &[key, version] : found)
            if (key[0] == owner)
                expected[key] = version;
    }
}

TEST(Durability, FailingWritesLeaveTheArchiveAsItWas)
{
    TempFolder dir;
    const std::size_t size = cardLayout().size();
    const RecordFile file(dir / "Materiali.pro", size);
    for (int i = 1; i <= 3; ++i)
        ASSERT_TRUE(file.append(card('x', i, 1)));
    const std::string before = fileBytes(dir / "Materiali.pro");

    // A child with a file size limit stands for a full disk: writes past it fail.
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {};
        limit.rlim_cur = limit.rlim_max = 3 * size + size / 2;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool appendFailed = !file.append(card('x', 4, 1));
        limit.rlim_cur = size; // the temporary copy of two records does not fit
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool deleteFailed = !file.removeByCopy("1", dir / "Materiali.tmp");
        const bool guardedFailed =
            file.removeIfUnchanged(2, card('x', 2, 1), dir / "Materiali.tmp") == RecordFile::Guarded::FileError;
        ::_exit(appendFailed && deleteFailed && guardedFailed ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(fileBytes(dir / "Materiali.pro"), before);
    EXPECT_FALSE(std::filesystem::exists(dir / "Materiali.tmp"));
}
