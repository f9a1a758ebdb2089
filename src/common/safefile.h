#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include <sys/stat.h>
#include <sys/types.h>

// Opening and creating the program's files in a folder that other users may write too. A new
// file is never made through a link someone planted in its place and gets mode 0660 less the
// umask, so the group sharing the folder can use it while others cannot read it; a file that
// replaces another keeps that one's mode and group. Nothing here can block the program: a
// FIFO, a device or a folder where a file belongs is refused instead of opened.
// Every function returns a descriptor (or false) with errno set, as the system calls do.
namespace velmora::safefile {

inline constexpr mode_t kNewFileMode = 0660;

// errno of a path that names something other than a regular file, or one too large.
inline constexpr int kNotRegular = EINVAL;
inline constexpr int kTooLarge = EFBIG;

// Closes a descriptor when it leaves scope.
class Fd
{
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { close(); }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // False when the close itself failed (a late write error).
    bool close();

private:
    int m_fd;
};

// Whether the path's last component may be a symbolic link to follow. Archives may be links
// (a user's choice, for example to another disk); the program's own side files may not.
enum class Links { Follow, Refuse };

// Opens an existing regular file with flags (O_RDONLY, O_RDWR or O_WRONLY). A file larger than
// maxSize bytes (when not 0) is refused with kTooLarge, anything not a regular file with
// kNotRegular, a link under Links::Refuse with ELOOP.
int openRegular(const std::filesystem::path &path, int flags, Links links, std::uintmax_t maxSize = 0);

// Opens the existing regular file, or creates it empty and exclusively when it is missing.
// A dangling link is never created through.
int openOrCreate(const std::filesystem::path &path, int flags, Links links, std::uintmax_t maxSize = 0);

// Creates path for writing, exclusively: fails with EEXIST when anything, a link included, is
// there already.
int createNew(const std::filesystem::path &path);

// Creates path anew for writing: whatever file or link is there is removed first, and the new
// file is created exclusively, so the descriptor is the program's own new file.
int createFresh(const std::filesystem::path &path);

// Creates for writing a new file beside path whose name no other process uses (path's name
// followed by a unique ending); name receives it.
int createUnique(const std::filesystem::path &path, std::filesystem::path &name);

// Gives the file of fd the permission bits and, where the system permits, the group of the
// file that st describes: a replacement keeps what the replaced file had.
bool keepModeAndGroup(int fd, const struct stat &st);

// The file path names once every symbolic link on the way is followed: a replacement is written
// beside that file and renamed over it, so a link stays a link. A path that is no link, or that
// cannot be resolved, is returned as it is.
std::filesystem::path linkTarget(const std::filesystem::path &path);

// Writes or reads exactly size bytes at offset, resuming after interruptions and short
// transfers; false on an error or an early end of file.
[[nodiscard]] bool writeAt(int fd, const char *data, std::size_t size, off_t offset);
[[nodiscard]] bool readAt(int fd, char *data, std::size_t size, off_t offset);

// Moves a file to a name that nothing holds yet, so that at every moment the file is whole
// under one of the two names: a rename where both lie on one file system; across file systems
// a copy that is flushed, read back and compared before the original is removed (a failure
// on the way removes the copy and leaves the original). EEXIST when the new name is taken.
[[nodiscard]] bool moveNoReplace(const std::filesystem::path &from, const std::filesystem::path &to);
// The move across file systems on its own.
[[nodiscard]] bool copyThenRemove(const std::filesystem::path &from, const std::filesystem::path &to);

// Makes a rename in path's folder durable.
bool syncFolderOf(const std::filesystem::path &path);

} // namespace velmora::safefile
