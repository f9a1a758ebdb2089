#include "common/textlines.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace velmora {

TextLines::TextLines(const TextLines &other)
{
    append(other);
}

TextLines &TextLines::operator=(const TextLines &other)
{
    if (this != &other) {
        truncate(0);
        append(other);
    }
    return *this;
}

void TextLines::makeRoom(std::size_t more)
{
    if (m_capacity - m_bytes >= more)
        return;
    // The ends are 32-bit to halve their memory: four gigabytes of text in one list.
    if (m_bytes + more > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("L'archivio è troppo grande per essere mostrato.");
    // The first room is what is asked for (a single line stays small); after that never less
    // than a few pages at a time, so a long list grows in few steps.
    const std::size_t least = m_capacity == 0 ? 0 : std::size_t{16} << 10;
    const std::size_t capacity = std::min<std::size_t>(std::max({m_bytes + more, 2 * m_capacity, least}),
                                                       std::numeric_limits<std::uint32_t>::max());
    auto text = std::make_unique_for_overwrite<char[]>(capacity);
    if (m_bytes > 0)
        std::memcpy(text.get(), m_text.get(), m_bytes);
    m_text = std::move(text);
    m_capacity = capacity;
}

void TextLines::reserve(std::size_t lines, std::size_t bytes)
{
    m_ends.reserve(m_ends.size() + lines);
    makeRoom(bytes);
}

void TextLines::truncate(std::size_t count)
{
    if (count >= m_ends.size())
        return;
    m_ends.resize(count);
    m_bytes = count == 0 ? 0 : m_ends.back();
}

void TextLines::append(const TextLines &other)
{
    const std::size_t base = m_bytes;
    if (other.m_bytes > 0) {
        std::memcpy(openLine(other.m_bytes), other.m_text.get(), other.m_bytes);
        m_bytes += other.m_bytes;
    }
    m_ends.reserve(m_ends.size() + other.m_ends.size());
    for (const std::uint32_t e : other.m_ends)
        m_ends.push_back(static_cast<std::uint32_t>(base + e));
}

void TextLines::shrinkToFit()
{
    m_ends.shrink_to_fit();
    // Growing by doubling leaves a quarter of the room unused on average; more than that is
    // worth a copy.
    if (m_capacity - m_bytes <= m_bytes / 4)
        return;
    const std::size_t capacity = std::max<std::size_t>(m_bytes, 1);
    auto text = std::make_unique_for_overwrite<char[]>(capacity);
    if (m_bytes > 0)
        std::memcpy(text.get(), m_text.get(), m_bytes);
    m_text = std::move(text);
    m_capacity = capacity;
}

bool TextLines::operator==(const TextLines &other) const
{
    return m_ends == other.m_ends &&
           std::string_view(m_text.get(), m_bytes) == std::string_view(other.m_text.get(), other.m_bytes);
}

} // namespace velmora
