#pragma once

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include "common/folderlock.h"

// A second Unix user working in a program folder shared with the first, for whom a file the
// first user keeps to himself (mode 0600) cannot be read. The superuser, whom permissions do
// not bind, becomes the user nobody while this object lives, in a folder (and a folder lock)
// open to everyone as a group would share it; any other user closes the file to himself, which
// the system refuses with the same error. Either way opening the file fails with EACCES.
namespace velmora::test {

class SecondUser
{
public:
    SecondUser(const std::filesystem::path &folder, const std::filesystem::path &file) : m_folder(folder), m_file(file)
    {
        struct stat st
        {
        };
        if (::stat(folder.c_str(), &st) != 0)
            return;
        m_folderMode = st.st_mode & 07777;
        if (::stat(file.c_str(), &st) != 0)
            return;
        m_fileMode = st.st_mode & 07777;
        m_saved = true;
        if (::geteuid() != 0) {
            m_active = ::chmod(file.c_str(), 0) == 0;
            return;
        }
        {
            const FolderLock lock(folder); // its file exists before the other user comes
            if (!lock)
                return;
        }
        const auto lockFile = folder / FolderLock::kLockFileName;
        if (::chmod(folder.c_str(), 0777) != 0 || ::chmod(lockFile.c_str(), 0666) != 0 ||
            ::chmod(file.c_str(), 0600) != 0)
            return;
        if (::setegid(static_cast<gid_t>(kNobody)) != 0)
            return;
        if (::seteuid(kNobody) != 0) {
            (void)::setegid(0);
            return;
        }
        m_switched = true;
        m_active = true;
    }
    ~SecondUser() { leave(); }
    SecondUser(const SecondUser &) = delete;
    SecondUser &operator=(const SecondUser &) = delete;

    // Whether the file is now unreadable to this process.
    bool active() const { return m_active; }

    // Back to the first user, the folder and the file as they were.
    void leave()
    {
        if (m_switched) {
            (void)::seteuid(0);
            (void)::setegid(0);
            m_switched = false;
        }
        if (m_saved) {
            ::chmod(m_file.c_str(), m_fileMode);
            ::chmod(m_folder.c_str(), m_folderMode);
            m_saved = false;
        }
        m_active = false;
    }

private:
    static constexpr uid_t kNobody = 65534;
    std::filesystem::path m_folder;
    std::filesystem::path m_file;
    mode_t m_folderMode = 0;
    mode_t m_fileMode = 0;
    bool m_saved = false;
    bool m_switched = false;
    bool m_active = false;
};

} // namespace velmora::test
