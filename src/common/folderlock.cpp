#include "common/folderlock.h"

#include <cerrno>
#include <map>

#include <fcntl.h>
#include <unistd.h>

#include "common/safefile.h"

namespace velmora {

namespace {

struct Held
{
    int fd = -1;
    int depth = 0;
    pid_t owner = 0; // a forked child does not inherit its parent's lock
};

std::map<std::string, Held> &registry()
{
    static std::map<std::string, Held> r;
    return r;
}

std::string keyOf(const std::filesystem::path &folder)
{
    std::error_code ec;
    const auto canonical = std::filesystem::weakly_canonical(folder, ec);
    return (ec ? folder : canonical).string();
}

std::chrono::milliseconds g_defaultTimeout{5000};

bool tryLock(int fd)
{
    struct flock fl
    {
    };
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0;
    // Open-file-description locks are not dropped when another descriptor of the file closes.
    return ::fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

} // namespace

std::chrono::milliseconds FolderLock::defaultTimeout()
{
    return g_defaultTimeout;
}

void FolderLock::setDefaultTimeout(std::chrono::milliseconds timeout)
{
    g_defaultTimeout = timeout;
}

FolderLock::FolderLock(const std::filesystem::path &folder) : FolderLock(folder, defaultTimeout()) {}

FolderLock::FolderLock(const std::filesystem::path &folder, std::chrono::milliseconds timeout)
    : m_folder(folder.empty() ? std::filesystem::path(".") : folder)
{
    Held &held = registry()[keyOf(m_folder)];
    if (held.depth > 0 && held.owner != ::getpid())
        held = Held{};
    if (held.depth > 0) {
        ++held.depth;
        m_held = true;
        return;
    }
    const auto lockPath = m_folder / kLockFileName;
    // Shared by every user of the folder, so made with the group's access; something other
    // than a regular file in its place (a planted link, a FIFO) is replaced by a file.
    int fd = safefile::openOrCreate(lockPath, O_RDWR, safefile::Links::Refuse);
    if (fd < 0 && (errno == ELOOP || errno == safefile::kNotRegular))
        fd = safefile::createFresh(lockPath);
    if (fd < 0) {
        // On a read-only medium nobody can write, so reading needs no lock.
        m_held = errno == EROFS;
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (tryLock(fd))
            break;
        if (errno != EAGAIN && errno != EACCES && errno != EINTR) {
            ::close(fd);
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            m_timedOut = true;
            return;
        }
        ::usleep(10000); // another program holds the lock: look again shortly
    }
    held.fd = fd;
    held.depth = 1;
    held.owner = ::getpid();
    m_held = true;
}

FolderLock::~FolderLock()
{
    if (!m_held)
        return;
    auto it = registry().find(keyOf(m_folder));
    if (it == registry().end() || it->second.depth == 0)
        return;
    if (--it->second.depth == 0) {
        ::close(it->second.fd); // closing the description releases its lock
        registry().erase(it);
    }
}

} // namespace velmora
