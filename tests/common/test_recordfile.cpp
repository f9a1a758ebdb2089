#include <gtest/gtest.h>

#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include "bills/lockholder.h"
#include "common/recordfile.h"
#include "support/readonlyfolder.h"
#include "tempfolder.h"

using namespace velmora;

namespace {

constexpr std::size_t kSize = 8;

std::string rec(char c)
{
    return std::string(kSize, c);
}

std::string fileBytes(const std::filesystem::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::filesystem::path &p, const std::string &data)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << data;
}

} // namespace

TEST(RecordFile, OpenForUseCreatesAnEmptyFileOfTheGroup)
{
    TempFolder dir;
    const RecordFile file(dir / "Materiali.pro", kSize);
    EXPECT_EQ(file.count(), 0u);
    ASSERT_TRUE(std::filesystem::exists(dir / "Materiali.pro"));
    EXPECT_EQ(std::filesystem::file_size(dir / "Materiali.pro"), 0u);
    struct stat st
    {
    };
    ASSERT_EQ(::stat((dir / "Materiali.pro").c_str(), &st), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0660u & ~mask);
    std::vector<std::string> all{"stale"};
    EXPECT_TRUE(file.readAll(all));
    EXPECT_TRUE(all.empty());
}

TEST(RecordFile, AppendReadOverwriteAreByteExact)
{
    TempFolder dir;
    const RecordFile file(dir / "a.for", kSize);
    std::size_t n = 0;
    ASSERT_TRUE(file.append(rec('a'), &n));
    EXPECT_EQ(n, 1u);
    ASSERT_TRUE(file.append(rec('b'), &n));
    EXPECT_EQ(n, 2u);
    ASSERT_TRUE(file.overwrite(1, rec('c')));
    EXPECT_EQ(fileBytes(dir / "a.for"), rec('c') + rec('b'));
    std::string r;
    ASSERT_TRUE(file.read(2, r));
    EXPECT_EQ(r, rec('b'));
    EXPECT_FALSE(file.read(3, r));
    EXPECT_FALSE(file.read(0, r));
    EXPECT_FALSE(file.overwrite(3, rec('x')));
    EXPECT_FALSE(file.append("short"));
    EXPECT_EQ(fileBytes(dir / "a.for"), rec('c') + rec('b'));
}

TEST(RecordFile, TrailingPartialRecordIsIgnoredEverywhere)
{
    TempFolder dir;
    writeBytes(dir / "a.for", rec('a') + rec('b') + "xyz");
    const RecordFile file(dir / "a.for", kSize);
    EXPECT_EQ(file.count(), 2u);
    std::vector<std::string> all;
    ASSERT_TRUE(file.readAll(all));
    EXPECT_EQ(all, (std::vector<std::string>{rec('a'), rec('b')}));
    std::string r;
    EXPECT_FALSE(file.read(3, r));

    // An append lands on the record boundary, over the partial bytes.
    std::size_t n = 0;
    ASSERT_TRUE(file.append(rec('c'), &n));
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(fileBytes(dir / "a.for"), rec('a') + rec('b') + rec('c'));
}

TEST(RecordFile, DeleteByCopyKeepsOrderAndDropsPartialRecord)
{
    TempFolder dir;
    writeBytes(dir / "a.for", rec('1') + rec('2') + rec('3') + "zz");
    const RecordFile file(dir / "a.for", kSize);
    ASSERT_TRUE(file.removeByCopy("2", dir / "Conto.tmp"));
    EXPECT_EQ(fileBytes(dir / "a.for"), rec('1') + rec('3'));
    EXPECT_FALSE(std::filesystem::exists(dir / "Conto.tmp"));

    ASSERT_TRUE(file.removeByCopy("1", dir / "Conto.tmp"));
    ASSERT_TRUE(file.removeByCopy("1", dir / "Conto.tmp"));
    EXPECT_EQ(std::filesystem::file_size(dir / "a.for"), 0u);
}

TEST(RecordFile, DeleteComparesTheShownNumberAsText)
{
    TempFolder dir;
    writeBytes(dir / "a.for", rec('1') + rec('2'));
    const RecordFile file(dir / "a.for", kSize);
    // " 2" or "02" is not the decimal text of any record: nothing is dropped.
    ASSERT_TRUE(file.removeByCopy("02", dir / "Conto.tmp"));
    EXPECT_EQ(fileBytes(dir / "a.for"), rec('1') + rec('2'));
}

TEST(RecordFile, StaleTemporaryFileIsReplaced)
{
    TempFolder dir;
    writeBytes(dir / "Conto.tmp", "old garbage from a crash");
    writeBytes(dir / "b.for", rec('1') + rec('2'));
    const RecordFile file(dir / "b.for", kSize);
    ASSERT_TRUE(file.removeByCopy("1", dir / "Conto.tmp"));
    EXPECT_EQ(fileBytes(dir / "b.for"), rec('2'));
}

TEST(RecordFile, DeleteOfMissingArchiveFailsWithoutCreatingIt)
{
    TempFolder dir;
    const RecordFile file(dir / "none.pro", kSize);
    EXPECT_FALSE(file.removeByCopy("1", dir / "x.tmp"));
    EXPECT_EQ(file.removeIfUnchanged(1, rec('1'), dir / "x.tmp"), RecordFile::Guarded::FileError);
    EXPECT_FALSE(std::filesystem::exists(dir / "none.pro"));
}

TEST(RecordFile, FailedDeleteLeavesArchiveUntouched)
{
    TempFolder dir;
    writeBytes(dir / "a.pro", rec('1') + rec('2'));
    const RecordFile file(dir / "a.pro", kSize);
    // The temporary file cannot be created: its folder does not exist.
    EXPECT_FALSE(file.removeByCopy("1", dir / "missing" / "a.tmp"));
    EXPECT_EQ(fileBytes(dir / "a.pro"), rec('1') + rec('2'));
}

// A folder this process may not write (another user's, a read-only medium) holds no lock
// file of its own: its archives are still read, and nothing is written there, even into an
// archive whose own mode would let anyone write it.
TEST(RecordFile, ReadOnlyFolderIsReadButNeverWritten)
{
    TempFolder dir;
    writeBytes(dir / "a.pro", rec('1') + rec('2'));
    ::chmod((dir / "a.pro").c_str(), 0666);
    const RecordFile file(dir / "a.pro", kSize);
    {
        const test::ReadOnlyFolder readOnly(dir.path());
        ASSERT_TRUE(readOnly.active());
        EXPECT_EQ(file.count(), 2u);
        std::string r;
        EXPECT_TRUE(file.read(2, r));
        EXPECT_EQ(r, rec('2'));
        std::vector<std::string> all;
        EXPECT_TRUE(file.readAll(all));
        EXPECT_EQ(all, (std::vector<std::string>{rec('1'), rec('2')}));
        std::size_t visited = 0;
        EXPECT_TRUE(file.forEach([&visited](std::string_view) { ++visited; }));
        EXPECT_EQ(visited, 2u);

        EXPECT_FALSE(file.append(rec('3')));
        EXPECT_FALSE(file.overwrite(1, rec('x')));
        EXPECT_EQ(file.overwriteIfUnchanged(1, rec('1'), rec('x')), RecordFile::Guarded::FileError);
        EXPECT_EQ(file.removeIfUnchanged(1, rec('1'), dir / "a.tmp"), RecordFile::Guarded::FileError);
        // A missing archive cannot be created there, which is a file error.
        EXPECT_FALSE(RecordFile(dir / "none.pro", kSize).count().has_value());
        EXPECT_FALSE(FolderLock::busyInAction());
    }
    EXPECT_EQ(fileBytes(dir / "a.pro"), rec('1') + rec('2'));
    EXPECT_FALSE(std::filesystem::exists(dir / FolderLock::kLockFileName));
    EXPECT_FALSE(std::filesystem::exists(dir / "none.pro"));
}

// A lock file another user made, which this one may only read, still keeps a read from running
// into a workstation that is writing.
TEST(RecordFile, ReadInAReadOnlyFolderWaitsForAWriter)
{
    TempFolder dir;
    writeBytes(dir / "a.pro", rec('1'));
    const RecordFile file(dir / "a.pro", kSize);
    ASSERT_TRUE(file.append(rec('2'))); // makes the lock file, as a writer would
    ::chmod((dir / FolderLock::kLockFileName).c_str(), 0644);
    const test::ShortLockWait shortWait;
    test::LockHolder writer(dir.path());
    ASSERT_TRUE(writer.held());
    {
        const test::ReadOnlyFolder readOnly(dir.path());
        ASSERT_TRUE(readOnly.active());
        EXPECT_FALSE(file.count().has_value());
        EXPECT_TRUE(FolderLock::busyInAction());
        writer.release();
        EXPECT_EQ(file.count(), 2u);
        EXPECT_FALSE(file.append(rec('3')));
    }
    EXPECT_EQ(fileBytes(dir / "a.pro"), rec('1') + rec('2'));
}

TEST(RecordFile, WholeFileWriteIsAtomicAndKeepsPermissions)
{
    TempFolder dir;
    ASSERT_TRUE(writeWholeFileAtomic(dir / "s.ini", "one"));
    ::chmod((dir / "s.ini").c_str(), 0640);
    ASSERT_TRUE(writeWholeFileAtomic(dir / "s.ini", "two"));
    EXPECT_EQ(readWholeFile(dir / "s.ini"), std::optional<std::string>("two"));
    struct stat st
    {
    };
    ASSERT_EQ(::stat((dir / "s.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_FALSE(std::filesystem::exists(dir / "s.ini.new"));
    EXPECT_FALSE(readWholeFile(dir / "absent").has_value());
}
