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
    // What the operation under the lock does. A folder or medium the program may not write
    // cannot hold a lock file; reading it goes on all the same (under a shared lock on the lock
    // file when one is there to read), writing does not.
    enum class Use { Write, Read };

    // Waits for another program to release the lock for what is left of the current user
    // action's wait (see newAction()).
    explicit FolderLock(const std::filesystem::path &folder, Use use = Use::Write);
    // Waits at most timeout, whatever the current action has waited already.
    FolderLock(const std::filesystem::path &folder, std::chrono::milliseconds timeout, Use use = Use::Write);
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    // False when the operation must not go on: the lock could not be had in time, or could not
    // be made for a write.
    explicit operator bool() const { return m_granted; }
    // Whether the lock was refused because another program held it for the whole wait, rather
    // than because the lock file could not be made.
    bool timedOut() const { return m_timedOut; }

    static constexpr const char *kLockFileName = ".velmora.lock";

    // The wait of one user action, however many file steps it takes: five seconds, long enough
    // for another workstation to finish what it is doing. Only tests change it, so that a lock
    // held by another process is refused after a short wait; the program never does. Changing
    // it begins a new action.
    static std::chrono::milliseconds defaultTimeout();
    static void setDefaultTimeout(std::chrono::milliseconds timeout);

    // A new user action begins: its locks may again wait defaultTimeout() in all. Once one of
    // them has waited in vain the others of the action only try, without waiting.
    static void newAction();
    // Whether a lock of the current action was refused because another program held the folder.
    static bool busyInAction();

    // Called with the folder each time this process takes the lock afresh (not for a level
    // taken again), so that work a crash left half way is completed before anything else.
    using SettleHook = void (*)(const std::filesystem::path &folder);
    static void setSettleHook(SettleHook hook);

private:
    void take(std::chrono::steady_clock::duration wait, bool ofAction, Use use);

    std::filesystem::path m_folder;
    bool m_granted = false;
    bool m_counted = false; // holds a level of the process's lock
    bool m_timedOut = false;
};

} // namespace velmora
