#include "common/safefile.h"

#include <cstdio>
#include <optional>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace velmora::safefile {

bool Fd::close()
{
    if (m_fd < 0)
        return true;
    const int rc = ::close(m_fd);
    m_fd = -1;
    return rc == 0;
}

namespace {

int openRetrying(const std::filesystem::path &path, int flags, mode_t mode = 0)
{
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int fail(int fd, int error)
{
    if (fd >= 0)
        ::close(fd);
    errno = error;
    return -1;
}

// A file already open: refused unless it is a regular file of at most maxSize bytes.
int checked(int fd, std::uintmax_t maxSize)
{
    if (fd < 0)
        return fd;
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0)
        return fail(fd, errno);
    if (!S_ISREG(st.st_mode))
        return fail(fd, kNotRegular);
    if (maxSize != 0 && static_cast<std::uintmax_t>(st.st_size) > maxSize)
        return fail(fd, kTooLarge);
    // Opened without blocking so that a FIFO could not hold the program; a regular file reads
    // and writes the same either way, but the flag is taken off all the same.
    const int fl = ::fcntl(fd, F_GETFL);
    if (fl < 0 || ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK) != 0)
        return fail(fd, errno);
    return fd;
}

int createExclusive(const std::filesystem::path &path, int flags)
{
    return openRetrying(path, (flags & O_ACCMODE) | O_CREAT | O_EXCL | O_NOFOLLOW, kNewFileMode);
}

} // namespace

int openRegular(const std::filesystem::path &path, int flags, Links links, std::uintmax_t maxSize)
{
    // A look before opening refuses a device or a FIFO without ever opening it.
    struct stat st
    {
    };
    const bool looked = links == Links::Follow ? ::stat(path.c_str(), &st) == 0 : ::lstat(path.c_str(), &st) == 0;
    if (looked) {
        if (links == Links::Refuse && S_ISLNK(st.st_mode))
            return fail(-1, ELOOP);
        if (!S_ISREG(st.st_mode))
            return fail(-1, kNotRegular);
    }
    const int nofollow = links == Links::Refuse ? O_NOFOLLOW : 0;
    return checked(openRetrying(path, (flags & O_ACCMODE) | O_NONBLOCK | nofollow), maxSize);
}

int openOrCreate(const std::filesystem::path &path, int flags, Links links, std::uintmax_t maxSize)
{
    // Another process may create or remove the file between the two steps; a few rounds settle it.
    for (int round = 0; round < 4; ++round) {
        int fd = openRegular(path, flags, links, maxSize);
        if (fd >= 0 || errno != ENOENT)
            return fd;
        fd = createExclusive(path, flags);
        if (fd >= 0 || errno != EEXIST)
            return checked(fd, 0);
        // EEXIST: created meanwhile, or a dangling link, which openRegular reports as missing.
        struct stat st
        {
        };
        if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && ::stat(path.c_str(), &st) != 0)
            return fail(-1, ELOOP);
    }
    return fail(-1, EAGAIN);
}

int createNew(const std::filesystem::path &path)
{
    return checked(createExclusive(path, O_RDWR), 0);
}

int createFresh(const std::filesystem::path &path)
{
    for (int round = 0; round < 4; ++round) {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT)
            return -1; // a folder, or a folder we may not change
        const int fd = createExclusive(path, O_RDWR);
        if (fd >= 0 || errno != EEXIST)
            return checked(fd, 0);
        // Planted again between the two steps: remove it again.
    }
    return fail(-1, EEXIST);
}

int createUnique(const std::filesystem::path &path, std::filesystem::path &name)
{
    static unsigned counter = 0;
    for (int round = 0; round < 100; ++round) {
        name = path;
        name += "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".new";
        const int fd = createExclusive(name, O_RDWR);
        if (fd >= 0 || errno != EEXIST)
            return checked(fd, 0);
    }
    return fail(-1, EEXIST);
}

bool keepModeAndGroup(int fd, const struct stat &st)
{
    // The group first: changing it may clear the set-group-ID bit, which the mode then restores.
    // Only the owner of a file, being in the group, or the superuser may change its group;
    // otherwise the new file keeps the group it was given, which in a shared folder set to
    // pass its group on (set-group-ID) is the folder's group anyway.
    if (::fchown(fd, static_cast<uid_t>(-1), st.st_gid) != 0 && errno != EPERM)
        return false;
    return ::fchmod(fd, st.st_mode & 07777) == 0;
}

std::filesystem::path linkTarget(const std::filesystem::path &path)
{
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec))
        return path;
    const auto target = std::filesystem::canonical(path, ec);
    return ec ? path : target;
}

bool writeAt(int fd, const char *data, std::size_t size, off_t offset)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

bool readAt(int fd, char *data, std::size_t size, off_t offset)
{
    while (size > 0) {
        const ssize_t n = ::pread(fd, data, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

bool syncFolderOf(const std::filesystem::path &path)
{
    std::filesystem::path folder = path.parent_path();
    if (folder.empty())
        folder = ".";
    Fd dir(openRetrying(folder, O_RDONLY | O_DIRECTORY));
    if (!dir.valid())
        return false;
    // Some file systems (network mounts) cannot sync a folder; the rename itself is still atomic.
    if (::fsync(dir.get()) != 0 && errno != EINVAL && errno != EROFS)
        return false;
    return dir.close();
}

namespace {

std::optional<std::string> readOpened(int fd)
{
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    std::string data(static_cast<std::size_t>(st.st_size), '\0');
    if (!readAt(fd, data.data(), data.size(), 0))
        return std::nullopt;
    return data;
}

bool failWith(int error)
{
    errno = error;
    return false;
}

} // namespace

bool copyThenRemove(const std::filesystem::path &from, const std::filesystem::path &to)
{
    Fd source(openRegular(from, O_RDONLY, Links::Follow));
    struct stat st
    {
    };
    if (!source.valid() || ::fstat(source.get(), &st) != 0)
        return false;
    const auto data = readOpened(source.get());
    if (!data || !source.close())
        return false;
    Fd copy(createNew(to));
    if (!copy.valid())
        return false;
    bool ok = writeAt(copy.get(), data->data(), data->size(), 0) && keepModeAndGroup(copy.get(), st) &&
              ::fsync(copy.get()) == 0;
    ok = copy.close() && ok;
    if (ok) {
        // What the other disk holds is read back before the original may go.
        Fd check(openRegular(to, O_RDONLY, Links::Refuse));
        const auto written = check.valid() ? readOpened(check.get()) : std::nullopt;
        ok = written && *written == *data;
        if (!ok && written)
            errno = EIO;
        ok = check.close() && ok;
    }
    ok = ok && syncFolderOf(to) && ::unlink(from.c_str()) == 0;
    if (!ok) {
        const int error = errno;
        ::unlink(to.c_str());
        (void)syncFolderOf(to);
        return failWith(error);
    }
    return syncFolderOf(from);
}

bool moveNoReplace(const std::filesystem::path &from, const std::filesystem::path &to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return syncFolderOf(to) && syncFolderOf(from);
    if (errno == EXDEV)
        return copyThenRemove(from, to);
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system that cannot rename without replacing: a second link never replaces either.
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno == EXDEV ? copyThenRemove(from, to) : false;
    if (::unlink(from.c_str()) != 0) {
        const int error = errno;
        ::unlink(to.c_str());
        return failWith(error);
    }
    return syncFolderOf(to) && syncFolderOf(from);
}

} // namespace velmora::safefile
