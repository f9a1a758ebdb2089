#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <map>
#include <random>
#include <thread>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include "app/safetycopies.h"
#include "common/folderlock.h"
#include "common/recordfile.h"
#include "common/settingsfile.h"
#include "common/sha256.h"
#include "../common/tempfolder.h"

using namespace velmora;
namespace fs = std::filesystem;

namespace {

const CopyTime kMorning{2026, 12, 8, 10, 55};
const CopyTime kEvening{2026, 12, 8, 19, 5};

void put(const fs::path &path, const std::string &bytes)
{
    fs::create_directories(path.parent_path());
    ASSERT_TRUE(writeWholeFileAtomic(path, bytes));
}

std::string bytesOf(std::size_t size, unsigned seed)
{
    std::mt19937 rng(seed);
    std::string s(size, '\0');
    for (char &c : s)
        c = static_cast<char>(rng() % 256);
    return s;
}

// Everything in a folder, links and folders included, by relative path: what a test compares
// to say that nothing changed.
std::map<std::string, std::string> everything(const fs::path &folder)
{
    std::map<std::string, std::string> all;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        const std::string rel = fs::relative(it->path(), folder).string();
        if (rel == FolderLock::kLockFileName)
            continue;
        if (it->is_symlink())
            all[rel] = "link:" + fs::read_symlink(it->path()).string();
        else if (it->is_directory())
            all[rel] = "folder";
        else
            all[rel] = readWholeFile(it->path()).value_or("unreadable");
    }
    return all;
}

// The program's data in a folder, by manifest name.
std::map<std::string, std::string> data(const fs::path &folder)
{
    std::map<std::string, std::string> all;
    for (const DataFile &f : programDataFiles(folder)) {
        // Through a link, as the program reads a linked archive.
        std::ifstream in(f.path, std::ios::binary);
        all[f.name] = in ? std::string(std::istreambuf_iterator<char>(in), {}) : "unreadable";
    }
    return all;
}

// A program folder with both archives, the password store, open bills (one named in bytes that
// are no UTF-8) and closed bills of two years.
void fillFolder(const fs::path &folder, unsigned seed)
{
    put(folder / "Anagrafica.pro", bytesOf(3992 * 3, seed));
    put(folder / "Materiali.pro", bytesOf(5170 * 2, seed + 1));
    put(folder / "unins000.dll", "[Accesso]\r\nValore=" + std::to_string(seed) + "\r\n");
    put(folder / "Camera 12.for", bytesOf(785 * 4, seed + 2));
    put(folder / "Caffè %1 100.for", bytesOf(785, seed + 3));
    put(folder / std::string("Tavolo \xe8.FOR"), bytesOf(785 * 2, seed + 4));
    put(folder / "Conti chiusi" / "2025" / "Rossi (chiuso il 02-03-2025).for", bytesOf(785 * 5, seed + 5));
    put(folder / "Conti chiusi" / "2026" / "Bianchi (chiuso il 01-12-2026).for", bytesOf(0, seed + 6));
}

struct Entry
{
    std::string name;
    std::string data;
    mode_t type = S_IFREG;
};

// A ZIP written as the test wants it, hostile or not.
std::string zipOf(const std::vector<Entry> &entries)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t *za = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    zip_source_keep(target);
    for (const Entry &e : entries) {
        zip_source_t *s = zip_source_buffer(za, e.data.data(), e.data.size(), 0);
        const zip_int64_t i = zip_file_add(za, e.name.c_str(), s, ZIP_FL_ENC_GUESS);
        EXPECT_GE(i, 0) << e.name;
        zip_file_set_external_attributes(za, static_cast<zip_uint64_t>(i), 0, ZIP_OPSYS_UNIX,
                                         static_cast<zip_uint32_t>(e.type | 0644) << 16);
    }
    EXPECT_EQ(zip_close(za), 0);
    std::string bytes;
    zip_source_open(target);
    char buf[65536];
    zip_int64_t n;
    while ((n = zip_source_read(target, buf, sizeof buf)) > 0)
        bytes.append(buf, static_cast<std::size_t>(n));
    zip_source_close(target);
    zip_source_free(target);
    zip_error_fini(&error);
    return bytes;
}

ManifestEntry entryFor(const std::string &name, const std::string &data, std::uint64_t recordSize = 0)
{
    return {name, data.size(), recordSize ? data.size() / recordSize : 0, sha256Hex(data)};
}

std::string manifestFor(const std::vector<ManifestEntry> &files)
{
    Manifest m;
    m.time = kMorning;
    m.files = files;
    return writeManifest(m);
}

int runInChild(const std::function<int()> &body)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

} // namespace

TEST(SafetyCopies, NamesCarryDateAndTime)
{
    EXPECT_EQ(copyFileName(kMorning), "Velmora 2026-12-08 10.55.zip");
    EXPECT_EQ(copyFileName({2027, 1, 2, 3, 4}, 3), "Velmora 2027-01-02 03.04 (3).zip");
    EXPECT_EQ(parseCopyFileName("Velmora 2026-12-08 10.55.zip"), kMorning);
    EXPECT_EQ(parseCopyFileName("Velmora 2026-12-08 10.55 (2).ZIP"), kMorning);
    for (const char *other : {"Velmora 2026-12-08 10.55.zip.1234-0.new", "Velmora 2026-13-08 10.55.zip",
                              "Velmora 2026-12-08 24.00.zip", "Velmora 2026-12-08 10.55 (1).zip",
                              "Velmora 2026-12-08 10.55 (x).zip", "velmora 2026-12-08 10.55.zip", "Velmora.zip"})
        EXPECT_FALSE(parseCopyFileName(other)) << other;
}

TEST(SafetyCopies, SizesAsTheListShowsThem)
{
    EXPECT_EQ(copySizeText(0), "0 byte");
    EXPECT_EQ(copySizeText(1023), "1023 byte");
    EXPECT_EQ(copySizeText(1024), "1 KB");
    EXPECT_EQ(copySizeText(1025), "2 KB");
    EXPECT_EQ(copySizeText(1024 * 1024 - 1), "1024 KB");
    EXPECT_EQ(copySizeText(1024 * 1024), "1,0 MB");
    EXPECT_EQ(copySizeText(3355443), "3,2 MB");
    EXPECT_EQ(copySizeText(1024 * 1024 * 10 - 1), "10,0 MB");
}

TEST(SafetyCopies, OnlyTheProgramsFilesBelongInACopy)
{
    for (const char *name : {"Anagrafica.pro", "Materiali.pro", "unins000.dll", "Camera 1.for", "x.FOR",
                             "Conti chiusi/2025/Rossi (chiuso il 01-02-2025).for"})
        EXPECT_TRUE(isProgramFileName(name)) << name;
    for (const char *name :
         {"", ".for", "../Camera.for", "/etc/passwd", "/Camera.for", "a/../Camera.for", "Conti chiusi/../Camera.for",
          "Conti chiusi/25/x.for", "Conti chiusi/2025/x.txt", "Conti chiusi/2025/sub/x.for", "Conti chiusi//x.for",
          "anagrafica.pro", "Velmora", "..\\Camera.for", "Conti chiusi/2025/", "./Camera.for", "Anagrafica.tmp"})
        EXPECT_FALSE(isProgramFileName(name)) << name;
}

TEST(SafetyCopies, ManifestReadsBackAndRefusesAnyDamage)
{
    Manifest m;
    m.time = kEvening;
    m.kind = CopyKind::Automatic;
    m.files = {entryFor("Anagrafica.pro", std::string(3992 * 2, 'c'), 3992),
               entryFor("Caffè %1 100.for", std::string(785, 'b'), 785),
               entryFor(std::string("Tavolo\n\x01\xe8.for"), "", 785)};
    const std::string text = writeManifest(m);
    const auto back = parseManifest(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, m);
    EXPECT_EQ(back->openBills(), 2u);
    EXPECT_EQ(back->recordsOf("Anagrafica.pro"), 2u);

    const auto damaged = [&](const std::string &from, const std::string &to) {
        std::string t = text;
        const auto at = t.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        t.replace(at, from.size(), to);
        return parseManifest(t).has_value();
    };
    EXPECT_FALSE(damaged("Velmora copia", "Velmora copie"));
    EXPECT_FALSE(damaged("Versione=1", "Versione=2"));
    EXPECT_FALSE(damaged("19.05", "19.65"));
    EXPECT_FALSE(damaged("automatica", "altra"));
    EXPECT_FALSE(damaged("Fine=3", "Fine=2"));
    EXPECT_FALSE(damaged("Fine=3\n", "Fine=3"));
    EXPECT_FALSE(damaged("File=7984 2 ", "File=7984x 2 "));
    EXPECT_FALSE(damaged(m.files[0].sha256, m.files[0].sha256.substr(1)));
    EXPECT_FALSE(damaged("Anagrafica.pro", "../Anagrafica.pro"));
    EXPECT_FALSE(damaged("Anagrafica.pro", "Tavolo%0A%01%E8.for")); // a name twice
    EXPECT_FALSE(damaged("%25", "%Z5"));
    EXPECT_FALSE(damaged("Fine=3\n", "Fine=3\nFile=0 0 x Camera.for\n"));
}

TEST(SafetyCopies, CopyAndRestoreRoundTripByteForByte)
{
    TempFolder program;
    TempFolder copies;
    TempFolder before;
    fillFolder(program.path(), 1);
    const auto original = data(program.path());
    ASSERT_EQ(original.size(), 8u);

    const CopyResult made = makeCopy(program.path(), copies.path(), kMorning, CopyKind::Manual);
    ASSERT_EQ(made.outcome, CopyResult::Outcome::Made);
    EXPECT_EQ(made.path, copies / "Velmora 2026-12-08 10.55.zip");
    // Only the copy is left in the folder, nothing under a temporary name.
    EXPECT_EQ(everything(copies.path()).size(), 1u);
    const auto listed = listCopies(copies.path());
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].time, kMorning);
    EXPECT_EQ(listed[0].openBills, 3u);
    EXPECT_EQ(listed[0].closedBills, 2u);
    EXPECT_EQ(listed[0].size, fs::file_size(made.path));
    EXPECT_EQ(made.manifest.recordsOf("Anagrafica.pro"), 3u);
    EXPECT_EQ(made.manifest.recordsOf("Camera 12.for"), 4u);

    // Files that only look like copies are not listed, and a FIFO never holds the listing.
    put(copies / "Velmora 2026-01-01 00.00.zip", "not a zip");
    ASSERT_EQ(::mkfifo((copies / "Velmora 2026-01-02 00.00.zip").c_str(), 0600), 0);
    EXPECT_EQ(listCopies(copies.path()).size(), 1u);
    fs::remove(copies / "Velmora 2026-01-01 00.00.zip");
    fs::remove(copies / "Velmora 2026-01-02 00.00.zip");

    // A second copy in the same minute gets a name of its own.
    EXPECT_EQ(makeCopy(program.path(), copies.path(), kMorning, CopyKind::Manual).path,
              copies / "Velmora 2026-12-08 10.55 (2).zip");

    // The data changes: archives rewritten, a bill added, a closed bill gone, the password changed.
    put(program / "Anagrafica.pro", bytesOf(3992, 9));
    put(program / "Nuovo.for", bytesOf(785, 10));
    fs::remove(program / "Conti chiusi" / "2025" / "Rossi (chiuso il 02-03-2025).for");
    put(program / "unins000.dll", "[Accesso]\r\nValore=00\r\n");
    put(program / "Note.txt", "not the program's");
    const auto changed = data(program.path());

    // Without a copy of the data it would replace, a restore does not start.
    EXPECT_EQ(restoreCopy(program.path(), made.path, before / "tolta", kEvening).outcome,
              RestoreResult::Outcome::BackupFailed);
    EXPECT_EQ(data(program.path()), changed);

    const RestoreResult restored = restoreCopy(program.path(), made.path, before.path(), kEvening);
    ASSERT_EQ(restored.outcome, RestoreResult::Outcome::Restored);
    EXPECT_EQ(data(program.path()), original);
    EXPECT_EQ(readWholeFile(program / "Note.txt"), "not the program's"); // other files are left alone
    EXPECT_FALSE(fs::exists(program / kRestoreStaging));
    EXPECT_FALSE(fs::exists(program / kRestoreJournal));

    // The data replaced went first into a copy of its own, which undoes the restore.
    ASSERT_EQ(restored.backup.outcome, CopyResult::Outcome::Made);
    const auto undo = listCopies(before.path());
    ASSERT_EQ(undo.size(), 1u);
    EXPECT_EQ(undo[0].kind, CopyKind::BeforeRestore);
    TempFolder spare;
    ASSERT_EQ(restoreCopy(program.path(), undo[0].path, spare.path(), kEvening).outcome,
              RestoreResult::Outcome::Restored);
    EXPECT_EQ(data(program.path()), changed);
}

TEST(SafetyCopies, RestoredFilesKeepTheModeOfTheFilesTheyReplace)
{
    TempFolder program;
    TempFolder copies;
    fillFolder(program.path(), 2);
    const CopyResult made = makeCopy(program.path(), copies.path(), kMorning, CopyKind::Manual);
    ASSERT_EQ(made.outcome, CopyResult::Outcome::Made);
    ASSERT_EQ(::chmod((program / "Materiali.pro").c_str(), 0640), 0);
    ASSERT_EQ(restoreCopy(program.path(), made.path, copies.path(), kEvening).outcome,
              RestoreResult::Outcome::Restored);
    struct stat st
    {
    };
    ASSERT_EQ(::stat((program / "Materiali.pro").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// An archive the user made a link, to another disk or beside, stays a link, and the restored
// data lie in the file it leads to.
TEST(SafetyCopies, ARestoreKeepsLinkedArchivesLinks)
{
    TempFolder program;
    TempFolder copies;
    TempFolder sameDisk;
    OtherDevice otherDisk;
    ASSERT_FALSE(otherDisk.path().empty());
    fillFolder(program.path(), 3);
    const auto original = data(program.path());
    const CopyResult made = makeCopy(program.path(), copies.path(), kMorning, CopyKind::Manual);
    ASSERT_EQ(made.outcome, CopyResult::Outcome::Made);

    const fs::path clients = sameDisk / "Anagrafica.pro";
    const fs::path products = otherDisk.path() / "Materiali.pro";
    put(clients, bytesOf(3992, 20));
    put(products, bytesOf(5170, 21));
    ASSERT_EQ(::chmod(products.c_str(), 0640), 0);
    fs::remove(program / "Anagrafica.pro");
    fs::remove(program / "Materiali.pro");
    fs::create_symlink(clients, program / "Anagrafica.pro");
    fs::create_symlink(products, program / "Materiali.pro");

    ASSERT_EQ(restoreCopy(program.path(), made.path, copies.path(), kEvening).outcome,
              RestoreResult::Outcome::Restored);
    EXPECT_TRUE(data(program.path()) == original);
    EXPECT_TRUE(fs::is_symlink(program / "Anagrafica.pro"));
    EXPECT_TRUE(fs::is_symlink(program / "Materiali.pro"));
    EXPECT_TRUE(readWholeFile(clients) == original.at("Anagrafica.pro"));
    EXPECT_TRUE(readWholeFile(products) == original.at("Materiali.pro"));
    struct stat st
    {
    };
    ASSERT_EQ(::stat(products.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // Nothing left beside the files the links lead to.
    EXPECT_EQ(everything(sameDisk.path()).size(), 1u);
    EXPECT_EQ(everything(otherDisk.path()).size(), 1u);
    EXPECT_FALSE(fs::exists(program / kRestoreStaging));
}

TEST(SafetyCopies, AFullDiskWhileCopyingLeavesNothingBehind)
{
    TempFolder program;
    TempFolder copies;
    fillFolder(program.path(), 3);
    const auto original = everything(program.path());
    TempFolder probe;
    const CopyResult whole = makeCopy(program.path(), probe.path(), kMorning, CopyKind::Manual);
    ASSERT_EQ(whole.outcome, CopyResult::Outcome::Made);
    const auto size = static_cast<rlim_t>(fs::file_size(whole.path));
    // A child with a file size limit stands for a full stick: the write stops at any point.
    for (rlim_t limit : {rlim_t{1}, rlim_t{512}, size / 3, size / 2, size - 1}) {
        const int status = runInChild([&] {
            std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit l
            {
            };
            l.rlim_cur = l.rlim_max = limit;
            ::setrlimit(RLIMIT_FSIZE, &l);
            return makeCopy(program.path(), copies.path(), kMorning, CopyKind::Manual).outcome ==
                           CopyResult::Outcome::DestinationError
                       ? 0
                       : 1;
        });
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << limit;
        EXPECT_TRUE(everything(copies.path()).empty()) << limit;
    }
    EXPECT_EQ(everything(program.path()), original);
    // A folder that is gone (a stick pulled out) is told too.
    EXPECT_EQ(makeCopy(program.path(), copies / "tolta", kMorning, CopyKind::Manual).outcome,
              CopyResult::Outcome::DestinationError);
}

TEST(SafetyCopies, HostileCopiesAreRefusedAndNothingChanges)
{
    TempFolder program;
    TempFolder copies;
    TempFolder before;
    fillFolder(program.path(), 4);
    const auto original = everything(program.path());

    const std::string bill(785 * 2, 'q');
    const std::string good = manifestFor({entryFor("Camera.for", bill, 785)});
    const std::string big(3 << 20, '\0');
    struct Case
    {
        const char *what;
        std::string zip;
        Refusal refusal;
    };
    const std::vector<Case> cases = {
        {"climbing path", zipOf({{kManifestName, good}, {"Camera.for", bill}, {"../Camera.for", bill}}),
         Refusal::Unsafe},
        {"climbing within", zipOf({{kManifestName, good}, {"Conti chiusi/../../x.for", bill}}), Refusal::Unsafe},
        {"absolute path", zipOf({{kManifestName, good}, {"/tmp/Camera.for", bill}}), Refusal::Unsafe},
        {"link", zipOf({{kManifestName, good}, {"Camera.for", "/etc/passwd", S_IFLNK}}), Refusal::Unsafe},
        {"folder entry", zipOf({{kManifestName, good}, {"Camera.for", bill}, {"Conti chiusi/", "", S_IFDIR}}),
         Refusal::Unsafe},
        {"foreign file", zipOf({{kManifestName, good}, {"Camera.for", bill}, {"autostart.sh", "rm -rf ~"}}),
         Refusal::Foreign},
        {"no manifest", zipOf({{"Camera.for", bill}}), Refusal::BadManifest},
        {"garbled manifest", zipOf({{kManifestName, good.substr(0, good.size() - 3)}, {"Camera.for", bill}}),
         Refusal::BadManifest},
        {"wrong checksum", zipOf({{kManifestName, good}, {"Camera.for", std::string(785 * 2, 'r')}}),
         Refusal::Mismatch},
        {"wrong size", zipOf({{kManifestName, good}, {"Camera.for", bill + "x"}}), Refusal::Mismatch},
        {"file missing", zipOf({{kManifestName, good}}), Refusal::Mismatch},
        {"file unlisted", zipOf({{kManifestName, good}, {"Camera.for", bill}, {"Altro.for", bill}}), Refusal::Mismatch},
        {"wrong record count",
         zipOf({{kManifestName, manifestFor({{"Camera.for", bill.size(), 3, sha256Hex(bill)}})}, {"Camera.for", bill}}),
         Refusal::Mismatch},
        {"zip bomb",
         zipOf({{kManifestName, manifestFor({entryFor("Materiali.pro", big, 5170)})}, {"Materiali.pro", big}}),
         Refusal::TooLarge},
        {"not a zip", bytesOf(4000, 5), Refusal::Unreadable},
    };
    // Small bounds, so that a bomb of a few megabytes stands for one of many gigabytes.
    const CopyLimits limits{1 << 20, 50};
    for (const Case &c : cases) {
        const fs::path copy = copies / "Velmora 2026-12-08 10.55.zip";
        put(copy, c.zip);
        const RestoreResult r = restoreCopy(program.path(), copy, before.path(), kEvening, limits);
        EXPECT_EQ(r.outcome, RestoreResult::Outcome::Refused) << c.what;
        EXPECT_EQ(r.refusal, c.refusal) << c.what;
        EXPECT_EQ(everything(program.path()), original) << c.what;
        EXPECT_TRUE(everything(before.path()).empty()) << c.what;
    }
    // The same copy without its hostile part is restored, so each refusal came from that part.
    const fs::path copy = copies / "Velmora 2026-12-08 10.55.zip";
    put(copy, zipOf({{kManifestName, good}, {"Camera.for", bill}}));
    EXPECT_EQ(restoreCopy(program.path(), copy, before.path(), kEvening, limits).outcome,
              RestoreResult::Outcome::Restored);
    EXPECT_EQ(data(program.path()), (std::map<std::string, std::string>{{"Camera.for", bill}}));
}

TEST(SafetyCopies, AKillDuringARestoreLeavesTheOldOrTheRestoredDataWhole)
{
    TempFolder program;
    TempFolder copies;
    TempFolder before;
    fillFolder(program.path(), 6);
    const CopyResult made = makeCopy(program.path(), copies.path(), kMorning, CopyKind::Manual);
    ASSERT_EQ(made.outcome, CopyResult::Outcome::Made);
    const auto restored = data(program.path());
    // The data to be replaced: different archives, a bill the copy does not hold, one closed bill fewer.
    const auto makeOld = [&] {
        put(program / "Anagrafica.pro", bytesOf(3992 * 7, 60));
        put(program / "Materiali.pro", bytesOf(5170, 61));
        put(program / "Extra.for", bytesOf(785 * 3, 62));
        fs::remove(program / "Conti chiusi" / "2025" / "Rossi (chiuso il 02-03-2025).for");
    };
    makeOld();
    const auto old = data(program.path());
    ASSERT_NE(old, restored);

    // How many file steps a restore takes.
    int steps = 0;
    {
        TempFolder scratch;
        fs::copy(program.path(), scratch.path(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        setCopyStepHook([&] { ++steps; });
        ASSERT_EQ(restoreCopy(scratch.path(), made.path, before.path(), kEvening).outcome,
                  RestoreResult::Outcome::Restored);
        setCopyStepHook({});
    }
    ASSERT_GT(steps, 10);

    installRestoreSettling();
    int oldSeen = 0;
    int restoredSeen = 0;
    const auto check = [&](const std::string &when) {
        // The next lock of the folder, in any program, settles what the kill left.
        {
            const FolderLock lock(program.path());
        }
        const auto now = data(program.path());
        EXPECT_TRUE(now == old || now == restored) << when;
        oldSeen += now == old;
        restoredSeen += now == restored;
        EXPECT_FALSE(fs::exists(program / kRestoreStaging)) << when;
        EXPECT_FALSE(fs::exists(program / kRestoreJournal)) << when;
        if (now == restored)
            makeOld();
    };
    // A kill at every step in turn.
    for (int k = 1; k <= steps; ++k) {
        const int status = runInChild([&] {
            int seen = 0;
            setCopyStepHook([&] {
                if (++seen == k)
                    ::raise(SIGKILL);
            });
            (void)restoreCopy(program.path(), made.path, before.path(), kEvening);
            return 0;
        });
        ASSERT_TRUE(WIFSIGNALED(status)) << k;
        check("step " + std::to_string(k));
    }
    // And at random moments.
    std::mt19937 rng(11);
    for (int round = 0; round < 15; ++round) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            (void)restoreCopy(program.path(), made.path, before.path(), kEvening);
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % 4000));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        check("round " + std::to_string(round));
    }
    FolderLock::setSettleHook(nullptr);
    EXPECT_GT(oldSeen, 0);
    EXPECT_GT(restoredSeen, 0);
}

TEST(SafetyCopies, AutomaticCopiesOncADayKeepingTheLastTen)
{
    TempFolder program;
    TempFolder copies;
    fillFolder(program.path(), 7);
    EXPECT_EQ(makeAutomaticCopy(program.path(), kMorning).outcome, AutomaticCopy::Outcome::NoFolder);
    EXPECT_TRUE(everything(copies.path()).empty());

    ASSERT_TRUE(setChosenCopyFolder(program.path(), copies.path()));
    EXPECT_EQ(chosenCopyFolder(program.path()), copies.path());
    ASSERT_EQ(makeCopy(program.path(), copies.path(), {2026, 11, 1, 9, 0}, CopyKind::Manual).outcome,
              CopyResult::Outcome::Made);
    EXPECT_EQ(makeAutomaticCopy(program.path(), kMorning).outcome, AutomaticCopy::Outcome::Made);
    EXPECT_EQ(makeAutomaticCopy(program.path(), kEvening).outcome, AutomaticCopy::Outcome::NotDue);
    EXPECT_EQ(SettingsFile(program / kCopySettingsFile).read(kCopySection, kCopyLastKey), "2026-12-08");
    for (int day = 9; day <= 20; ++day)
        ASSERT_EQ(makeAutomaticCopy(program.path(), {2026, 12, day, 18, 30}).outcome, AutomaticCopy::Outcome::Made);
    const auto listed = listCopies(copies.path());
    ASSERT_EQ(listed.size(), 11u);
    EXPECT_EQ(listed.front().time, (CopyTime{2026, 12, 20, 18, 30}));
    EXPECT_EQ(listed[9].time, (CopyTime{2026, 12, 11, 18, 30}));
    EXPECT_EQ(listed.back().kind, CopyKind::Manual); // a copy made by hand is never removed

    // A folder that is gone makes the copy fail, and the next end of the program tries again.
    fs::remove_all(copies.path());
    EXPECT_EQ(makeAutomaticCopy(program.path(), {2026, 12, 21, 8, 0}).outcome, AutomaticCopy::Outcome::Failed);
    fs::create_directory(copies.path());
    EXPECT_EQ(makeAutomaticCopy(program.path(), {2026, 12, 21, 9, 0}).outcome, AutomaticCopy::Outcome::Made);
}
