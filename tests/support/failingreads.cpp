#include "support/failingreads.h"

#include <cerrno>
#include <climits>
#include <string>

#include <sys/syscall.h>
#include <unistd.h>

namespace {

std::string g_file; // canonical path of the failing file; empty when none
off_t g_from = 0;
int g_failed = 0;

bool fails(int fd, off_t offset)
{
    if (g_file.empty() || offset < g_from)
        return false;
    char target[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target);
    return n > 0 && std::string(target, static_cast<std::size_t>(n)) == g_file;
}

ssize_t positionedRead(int fd, void *buffer, size_t count, off_t offset)
{
    if (fails(fd, offset)) {
        ++g_failed;
        errno = EIO;
        return -1;
    }
    return static_cast<ssize_t>(::syscall(SYS_pread64, fd, buffer, count, offset));
}

} // namespace

// The program's reads reach these before the C library's own.
extern "C" ssize_t pread(int fd, void *buffer, size_t count, off_t offset)
{
    return positionedRead(fd, buffer, count, offset);
}

extern "C" ssize_t pread64(int fd, void *buffer, size_t count, off64_t offset)
{
    return positionedRead(fd, buffer, count, offset);
}

namespace velmora::test {

FailingReads::FailingReads(const std::filesystem::path &file, off_t from)
{
    g_file = std::filesystem::canonical(file).string();
    g_from = from;
    g_failed = 0;
}

FailingReads::~FailingReads()
{
    g_file.clear();
}

int FailingReads::failed() const
{
    return g_failed;
}

} // namespace velmora::test
