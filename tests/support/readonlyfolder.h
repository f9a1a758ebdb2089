#pragma once

#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Makes a folder read-only for this process while it lives, as a folder of another user or a
// read-only medium is: its write bits are taken away and, for the superuser (whom permissions
// do not bind), the process acts meanwhile as the unprivileged user "nobody", so the system
// itself refuses every file created or removed there. The folder and what it holds are made
// readable by others first, so that the process can still read them.
namespace velmora::test {

class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(std::filesystem::path folder) : m_folder(std::move(folder))
    {
        std::error_code ec;
        for (const auto &entry : std::filesystem::directory_iterator(m_folder, ec)) {
            struct stat st
            {
            };
            if (::lstat(entry.path().c_str(), &st) == 0 && S_ISREG(st.st_mode))
                ::chmod(entry.path().c_str(), (st.st_mode & 07777) | 0444);
        }
        ::chmod(m_folder.c_str(), 0555);
        if (::geteuid() == 0 && ::setegid(static_cast<gid_t>(kNobody)) == 0) {
            m_asNobody = ::seteuid(kNobody) == 0;
            if (!m_asNobody)
                (void)!::setegid(0);
        }
        m_active = ::faccessat(AT_FDCWD, m_folder.c_str(), W_OK, AT_EACCESS) != 0;
    }
    ~ReadOnlyFolder()
    {
        if (m_asNobody) {
            (void)!::seteuid(0);
            (void)!::setegid(0);
        }
        ::chmod(m_folder.c_str(), 0700);
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    // Whether the folder is now really read-only for this process.
    bool active() const { return m_active; }

private:
    static constexpr uid_t kNobody = 65534;
    std::filesystem::path m_folder;
    bool m_asNobody = false;
    bool m_active = false;
};

} // namespace velmora::test
