#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// A Windows-style settings file ("[Section]" and "Key=Value" lines). Section and key
// names compare without regard to letter case; the first match wins.
namespace velmora {

// The value of key in section; empty when the section or the key is missing.
std::string iniValue(std::string_view content, std::string_view section, std::string_view key);

// The content with key set to value, creating section and key when missing and keeping
// every other line as it was.
std::string iniWithValue(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view value);

class SettingsFile
{
public:
    explicit SettingsFile(std::filesystem::path path) : m_path(std::move(path)) {}

    // A missing file reads as empty.
    std::string read(std::string_view section, std::string_view key) const;

    // As read, but nullopt when the file exists and cannot be read: it is not a regular file
    // (a link, a FIFO, a device, a folder), or it is far larger than any settings file.
    std::optional<std::string> readChecked(std::string_view section, std::string_view key) const;

    // Creates the file when missing (mode 0660 less the umask); a replaced file keeps its mode and
    // group. The new content is written under a unique name and renamed over the file.
    [[nodiscard]] bool write(std::string_view section, std::string_view key, std::string_view value) const;

private:
    std::filesystem::path m_path;
};

} // namespace velmora
