#include "bills/billfiles.h"

#include <cerrno>
#include <system_error>

#include <unistd.h>

#include "bills/billmove.h"
#include "bills/consumption.h"
#include "common/folderlock.h"
#include "common/safefile.h"

namespace velmora {

BillCreation createBill(const std::filesystem::path &folder, std::string_view typed)
{
    using Outcome = BillCreation::Outcome;
    BillCreation created;
    created.name = billNameFromInput(typed);
    if (created.name.empty())
        return {Outcome::NoName, {}, {}};
    if (!billFileNameFits(created.name)) {
        created.outcome = Outcome::TooLong;
        return created;
    }
    created.path = folder / billFileName(created.name);
    created.outcome = [&] {
        // The check and the creation are one step for every workstation sharing the folder, so
        // two of them cannot create the same bill under two letter cases.
        const FolderLock lock(folder);
        if (!lock)
            return Outcome::FileError;
        // A name that differs only in letter case would be a second file for the same bill on
        // other systems, so it counts as existing.
        if (existingBillFile(folder, created.name))
            return Outcome::Exists;
        // Created exclusively, so a link left where the file would go is refused too.
        const int fd = safefile::createNew(created.path);
        if (fd < 0)
            return errno == EEXIST ? Outcome::Exists : errno == ENAMETOOLONG ? Outcome::TooLong : Outcome::FileError;
        return ::close(fd) == 0 ? Outcome::Created : Outcome::FileError;
    }();
    return created;
}

BillDeletion deleteBill(const std::filesystem::path &folder, const std::filesystem::path &bill)
{
    // A move of consumptions left half way is finished first, so none is lost with the file.
    const SettledBills lock(folder);
    if (!lock)
        return BillDeletion::FileError;
    // A bill already gone (deleted from another workstation) is what was asked for.
    std::error_code ec;
    std::filesystem::remove(bill, ec);
    return ec ? BillDeletion::FileError : BillDeletion::Deleted;
}

BillDeletion deleteEmptyBill(const std::filesystem::path &folder, const std::filesystem::path &bill)
{
    const SettledBills lock(folder);
    if (!lock)
        return BillDeletion::FileError;
    std::error_code ec;
    const auto size = std::filesystem::file_size(bill, ec);
    if (ec)
        return ec == std::errc::no_such_file_or_directory ? BillDeletion::Deleted : BillDeletion::FileError;
    if (size != 0)
        return BillDeletion::NotEmpty;
    return deleteBill(folder, bill);
}

} // namespace velmora
