#pragma once

#include <chrono>
#include <filesystem>

// An advisory lock over the archives of one program folder, so that two programs working on
// the same folder (a shared network folder, two sessions) never interleave their file steps.
// The lock lives on a hidden file of its own, so it survives the rename of a delete by copy,
// and it is a POSIX record lock, which network file systems carry to the server.
// Taking it again in the same process while held only counts a level.
namespace velmora {

class FolderLock
{
public:
    // Waits for another program to release the lock for at most defaultTimeout().
    explicit FolderLock(const std::filesystem::path &folder);
    FolderLock(const std::filesystem::path &folder, std::chrono::milliseconds timeout);
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    // False when the lock could not be had in time: the operation must not go on.
    explicit operator bool() const { return m_held; }
    // Whether the lock was refused because another program held it for the whole wait, rather
    // than because the lock file could not be made.
    bool timedOut() const { return m_timedOut; }

    static constexpr const char *kLockFileName = ".velmora.lock";

    // The wait of every lock taken without a timeout of its own: five seconds, long enough for
    // another workstation to finish one file step. Only tests change it, so that a lock held by
    // another process is refused after a short wait instead of the real one; the program never does.
    static std::chrono::milliseconds defaultTimeout();
    static void setDefaultTimeout(std::chrono::milliseconds timeout);

private:
    std::filesystem::path m_folder;
    bool m_held = false;
    bool m_timedOut = false;
};

} // namespace velmora
