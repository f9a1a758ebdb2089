#pragma once

#include <cerrno>
#include <chrono>
#include <filesystem>

#include <sys/wait.h>
#include <unistd.h>

#include "common/folderlock.h"

// Another workstation holding the folder lock: a child process takes the lock and keeps it
// until released (or until this process ends), so a screen's own attempt must time out (see
// ShortLockWait below, which keeps that wait short).
namespace velmora::test {

class LockHolder
{
public:
    explicit LockHolder(const std::filesystem::path &folder)
    {
        int ready[2];
        int release[2];
        if (::pipe(ready) != 0)
            return;
        if (::pipe(release) != 0) {
            ::close(ready[0]);
            ::close(ready[1]);
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            const FolderLock lock(folder, std::chrono::milliseconds(2000));
            const char held = lock ? '1' : '0';
            if (::write(ready[1], &held, 1) == 1) {
                char c;
                while (::read(release[0], &c, 1) < 0 && errno == EINTR) {
                }
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        m_release = release[1];
        char held = '0';
        m_held = m_pid > 0 && ::read(ready[0], &held, 1) == 1 && held == '1';
        ::close(ready[0]);
    }
    ~LockHolder() { release(); }
    LockHolder(const LockHolder &) = delete;
    LockHolder &operator=(const LockHolder &) = delete;

    bool held() const { return m_held; }

    void release()
    {
        if (m_release >= 0) {
            ::close(m_release);
            m_release = -1;
        }
        if (m_pid > 0) {
            int status = 0;
            ::waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
    }

private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_held = false;
};

// While it lives, the locks this process takes without a timeout of their own give up after a
// short wait, so a test facing a held lock is not kept waiting for the program's real wait.
class ShortLockWait
{
public:
    explicit ShortLockWait(std::chrono::milliseconds wait = std::chrono::milliseconds(50))
        : m_saved(FolderLock::defaultTimeout())
    {
        FolderLock::setDefaultTimeout(wait);
    }
    ~ShortLockWait() { FolderLock::setDefaultTimeout(m_saved); }
    ShortLockWait(const ShortLockWait &) = delete;
    ShortLockWait &operator=(const ShortLockWait &) = delete;

private:
    std::chrono::milliseconds m_saved;
};

} // namespace velmora::test
