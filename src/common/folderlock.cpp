#include "common/folderlock.h"

#include <algorithm>
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
    pid_t owner = 0;       // a forked child does not inherit its parent's lock
    bool writable = false; // taken on a lock file open for writing: writes may go on
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
// What the current user action may still wait, and whether one of its locks waited in vain.
std::chrono::steady_clock::duration g_actionLeft = g_defaultTimeout;
bool g_actionBusy = false;
FolderLock::SettleHook g_settleHook = nullptr;

bool tryLock(int fd, short type)
{
    struct flock fl
    {
    };
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0;
    // Open-file-description locks are not dropped when another descriptor of the file closes.
    return ::fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

// A folder this program may not write, or a read-only medium.
bool unwritableFolder(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

} // namespace

std::chrono::milliseconds FolderLock::defaultTimeout()
{
    return g_defaultTimeout;
}

void FolderLock::setDefaultTimeout(std::chrono::milliseconds timeout)
{
    g_defaultTimeout = timeout;
    newAction();
}

void FolderLock::newAction()
{
    g_actionLeft = g_defaultTimeout;
    g_actionBusy = false;
}

void FolderLock::setSettleHook(SettleHook hook)
{
    g_settleHook = hook;
}

bool FolderLock::busyInAction()
{
    return g_actionBusy;
}

FolderLock::FolderLock(const std::filesystem::path &folder, Use use)
    : m_folder(folder.empty() ? std::filesystem::path(".") : folder)
{
    take(g_actionLeft, true, use);
}

FolderLock::FolderLock(const std::filesystem::path &folder, std::chrono::milliseconds timeout, Use use)
    : m_folder(folder.empty() ? std::filesystem::path(".") : folder)
{
    take(timeout, false, use);
}

void FolderLock::take(std::chrono::steady_clock::duration wait, bool ofAction, Use use)
{
    Held &held = registry()[keyOf(m_folder)];
    if (held.depth > 0 && held.owner != ::getpid())
        held = Held{};
    if (held.depth > 0) {
        // Held already for reading only: a write inside it cannot go on.
        if (use == Use::Write && !held.writable)
            return;
        ++held.depth;
        m_counted = m_granted = true;
        return;
    }
    const auto lockPath = m_folder / kLockFileName;
    // Shared by every user of the folder, so made with the group's access; something other
    // than a regular file in its place (a planted link, a FIFO) is replaced by a file.
    int fd = safefile::openOrCreate(lockPath, O_RDWR, safefile::Links::Refuse);
    if (fd < 0 && (errno == ELOOP || errno == safefile::kNotRegular))
        fd = safefile::createFresh(lockPath);
    const bool writable = fd >= 0;
    if (!writable) {
        if (use == Use::Write || !unwritableFolder(errno))
            return;
        // A lock file that another user made can still be read, and a shared lock on it waits
        // for a workstation that is writing; without one, nothing here is being written by this
        // program, and the archives are read as they are.
        fd = safefile::openRegular(lockPath, O_RDONLY, safefile::Links::Refuse);
        if (fd < 0) {
            m_granted = true;
            return;
        }
    }
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + wait;
    for (;;) {
        if (tryLock(fd, writable ? F_WRLCK : F_RDLCK))
            break;
        if (errno != EAGAIN && errno != EACCES && errno != EINTR) {
            ::close(fd);
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            m_timedOut = true;
            if (ofAction) {
                g_actionLeft = std::chrono::steady_clock::duration::zero();
                g_actionBusy = true;
            }
            return;
        }
        ::usleep(10000); // another program holds the lock: look again shortly
    }
    if (ofAction)
        g_actionLeft = std::max(g_actionLeft - (std::chrono::steady_clock::now() - start),
                                std::chrono::steady_clock::duration::zero());
    held.fd = fd;
    held.depth = 1;
    held.owner = ::getpid();
    held.writable = writable;
    m_counted = m_granted = true;
    if (writable && g_settleHook)
        g_settleHook(m_folder);
}

FolderLock::~FolderLock()
{
    if (!m_counted)
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
