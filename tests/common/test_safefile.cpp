#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "bills/billfiles.h"
#include "common/folderlock.h"
#include "common/recordfile.h"
#include "common/safefile.h"
#include "common/settingsfile.h"
#include "tempfolder.h"

using namespace velmora;

namespace {

constexpr std::size_t kSize = 8;

std::string rec(char c)
{
    return std::string(kSize, c);
}

std::string bytesOf(const std::filesystem::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::filesystem::path &p, const std::string &data)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << data;
}

struct stat statOf(const std::filesystem::path &p)
{
    struct stat st
    {
    };
    EXPECT_EQ(::lstat(p.c_str(), &st), 0) << p;
    return st;
}

bool isLink(const std::filesystem::path &p)
{
    return std::filesystem::is_symlink(p);
}

// Sets the process's umask while it lives.
class Umask
{
public:
    explicit Umask(mode_t mask) : m_saved(::umask(mask)) {}
    ~Umask() { ::umask(m_saved); }

private:
    mode_t m_saved;
};

// A victim's private file that another user aims a planted link at.
struct Victim
{
    explicit Victim(const TempFolder &dir) : path(dir / "private" / "secret.txt")
    {
        std::filesystem::create_directory(dir / "private");
        writeBytes(path, "mine alone");
        ::chmod(path.c_str(), 0600);
    }
    void expectUntouched() const
    {
        EXPECT_EQ(bytesOf(path), "mine alone");
        EXPECT_EQ(statOf(path).st_mode & 07777, 0600u);
    }
    std::filesystem::path path;
};

} // namespace

// Someone who may write the folder plants the temporary name of a delete, the lock file or a
// missing archive as a link to another user's file: the program's step never writes there.
TEST(PlantedLinks, DeleteTemporaryLockAndNewArchiveNeverWriteThroughThem)
{
    TempFolder dir;
    const Victim victim(dir);
    writeBytes(dir / "Conto.for", rec('1') + rec('2') + rec('3'));
    ::chmod((dir / "Conto.for").c_str(), 0666);
    std::filesystem::create_symlink(victim.path, dir / "Conto.tmp");
    std::filesystem::create_symlink(victim.path, dir / FolderLock::kLockFileName);

    ASSERT_TRUE(RecordFile(dir / "Conto.for", kSize).removeByCopy("2", dir / "Conto.tmp"));
    victim.expectUntouched();
    EXPECT_FALSE(isLink(dir / "Conto.for"));
    EXPECT_EQ(bytesOf(dir / "Conto.for"), rec('1') + rec('3'));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir / "Conto.tmp")));
    // The lock file was replaced by a regular file of the folder's own.
    EXPECT_FALSE(isLink(dir / FolderLock::kLockFileName));
    EXPECT_TRUE(S_ISREG(statOf(dir / FolderLock::kLockFileName).st_mode));

    // A link planted where a missing archive would be created is a file error, and creates
    // nothing at its far end.
    std::filesystem::create_symlink(dir / "private" / "new.txt", dir / "Materiali.pro");
    EXPECT_FALSE(RecordFile(dir / "Materiali.pro", kSize).count().has_value());
    EXPECT_FALSE(std::filesystem::exists(dir / "private" / "new.txt"));
}

// A store that is a link is not the program's: it is refused for reading, and a change writes
// a new store in its place rather than through it.
TEST(PlantedLinks, PasswordStoreIsNeverReadOrWrittenThroughALink)
{
    TempFolder dir;
    const Victim victim(dir);
    std::filesystem::create_symlink(victim.path, dir / "unins000.dll");
    const SettingsFile store(dir / "unins000.dll");
    EXPECT_FALSE(store.readChecked("Accesso", "Valore").has_value());
    EXPECT_FALSE(store.write("Accesso", "Valore", "AB"));
    victim.expectUntouched();
    EXPECT_TRUE(isLink(dir / "unins000.dll"));
}

// A user may keep an archive on another disk behind a link: a delete keeps the link and
// rewrites the file it points to, leaving no temporary file in either folder.
TEST(ArchiveLink, DeleteKeepsTheLinkAndReplacesItsTarget)
{
    TempFolder dir;
    std::filesystem::create_directory(dir / "disk");
    writeBytes(dir / "disk" / "Anagrafica.pro", rec('a') + rec('b') + rec('c'));
    ::chmod((dir / "disk" / "Anagrafica.pro").c_str(), 0640);
    std::filesystem::create_symlink(dir / "disk" / "Anagrafica.pro", dir / "Anagrafica.pro");

    const RecordFile archive(dir / "Anagrafica.pro", kSize);
    ASSERT_TRUE(archive.removeByCopy("1", dir / "Anagrafica.tmp"));
    EXPECT_TRUE(isLink(dir / "Anagrafica.pro"));
    EXPECT_EQ(bytesOf(dir / "disk" / "Anagrafica.pro"), rec('b') + rec('c'));
    EXPECT_EQ(statOf(dir / "disk" / "Anagrafica.pro").st_mode & 07777, 0640u);
    EXPECT_FALSE(std::filesystem::exists(dir / "Anagrafica.tmp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "disk" / "Anagrafica.tmp"));
    // Writes go through the link as well.
    ASSERT_TRUE(archive.append(rec('d')));
    EXPECT_EQ(bytesOf(dir / "disk" / "Anagrafica.pro"), rec('b') + rec('c') + rec('d'));
}

class NewFileModes : public ::testing::TestWithParam<mode_t>
{
};

// Every file the program creates gets 0660 less the umask: a group sharing the folder can use
// it where the umask lets it, and others never read it by default.
TEST_P(NewFileModes, ArchiveBillLockAndStoreGet0660LessTheUmask)
{
    const mode_t mask = GetParam();
    const mode_t expected = 0660 & ~mask;
    TempFolder dir;
    const Umask umask(mask);

    ASSERT_EQ(RecordFile(dir / "Materiali.pro", kSize).count(), 0u);
    EXPECT_EQ(statOf(dir / "Materiali.pro").st_mode & 07777, expected);
    EXPECT_EQ(statOf(dir / FolderLock::kLockFileName).st_mode & 07777, expected);

    const BillCreation bill = createBill(dir.path(), "Rossi 12");
    ASSERT_EQ(bill.outcome, BillCreation::Outcome::Created);
    EXPECT_EQ(statOf(bill.path).st_mode & 07777, expected);

    ASSERT_TRUE(SettingsFile(dir / "unins000.dll").write("Accesso", "Valore", "AB"));
    EXPECT_EQ(statOf(dir / "unins000.dll").st_mode & 07777, expected);
}

INSTANTIATE_TEST_SUITE_P(Umasks, NewFileModes, ::testing::Values(mode_t{002}, mode_t{022}, mode_t{027}, mode_t{077}));

// A delete by copy and a rewrite of the store replace the file: the new one keeps the old
// one's mode and group, not the writer's defaults.
TEST(Replacement, KeepsModeAndGroupOfTheReplacedFile)
{
    TempFolder dir;
    const Umask umask(077);
    const gid_t otherGroup = ::getegid() == 65534 ? 65533 : 65534;
    writeBytes(dir / "Conto.for", rec('1') + rec('2'));
    writeBytes(dir / "unins000.dll", "[Accesso]\r\nValore=AB\r\n");
    for (const char *name : {"Conto.for", "unins000.dll"}) {
        if (::chown((dir / name).c_str(), static_cast<uid_t>(-1), otherGroup) != 0)
            GTEST_SKIP() << "this user cannot give a file another group";
        ::chmod((dir / name).c_str(), 02664);
    }

    ASSERT_TRUE(RecordFile(dir / "Conto.for", kSize).removeByCopy("1", dir / "Conto.tmp"));
    ASSERT_TRUE(SettingsFile(dir / "unins000.dll").write("Accesso", "Valore", "CD"));
    for (const char *name : {"Conto.for", "unins000.dll"}) {
        SCOPED_TRACE(name);
        const struct stat st = statOf(dir / name);
        EXPECT_EQ(st.st_gid, otherGroup);
        EXPECT_EQ(st.st_mode & 07777, 02664u);
    }
    EXPECT_EQ(bytesOf(dir / "Conto.for"), rec('2'));
    EXPECT_EQ(SettingsFile(dir / "unins000.dll").read("Accesso", "Valore"), "CD");
}

// Nothing the program opens can hold it: a FIFO, a folder or a device where a store or an
// archive belongs, or a file far larger than one could be, is refused at once.
TEST(NotARegularFile, StoreAndArchivesAreRefusedWithoutBlocking)
{
    TempFolder dir;
    ASSERT_EQ(::mkfifo((dir / "unins000.dll").c_str(), 0660), 0);
    ASSERT_EQ(::mkfifo((dir / "Conto.for").c_str(), 0660), 0);
    std::filesystem::create_directory(dir / "Anagrafica.pro");
    std::filesystem::create_symlink("/dev/zero", dir / "Materiali.pro");

    EXPECT_FALSE(SettingsFile(dir / "unins000.dll").readChecked("Accesso", "Valore").has_value());
    EXPECT_FALSE(SettingsFile(dir / "unins000.dll").write("Accesso", "Valore", "AB"));
    for (const char *name : {"Conto.for", "Anagrafica.pro", "Materiali.pro"}) {
        SCOPED_TRACE(name);
        const RecordFile archive(dir / name, kSize);
        std::vector<std::string> records;
        std::string record;
        EXPECT_FALSE(archive.count().has_value());
        EXPECT_FALSE(archive.readAll(records));
        EXPECT_FALSE(archive.read(1, record));
        EXPECT_FALSE(archive.append(rec('x')));
        EXPECT_FALSE(archive.removeByCopy("1", dir / "x.tmp"));
    }
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "unins000.dll"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "Conto.for"));

    std::filesystem::create_directory(dir / "store");
    std::filesystem::create_directory(dir / "store" / "unins000.dll");
    EXPECT_FALSE(SettingsFile(dir / "store" / "unins000.dll").readChecked("Accesso", "Valore").has_value());
}

TEST(NotARegularFile, AbsurdlyLargeFilesAreRefusedUnread)
{
    TempFolder dir;
    // Sparse files: they take no room on the disk.
    for (const auto &[name, size] :
         {std::pair<const char *, off_t>{"unins000.dll", off_t{1} << 20},
          std::pair<const char *, off_t>{"Conto.for", static_cast<off_t>(kMaxArchiveBytes) + 8}}) {
        const int fd = ::open((dir / name).c_str(), O_WRONLY | O_CREAT, 0660);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, size), 0);
        ::close(fd);
    }
    EXPECT_FALSE(SettingsFile(dir / "unins000.dll").readChecked("Accesso", "Valore").has_value());
    std::vector<std::string> records;
    EXPECT_FALSE(RecordFile(dir / "Conto.for", kSize).readAll(records));
    EXPECT_FALSE(RecordFile(dir / "Conto.for", kSize).count().has_value());
    // The largest archive that may be is read.
    ASSERT_EQ(::truncate((dir / "Conto.for").c_str(), static_cast<off_t>(kSize) * 3), 0);
    EXPECT_EQ(RecordFile(dir / "Conto.for", kSize).count(), 3u);
}

// Names of replacements are the process's own: a file planted at one is left alone and the
// next name is taken.
TEST(UniqueNames, APlantedNameIsSkippedAndLeftAlone)
{
    TempFolder dir;
    const Victim victim(dir);
    std::filesystem::path first;
    const int fd = safefile::createUnique(dir / "unins000.dll", first);
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_EQ(first.parent_path(), dir.path());
    EXPECT_EQ(statOf(first).st_mode & S_IFMT, static_cast<mode_t>(S_IFREG));
    std::filesystem::path second;
    const int again = safefile::createUnique(dir / "unins000.dll", second);
    ASSERT_GE(again, 0);
    ::close(again);
    EXPECT_NE(first, second);
    // createNew refuses what is there, a link included, and leaves it.
    std::filesystem::create_symlink(victim.path, dir / "planted");
    EXPECT_LT(safefile::createNew(dir / "planted"), 0);
    EXPECT_EQ(errno, EEXIST);
    victim.expectUntouched();
}

TEST(MoveNoReplace, WithinAFolderRenamesAndNeverReplaces)
{
    TempFolder dir;
    writeBytes(dir / "a", "primo");
    writeBytes(dir / "b", "secondo");
    EXPECT_FALSE(safefile::moveNoReplace(dir / "a", dir / "b"));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(bytesOf(dir / "a"), "primo");
    EXPECT_EQ(bytesOf(dir / "b"), "secondo");
    const ino_t inode = statOf(dir / "a").st_ino;
    EXPECT_TRUE(safefile::moveNoReplace(dir / "a", dir / "c"));
    EXPECT_FALSE(std::filesystem::exists(dir / "a"));
    EXPECT_EQ(statOf(dir / "c").st_ino, inode); // the same file, renamed
}

TEST(MoveNoReplace, AcrossDevicesCopiesVerifiesAndOnlyThenRemoves)
{
    TempFolder dir;
    const OtherDevice other;
    ASSERT_FALSE(other.path().empty());
    ASSERT_NE(statOf(dir.path()).st_dev, statOf(other.path()).st_dev);
    const std::string data(100000, 'x');
    writeBytes(dir / "Bar.for", data + "fine");
    ASSERT_EQ(::chmod((dir / "Bar.for").c_str(), 0640), 0);
    EXPECT_TRUE(safefile::moveNoReplace(dir / "Bar.for", other.path() / "Bar.for"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Bar.for"));
    EXPECT_EQ(bytesOf(other.path() / "Bar.for"), data + "fine");
    EXPECT_EQ(statOf(other.path() / "Bar.for").st_mode & 07777, 0640u);

    // A name taken on the other side: the original stays, the file there too.
    writeBytes(dir / "Bar.for", "nuovo");
    EXPECT_FALSE(safefile::moveNoReplace(dir / "Bar.for", other.path() / "Bar.for"));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(bytesOf(dir / "Bar.for"), "nuovo");
    EXPECT_EQ(bytesOf(other.path() / "Bar.for"), data + "fine");

    // A copy that cannot be made leaves the original as it was and no part of a copy.
    EXPECT_FALSE(safefile::copyThenRemove(dir / "Bar.for", other.path() / "manca" / "Bar.for"));
    EXPECT_EQ(bytesOf(dir / "Bar.for"), "nuovo");
}
