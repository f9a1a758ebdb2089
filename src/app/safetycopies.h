#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Safety copies of a program folder: one ZIP file per copy, named with its date and time, holding
// every archive, every bill (closed bills too), the password store and a manifest of record
// counts, sizes and SHA-256 checksums. A copy is taken under the folder lock, written under a
// unique name, flushed, read back and checked, and only then given its name. A restore checks the
// whole copy before anything changes, first copies the data it replaces, and installs the copy
// through a journal, so that a crash leaves either the old data or the restored data, whole.
namespace velmora {

// The manifest's name inside a copy.
inline constexpr const char *kManifestName = "Velmora.manifest";
// The folder beside the data where a restore unpacks, and the journal that commits it.
inline constexpr const char *kRestoreStaging = ".velmora.ripristino";
inline constexpr const char *kRestoreJournal = ".velmora.ripristino.giornale";
// Where the chosen folder and the date of the last automatic copy are kept.
inline constexpr const char *kCopySettingsFile = "Velmora.ini";
inline constexpr const char *kCopySection = "Copie";
inline constexpr const char *kCopyFolderKey = "Cartella";
inline constexpr const char *kCopyLastKey = "Ultima";
// Automatic copies kept in the chosen folder; older ones are removed.
inline constexpr std::size_t kAutomaticCopiesKept = 10;

struct CopyTime
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    friend auto operator<=>(const CopyTime &, const CopyTime &) = default;
};

// "yyyy-mm-dd hh.mm", as a copy's name and manifest write it.
std::string copyTimeText(const CopyTime &time);
std::optional<CopyTime> parseCopyTimeText(std::string_view text);

// "Velmora yyyy-mm-dd hh.mm.zip"; a second copy in the same minute adds " (2)", " (3)"...
std::string copyFileName(const CopyTime &time, int number = 1);
// The time a copy's file name carries; nullopt for any other name.
std::optional<CopyTime> parseCopyFileName(std::string_view fileName);

enum class CopyKind { Manual, Automatic, BeforeRestore };

struct ManifestEntry
{
    std::string name; // relative to the program folder, "/" between folders, bytes as on disk
    std::uint64_t size = 0;
    std::uint64_t records = 0;
    std::string sha256; // 64 lower-case hexadecimal digits
    friend bool operator==(const ManifestEntry &, const ManifestEntry &) = default;
};

struct Manifest
{
    CopyTime time;
    CopyKind kind = CopyKind::Manual;
    std::vector<ManifestEntry> files;

    std::size_t openBills() const;
    std::size_t closedBills() const;
    // Records of a top-level file (an archive), 0 when the copy does not hold it.
    std::uint64_t recordsOf(std::string_view name) const;
    bool holds(std::string_view name) const;
    std::uint64_t totalSize() const;
    friend bool operator==(const Manifest &, const Manifest &) = default;
};

std::string writeManifest(const Manifest &manifest);
// Strict: any line out of place, a name that is not one of the program's files, a duplicate
// name or a count that does not add up gives nullopt.
std::optional<Manifest> parseManifest(std::string_view text);

// Whether a name (relative, "/" between folders) is one of the files a copy may hold: the client
// and product archives, the password store, a bill, or a closed bill in its year folder.
bool isProgramFileName(std::string_view name);

// The program's data files now in a folder, names as in a manifest, sorted.
struct DataFile
{
    std::string name;
    std::filesystem::path path;
};
std::vector<DataFile> programDataFiles(const std::filesystem::path &folder);

// Why a copy is refused; nothing has changed in either folder.
enum class Refusal {
    None,
    Unreadable,  // not a ZIP file, or damaged
    BadManifest, // no manifest, or one that cannot be read
    Mismatch,    // what the copy holds is not what its manifest says
    Unsafe,      // an entry that would land outside the folder, or a link
    Foreign,     // a file that is not one of the program's
    TooLarge,    // it would unpack to far more than any program folder holds
};

// Bounds of what a copy may unpack to. The program uses the defaults; tests make them small.
struct CopyLimits
{
    std::uint64_t maxTotal = std::uint64_t{1} << 30; // every file together
    std::size_t maxEntries = 100000;
};

// A copy read and checked whole: every entry is the program's, and its size and checksum are
// those of the manifest.
struct CheckedCopy
{
    Refusal refusal = Refusal::Unreadable;
    Manifest manifest;
    std::vector<std::pair<std::string, std::string>> files; // name, contents, in manifest order
};
CheckedCopy checkCopyBytes(std::string_view zipBytes, const CopyLimits &limits = {});
CheckedCopy checkCopyFile(const std::filesystem::path &copy, const CopyLimits &limits = {});

struct CopyResult
{
    enum class Outcome {
        Made,
        Busy,             // another workstation held the folder lock
        SourceError,      // a data file could not be read
        DestinationError, // the copy could not be written (full or removed disk, missing folder)
        VerifyError,      // what was read back is not what was written
    };
    Outcome outcome = Outcome::DestinationError;
    std::filesystem::path path; // the copy made
    Manifest manifest;
};

// Makes a copy of the program folder's data in destination. On any failure nothing is left there.
CopyResult makeCopy(const std::filesystem::path &programFolder, const std::filesystem::path &destination,
                    const CopyTime &time, CopyKind kind);

// One copy found in a folder.
struct CopyInfo
{
    std::filesystem::path path;
    CopyTime time;
    CopyKind kind = CopyKind::Manual;
    std::size_t openBills = 0;
    std::size_t closedBills = 0;
    std::uintmax_t size = 0; // of the ZIP file
};

// A copy's size as the list shows it: "512 byte", "14 KB", "3,2 MB".
std::string copySizeText(std::uintmax_t bytes);

// The copies of a folder whose manifest can be read, newest first.
std::vector<CopyInfo> listCopies(const std::filesystem::path &folder);

// Removes the automatic copies of folder beyond the newest keep; false when one could not be removed.
bool pruneAutomaticCopies(const std::filesystem::path &folder, std::size_t keep = kAutomaticCopiesKept);

struct RestoreResult
{
    enum class Outcome {
        Restored,
        Refused,      // see refusal; nothing changed
        BackupFailed, // the copy of the current data could not be made; nothing changed
        Busy,         // another workstation held the folder lock; nothing changed
        FileError,    // the data could not be replaced; the old data is whole, or the restored
                      // data once the next lock of the folder completes the journal
    };
    Outcome outcome = Outcome::FileError;
    Refusal refusal = Refusal::None;
    CopyResult backup; // the copy of the data as it was before
};

// Restores copy into programFolder, after making a copy of the current data in backupFolder.
RestoreResult restoreCopy(const std::filesystem::path &programFolder, const std::filesystem::path &copy,
                          const std::filesystem::path &backupFolder, const CopyTime &time,
                          const CopyLimits &limits = {});

// Completes a restore that a crash stopped after it was committed, or throws away one stopped
// before. False when the folder could not be used; the journal then stays for the next attempt.
[[nodiscard]] bool settlePendingRestore(const std::filesystem::path &programFolder);
// Makes every fresh take of a folder lock in this process settle a pending restore first.
void installRestoreSettling();

// The automatic copy at the end of the program: into the folder chosen in the settings file, at
// most once a day.
struct AutomaticCopy
{
    enum class Outcome { NoFolder, NotDue, Made, Failed };
    Outcome outcome = Outcome::NoFolder;
    CopyResult copy;
    std::filesystem::path folder;
};
AutomaticCopy makeAutomaticCopy(const std::filesystem::path &programFolder, const CopyTime &now);

// The copies folder chosen in the settings file (empty when none) and its change.
std::filesystem::path chosenCopyFolder(const std::filesystem::path &programFolder);
[[nodiscard]] bool setChosenCopyFolder(const std::filesystem::path &programFolder, const std::filesystem::path &folder);

// Tests stop the process between two file steps of a copy or a restore through this; the
// program never sets it.
void setCopyStepHook(std::function<void()> hook);

} // namespace velmora
