#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/safefile.h"

// A headerless file of fixed-size records. Every call opens the file, works and closes it
// again, so nothing stays open between user actions. A trailing partial record is ignored.
// Each call reports success or failure; the screen turns a failure into its file error message.
namespace velmora {

// Larger than any archive of a hotel could grow; a file beyond it is refused rather than read.
inline constexpr std::uintmax_t kMaxArchiveBytes = std::uintmax_t{1} << 31;

class RecordFile
{
public:
    RecordFile(std::filesystem::path path, std::size_t recordSize);

    const std::filesystem::path &path() const { return m_path; }
    std::size_t recordSize() const { return m_recordSize; }

    // Opens for use: a missing file is created empty (mode 0660 less the umask, never through a
    // link planted in its place).
    [[nodiscard]] bool openForUse() const;

    // Number of whole records, after opening for use.
    [[nodiscard]] std::optional<std::size_t> count() const;

    // Reads record n (1-based) into record.
    [[nodiscard]] bool read(std::size_t n, std::string &record) const;

    // Reads every whole record in one pass, in file order.
    [[nodiscard]] bool readAll(std::vector<std::string> &records) const;

    // The same pass handing each record to visit as it is read, a block at a time, so a scan
    // that keeps little of each record never holds the whole archive. Returns false when the
    // file could not be read to its end; visit has then seen the records read until then.
    // records, if given, receives the number of whole records the pass found as it started
    // (0 when the file could not be opened).
    [[nodiscard]] bool forEach(const std::function<void(std::string_view record)> &visit,
                               std::size_t *records = nullptr) const;

    // Appends a record, flushed to the device; number receives its record number.
    [[nodiscard]] bool append(std::string_view record, std::size_t *number = nullptr) const;

    // Replaces record n, flushed to the device.
    [[nodiscard]] bool overwrite(std::size_t n, std::string_view record) const;

    // Deletes the record whose number, written in decimal, equals shownNumber: every other
    // record is copied in order to tempPath, created anew (never through a planted link), which
    // then replaces the archive in one rename, keeping its mode and group. An archive that is a
    // link stays one: the copy is made under tempPath's name beside the file it points to and
    // replaces that file. On any failure the archive is left exactly as it was.
    [[nodiscard]] bool removeByCopy(std::string_view shownNumber, const std::filesystem::path &tempPath) const;

    // A card screen writes over or deletes record n only while it still holds what the screen
    // loaded or last saved there; another workstation may have changed or moved it meanwhile.
    enum class Guarded { Done, FileError, Changed };
    [[nodiscard]] Guarded overwriteIfUnchanged(std::size_t n, std::string_view expected, std::string_view record) const;
    [[nodiscard]] Guarded removeIfUnchanged(std::size_t n, std::string_view expected,
                                            const std::filesystem::path &tempPath) const;

private:
    std::filesystem::path m_path;
    std::size_t m_recordSize;
};

// A record with its 1-based number in the file.
struct NumberedRecord
{
    std::size_t number = 0;
    std::string record;
};

// Finds the last record of file for which wanted holds, in one pass that keeps only it; found
// is empty when no record does. Returns false, found empty, when the file cannot be read to
// its end.
[[nodiscard]] bool findLastRecord(const RecordFile &file, const std::function<bool(std::string_view record)> &wanted,
                                  std::optional<NumberedRecord> &found);

// Reads a whole regular file, through a link only under Links::Follow; nullopt when it cannot
// be read or is larger than maxSize bytes (when not 0).
std::optional<std::string> readWholeFile(const std::filesystem::path &path, std::uintmax_t maxSize = 0,
                                         safefile::Links links = safefile::Links::Refuse);

// Writes a whole file through a file of a unique name renamed over it, flushed to the device.
// A new file gets mode 0660 less the umask; a replaced one keeps its mode and group.
[[nodiscard]] bool writeWholeFileAtomic(const std::filesystem::path &path, std::string_view data);

} // namespace velmora
