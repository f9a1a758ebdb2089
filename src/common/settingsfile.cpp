#include "common/settingsfile.h"

#include <cstdint>
#include <vector>

#include "common/recordfile.h"
#include "common/text.h"

namespace velmora {

namespace {

// A settings file of the program holds a few short lines; anything far larger is not one.
constexpr std::uintmax_t kMaxSettingsBytes = 64 * 1024;

// Whether anything, a link or a FIFO included, is at path.
bool present(const std::filesystem::path &path)
{
    std::error_code ec;
    return std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found && !ec;
}

struct Line
{
    std::string text;   // without its line ending
    std::string ending; // "\r\n", "\n" or "" for a last line without one
};

std::vector<Line> splitLines(std::string_view content)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < content.size()) {
        const std::size_t nl = content.find('\n', pos);
        if (nl == std::string_view::npos) {
            lines.push_back({std::string(content.substr(pos)), ""});
            break;
        }
        const bool crlf = nl > pos && content[nl - 1] == '\r';
        const std::size_t end = crlf ? nl - 1 : nl;
        lines.push_back({std::string(content.substr(pos, end - pos)), crlf ? "\r\n" : "\n"});
        pos = nl + 1;
    }
    return lines;
}

bool sameName(std::string_view a, std::string_view b)
{
    return foldAZ(trimField(a)) == foldAZ(trimField(b));
}

// The section name of a "[Name]" line, or nullopt for any other line.
std::optional<std::string> sectionName(const std::string &line)
{
    const std::string t = trimField(line);
    if (t.size() < 2 || t.front() != '[')
        return std::nullopt;
    const std::size_t close = t.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return t.substr(1, close - 1);
}

// Splits "Key=Value"; nullopt for lines without "=" or comments.
std::optional<std::pair<std::string, std::string>> keyValue(const std::string &line)
{
    const std::string t = trimField(line);
    if (t.empty() || t.front() == ';')
        return std::nullopt;
    const std::size_t eq = t.find('=');
    if (eq == std::string::npos)
        return std::nullopt;
    return std::make_pair(trimField(t.substr(0, eq)), trimField(t.substr(eq + 1)));
}

std::string unquote(const std::string &v)
{
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

} // namespace

std::string iniValue(std::string_view content, std::string_view section, std::string_view key)
{
    bool inSection = false;
    bool seenSection = false;
    for (const Line &line : splitLines(content)) {
        if (const auto name = sectionName(line.text)) {
            // Only the first section of that name counts.
            if (inSection)
                return {};
            inSection = !seenSection && sameName(*name, section);
            seenSection = seenSection || inSection;
            continue;
        }
        if (!inSection)
            continue;
        if (const auto kv = keyValue(line.text); kv && sameName(kv->first, key))
            return unquote(kv->second);
    }
    return {};
}

std::string iniWithValue(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view value)
{
    std::vector<Line> lines = splitLines(content);
    const std::string newLine = std::string(key) + "=" + std::string(value);

    std::optional<std::size_t> sectionAt;
    std::size_t lastInSection = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionName(lines[i].text)) {
            if (sectionAt)
                break;
            if (sameName(*name, section)) {
                sectionAt = i;
                lastInSection = i;
            }
            continue;
        }
        if (!sectionAt)
            continue;
        if (const auto kv = keyValue(lines[i].text); kv && sameName(kv->first, key)) {
            lines[i].text = newLine;
            std::string out;
            for (const Line &l : lines)
                out += l.text + l.ending;
            return out;
        }
        if (!trimField(lines[i].text).empty())
            lastInSection = i;
    }

    if (sectionAt) {
        if (lines[lastInSection].ending.empty())
            lines[lastInSection].ending = "\r\n";
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastInSection + 1), Line{newLine, "\r\n"});
    } else {
        if (!lines.empty() && lines.back().ending.empty())
            lines.back().ending = "\r\n";
        lines.push_back({std::string("[").append(section).append("]"), "\r\n"});
        lines.push_back({newLine, "\r\n"});
    }
    std::string out;
    for (const Line &l : lines)
        out += l.text + l.ending;
    return out;
}

std::string SettingsFile::read(std::string_view section, std::string_view key) const
{
    const auto content = readWholeFile(m_path, kMaxSettingsBytes);
    return content ? iniValue(*content, section, key) : std::string();
}

std::optional<std::string> SettingsFile::readChecked(std::string_view section, std::string_view key) const
{
    if (!present(m_path))
        return std::string();
    const auto content = readWholeFile(m_path, kMaxSettingsBytes);
    if (!content)
        return std::nullopt;
    return iniValue(*content, section, key);
}

bool SettingsFile::write(std::string_view section, std::string_view key, std::string_view value) const
{
    std::string content;
    if (present(m_path)) {
        const auto current = readWholeFile(m_path, kMaxSettingsBytes);
        if (!current)
            return false;
        content = *current;
    }
    return writeWholeFileAtomic(m_path, iniWithValue(content, section, key, value));
}

} // namespace velmora
