#pragma once

#include <optional>
#include <string>
#include <vector>

// The quick find of every list: a substring search with letters A to Z folded, which
// restarts at the top for a new key and walks on, wrapping around, for the same key.
namespace velmora {

class QuickFind
{
public:
    // Returns the line to select, or nullopt to leave the selection as it is.
    // selected is the selected line, nullopt when none (the first line is then taken).
    std::optional<std::size_t> find(const std::vector<std::string> &lines, const std::string &key,
                                    std::optional<std::size_t> selected);

    const std::string &lastKey() const { return m_lastKey; }
    void reset() { m_lastKey.clear(); }

private:
    std::string m_lastKey;
};

// True when the folded key occurs in the folded line; an empty key matches nothing.
bool lineMatches(const std::string &line, const std::string &foldedKey);

} // namespace velmora
