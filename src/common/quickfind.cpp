#include "common/quickfind.h"

#include "common/text.h"

namespace velmora {

bool lineMatches(const std::string &line, const std::string &foldedKey)
{
    return !foldedKey.empty() && containsFolded(line, foldedKey);
}

std::optional<std::size_t> QuickFind::find(const std::vector<std::string> &lines, const std::string &key,
                                           std::optional<std::size_t> selected)
{
    if (lines.empty())
        return std::nullopt;
    std::size_t current = selected.value_or(0);
    if (current >= lines.size())
        current = 0;
    const std::string folded = foldAZ(key);
    const bool repeat = folded == m_lastKey;
    m_lastKey = folded;

    const std::size_t n = lines.size();
    // A new key tests the first line first; a repeated key starts after the selection and
    // tests the selected line last, so a single match stays selected.
    const std::size_t start = repeat ? (current + 1) % n : 0;
    for (std::size_t i = start; i < n; ++i) {
        if (lineMatches(lines[i], folded))
            return i;
    }
    for (std::size_t i = 0; i < start; ++i) {
        if (lineMatches(lines[i], folded))
            return i;
    }
    return std::nullopt;
}

} // namespace velmora
