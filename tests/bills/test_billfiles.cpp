#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "bills/billfiles.h"
#include "bills/lockholder.h"
#include "common/folderlock.h"
#include "common/tempfolder.h"

using namespace velmora;
using Outcome = BillCreation::Outcome;

namespace {

void touch(const std::filesystem::path &p)
{
    std::ofstream out(p, std::ios::binary);
}

// The folder's entries apart from the folder lock's own file.
std::vector<std::string> entriesOf(const std::filesystem::path &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename() != FolderLock::kLockFileName)
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(BillCreation, CreatesAnEmptyFileUnderTheCleanedName)
{
    TempFolder dir;
    const BillCreation created = createBill(dir.path(), "  Camera 12: Rossi|Bianchi ");
    ASSERT_EQ(created.outcome, Outcome::Created);
    EXPECT_EQ(created.name, "Camera 12  Rossi Bianchi");
    EXPECT_EQ(created.path, dir / "Camera 12  Rossi Bianchi.for");
    EXPECT_EQ(std::filesystem::file_size(created.path), 0u);
    EXPECT_EQ(entriesOf(dir.path()), std::vector<std::string>{"Camera 12  Rossi Bianchi.for"});

    // A Windows-1252 name is stored as UTF-8 on disk.
    EXPECT_EQ(createBill(dir.path(), "Caff\xe8").outcome, Outcome::Created);
    EXPECT_TRUE(std::filesystem::exists(dir / "Caff\xc3\xa8.for"));
}

TEST(BillCreation, ANameOfBlanksOrForbiddenCharactersIsNoName)
{
    TempFolder dir;
    for (const char *typed : {"", "   ", "\\/:*?\"<>|", " : * "})
        EXPECT_EQ(createBill(dir.path(), typed).outcome, Outcome::NoName) << typed;
    EXPECT_TRUE(entriesOf(dir.path()).empty());
}

TEST(BillCreation, AnExistingNameInAnyLetterCaseIsRefused)
{
    TempFolder dir;
    touch(dir / "conto rossi.for");
    touch(dir / "CAFF\xc3\x88.FOR");
    for (const char *typed : {"conto rossi", "Conto Rossi", "CONTO ROSSI", " conto rossi ", "caff\xe8", "Caff\xe8"}) {
        const BillCreation created = createBill(dir.path(), typed);
        EXPECT_EQ(created.outcome, Outcome::Exists) << typed;
    }
    EXPECT_EQ(entriesOf(dir.path()), (std::vector<std::string>{"CAFF\xc3\x88.FOR", "conto rossi.for"}));
    // A different name still goes through.
    EXPECT_EQ(createBill(dir.path(), "Conto Verdi").outcome, Outcome::Created);
}

TEST(BillCreation, ALinkInThePlaceOfTheFileIsNotFollowed)
{
    TempFolder dir;
    std::filesystem::create_directory(dir / "elsewhere");
    std::filesystem::create_symlink(dir / "elsewhere" / "target", dir / "Conto.for");
    EXPECT_EQ(createBill(dir.path(), "Conto").outcome, Outcome::Exists);
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere" / "target"));
}

TEST(BillCreation, ANameTheFileSystemCannotHoldIsTooLong)
{
    TempFolder dir;
    EXPECT_EQ(createBill(dir.path(), std::string(252, 'a')).outcome, Outcome::TooLong);
    // Each accented letter takes two bytes on disk.
    EXPECT_EQ(createBill(dir.path(), std::string(130, '\xe8')).outcome, Outcome::TooLong);
    EXPECT_TRUE(entriesOf(dir.path()).empty());
    EXPECT_EQ(createBill(dir.path(), std::string(251, 'a')).outcome, Outcome::Created);
}

TEST(BillCreation, AFolderThatCannotBeUsedIsAFileError)
{
    TempFolder dir;
    EXPECT_EQ(createBill(dir / "mancante", "Conto").outcome, Outcome::FileError);
    EXPECT_FALSE(std::filesystem::exists(dir / "mancante"));
    {
        const test::ShortLockWait shortWait;
        test::LockHolder other(dir.path());
        ASSERT_TRUE(other.held());
        EXPECT_EQ(createBill(dir.path(), "Conto").outcome, Outcome::FileError);
    }
    EXPECT_TRUE(entriesOf(dir.path()).empty());
}

TEST(BillDeletion, DeletesTheBillAndOnlyIt)
{
    TempFolder dir;
    touch(dir / "a.for");
    touch(dir / "b.for");
    EXPECT_EQ(deleteBill(dir.path(), dir / "b.for"), BillDeletion::Deleted);
    EXPECT_EQ(entriesOf(dir.path()), std::vector<std::string>{"a.for"});
    // Gone already (another workstation deleted it): nothing left to do.
    EXPECT_EQ(deleteBill(dir.path(), dir / "b.for"), BillDeletion::Deleted);
}

TEST(BillDeletion, KeepsTheBillWhileAnotherWorkstationHoldsTheFolder)
{
    TempFolder dir;
    touch(dir / "a.for");
    {
        const test::ShortLockWait shortWait;
        test::LockHolder other(dir.path());
        ASSERT_TRUE(other.held());
        EXPECT_EQ(deleteBill(dir.path(), dir / "a.for"), BillDeletion::FileError);
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "a.for"));
}

TEST(BillDeletion, AFolderClosedToWritingKeepsItsBills)
{
    TempFolder dir;
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    std::filesystem::create_directory(dir / "chiusa");
    touch(dir / "chiusa" / "c.for");
    ASSERT_TRUE(FolderLock(dir / "chiusa")); // the lock's file exists before the folder closes
    ::chmod((dir / "chiusa").c_str(), 0500);
    EXPECT_EQ(deleteBill(dir / "chiusa", dir / "chiusa" / "c.for"), BillDeletion::FileError);
    EXPECT_TRUE(std::filesystem::exists(dir / "chiusa" / "c.for"));
    ::chmod((dir / "chiusa").c_str(), 0700);
}
