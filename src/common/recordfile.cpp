#include "common/recordfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "common/folderlock.h"
#include "common/safefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

using safefile::Fd;
using safefile::Links;

std::optional<off_t> fileSize(int fd)
{
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    return st.st_size;
}

// Archives may be links the user made (to another disk, say) and are followed; anything that
// is not a regular file, or is far larger than any archive could grow, is refused before a
// read could block or exhaust the memory.
int openArchive(const std::filesystem::path &path, int flags)
{
    return safefile::openRegular(path, flags, Links::Follow, kMaxArchiveBytes);
}

// Reading needs no write access, so a shared archive the user may only read still lists.
int openOrCreate(const std::filesystem::path &path, int flags = O_RDONLY)
{
    return safefile::openOrCreate(path, flags, Links::Follow, kMaxArchiveBytes);
}

} // namespace

RecordFile::RecordFile(std::filesystem::path path, std::size_t recordSize)
    : m_path(std::move(path)), m_recordSize(recordSize)
{
}

bool RecordFile::openForUse() const
{
    const FolderLock lock(m_path.parent_path(), FolderLock::Use::Read);
    if (!lock)
        return false;
    Fd fd(openOrCreate(m_path));
    return fd.valid() && fd.close();
}

std::optional<std::size_t> RecordFile::count() const
{
    const FolderLock lock(m_path.parent_path(), FolderLock::Use::Read);
    if (!lock)
        return std::nullopt;
    Fd fd(openOrCreate(m_path));
    if (!fd.valid())
        return std::nullopt;
    const auto size = fileSize(fd.get());
    if (!size || !fd.close())
        return std::nullopt;
    return static_cast<std::size_t>(*size) / m_recordSize;
}

bool RecordFile::read(std::size_t n, std::string &record) const
{
    const FolderLock lock(m_path.parent_path(), FolderLock::Use::Read);
    if (!lock)
        return false;
    Fd fd(openOrCreate(m_path));
    if (!fd.valid() || n == 0)
        return false;
    const auto size = fileSize(fd.get());
    if (!size || n > static_cast<std::size_t>(*size) / m_recordSize)
        return false;
    record.assign(m_recordSize, '\0');
    if (!safefile::readAt(fd.get(), record.data(), m_recordSize, static_cast<off_t>((n - 1) * m_recordSize)))
        return false;
    return fd.close();
}

bool RecordFile::readAll(std::vector<std::string> &records) const
{
    records.clear();
    const FolderLock lock(m_path.parent_path(), FolderLock::Use::Read);
    if (!lock)
        return false;
    if (const auto n = count())
        records.reserve(*n);
    // A read that fails half way gives no records, as a single read would.
    if (!forEach([&records](std::string_view record) { records.emplace_back(record); })) {
        records.clear();
        return false;
    }
    return true;
}

bool RecordFile::forEach(const std::function<void(std::string_view record)> &visit, std::size_t *records) const
{
    if (records)
        *records = 0;
    const FolderLock lock(m_path.parent_path(), FolderLock::Use::Read);
    if (!lock)
        return false;
    Fd fd(openOrCreate(m_path));
    if (!fd.valid())
        return false;
    const auto size = fileSize(fd.get());
    if (!size)
        return false;
    const std::size_t whole = static_cast<std::size_t>(*size) / m_recordSize;
    if (records)
        *records = whole;
    // About a quarter of a megabyte at a time, whatever the size of the archive.
    const std::size_t perBlock = std::max<std::size_t>(1, (std::size_t{1} << 18) / m_recordSize);
    std::string block(std::min(whole, perBlock) * m_recordSize, '\0');
    for (std::size_t at = 0; at < whole; at += perBlock) {
        const std::size_t n = std::min(perBlock, whole - at);
        if (!safefile::readAt(fd.get(), block.data(), n * m_recordSize, static_cast<off_t>(at * m_recordSize)))
            return false;
        const std::string_view read(block.data(), n * m_recordSize);
        for (std::size_t i = 0; i < n; ++i)
            visit(read.substr(i * m_recordSize, m_recordSize));
    }
    return fd.close();
}

bool findLastRecord(const RecordFile &file, const std::function<bool(std::string_view record)> &wanted,
                    std::optional<NumberedRecord> &found)
{
    found.reset();
    NumberedRecord last;
    std::size_t number = 0;
    const bool read = file.forEach([&](std::string_view record) {
        ++number;
        if (wanted(record)) {
            last.number = number;
            last.record.assign(record);
        }
    });
    if (read && last.number > 0)
        found = std::move(last);
    return read;
}

bool RecordFile::append(std::string_view record, std::size_t *number) const
{
    const FolderLock lock(m_path.parent_path());
    if (!lock)
        return false;
    if (record.size() != m_recordSize)
        return false;
    Fd fd(openOrCreate(m_path, O_RDWR));
    if (!fd.valid())
        return false;
    const auto size = fileSize(fd.get());
    if (!size)
        return false;
    const std::size_t whole = static_cast<std::size_t>(*size) / m_recordSize;
    // A trailing partial record is overwritten, so the new record lands on a record boundary.
    // A write that fails half way (a full disk) is cut off again, leaving the file as it was.
    if (!safefile::writeAt(fd.get(), record.data(), record.size(), static_cast<off_t>(whole * m_recordSize)) ||
        ::fsync(fd.get()) != 0) {
        if (::ftruncate(fd.get(), *size) == 0)
            ::fsync(fd.get());
        return false;
    }
    if (!fd.close())
        return false;
    if (number)
        *number = whole + 1;
    return true;
}

bool RecordFile::overwrite(std::size_t n, std::string_view record) const
{
    const FolderLock lock(m_path.parent_path());
    if (!lock)
        return false;
    if (record.size() != m_recordSize || n == 0)
        return false;
    Fd fd(openOrCreate(m_path, O_RDWR));
    if (!fd.valid())
        return false;
    const auto size = fileSize(fd.get());
    if (!size || n > static_cast<std::size_t>(*size) / m_recordSize)
        return false;
    if (!safefile::writeAt(fd.get(), record.data(), record.size(), static_cast<off_t>((n - 1) * m_recordSize)))
        return false;
    return ::fsync(fd.get()) == 0 && fd.close();
}

bool RecordFile::removeByCopy(std::string_view shownNumber, const std::filesystem::path &tempPath) const
{
    const FolderLock lock(m_path.parent_path());
    if (!lock)
        return false;
    Fd src(openArchive(m_path, O_RDWR));
    if (!src.valid())
        return false;
    struct stat st
    {
    };
    if (::fstat(src.get(), &st) != 0)
        return false;
    const std::size_t whole = static_cast<std::size_t>(st.st_size) / m_recordSize;

    // An archive the user made a link stays one: its records are copied beside the file it
    // points to, which the copy then replaces.
    const std::filesystem::path target = safefile::linkTarget(m_path);
    const std::filesystem::path temp = target == m_path ? tempPath : target.parent_path() / tempPath.filename();
    Fd tmp(safefile::createFresh(temp));
    if (!tmp.valid())
        return false;
    // The records are copied a block at a time, so a large archive needs no more memory than a
    // small one.
    const std::size_t perBlock = std::max<std::size_t>(1, (std::size_t{1} << 20) / m_recordSize);
    std::string block(std::min(whole, perBlock) * m_recordSize, '\0');
    std::string kept;
    kept.reserve(block.size());
    off_t written = 0;
    bool ok = true;
    for (std::size_t first = 0; ok && first < whole; first += perBlock) {
        const std::size_t n = std::min(perBlock, whole - first);
        ok = safefile::readAt(src.get(), block.data(), n * m_recordSize, static_cast<off_t>(first * m_recordSize));
        kept.clear();
        for (std::size_t i = 0; ok && i < n; ++i) {
            if (std::to_string(first + i + 1) != shownNumber)
                kept.append(block, i * m_recordSize, m_recordSize);
        }
        ok = ok && safefile::writeAt(tmp.get(), kept.data(), kept.size(), written);
        written += static_cast<off_t>(kept.size());
    }
    // The copy keeps the archive's mode and group, so a bill shared by a group stays shared.
    ok = ok && safefile::keepModeAndGroup(tmp.get(), st) && ::fsync(tmp.get()) == 0;
    ok = tmp.close() && ok;
    ok = src.close() && ok;
    if (ok)
        ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    return safefile::syncFolderOf(target);
}

RecordFile::Guarded RecordFile::overwriteIfUnchanged(std::size_t n, std::string_view expected,
                                                     std::string_view record) const
{
    const FolderLock lock(m_path.parent_path());
    if (!lock)
        return Guarded::FileError;
    std::string current;
    if (!read(n, current)) {
        // A record that is no longer there was removed by someone else.
        const auto total = count();
        return total && *total < n ? Guarded::Changed : Guarded::FileError;
    }
    if (current != expected)
        return Guarded::Changed;
    return overwrite(n, record) ? Guarded::Done : Guarded::FileError;
}

RecordFile::Guarded RecordFile::removeIfUnchanged(std::size_t n, std::string_view expected,
                                                  const std::filesystem::path &tempPath) const
{
    const FolderLock lock(m_path.parent_path());
    if (!lock)
        return Guarded::FileError;
    // A delete never creates the archive, as reading it for the check would.
    std::error_code missing;
    if (!std::filesystem::exists(m_path, missing))
        return Guarded::FileError;
    std::string current;
    if (!read(n, current)) {
        const auto total = count();
        return total && *total < n ? Guarded::Changed : Guarded::FileError;
    }
    if (current != expected)
        return Guarded::Changed;
    return removeByCopy(std::to_string(n), tempPath) ? Guarded::Done : Guarded::FileError;
}

std::optional<std::string> readWholeFile(const std::filesystem::path &path, std::uintmax_t maxSize,
                                         safefile::Links links)
{
    Fd fd(safefile::openRegular(path, O_RDONLY, links, maxSize));
    if (!fd.valid())
        return std::nullopt;
    const auto size = fileSize(fd.get());
    if (!size)
        return std::nullopt;
    std::string data(static_cast<std::size_t>(*size), '\0');
    if (!safefile::readAt(fd.get(), data.data(), data.size(), 0) || !fd.close())
        return std::nullopt;
    return data;
}

bool writeWholeFileAtomic(const std::filesystem::path &path, std::string_view data)
{
    // Written under a name no other process uses and renamed over the file, which two
    // processes writing at once can then only replace whole.
    std::filesystem::path temp;
    Fd fd(safefile::createUnique(path, temp));
    if (!fd.valid())
        return false;
    struct stat st
    {
    };
    bool ok = safefile::writeAt(fd.get(), data.data(), data.size(), 0);
    if (ok && ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        ok = safefile::keepModeAndGroup(fd.get(), st);
    ok = ok && ::fsync(fd.get()) == 0;
    ok = fd.close() && ok;
    if (ok)
        ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    return safefile::syncFolderOf(path);
}

} // namespace velmora
