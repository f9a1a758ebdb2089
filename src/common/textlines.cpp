#include "common/textlines.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace velmora {

namespace {

std::uint32_t endAt(std::size_t size)
{
    // The ends are 32-bit to halve their memory; a list is never near 4 GB of text.
    if (size > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("Elenco troppo lungo.");
    return static_cast<std::uint32_t>(size);
}

} // namespace

void TextLines::makeRoom(std::size_t more)
{
    if (m_capacity - m_bytes >= more)
        return;
    const std::size_t capacity = std::max(m_bytes + more, 2 * m_capacity);
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

void TextLines::push_back(std::string_view line)
{
    char *room = openLine(line.size());
    if (!line.empty())
        std::memcpy(room, line.data(), line.size());
    closeLine(line.size());
}

char *TextLines::openLine(std::size_t most)
{
    makeRoom(most);
    return m_text.get() + m_bytes;
}

void TextLines::closeLine(std::size_t used)
{
    m_bytes += used;
    m_ends.push_back(endAt(m_bytes));
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
        m_ends.push_back(endAt(base + e));
}

bool TextLines::operator==(const TextLines &other) const
{
    return m_ends == other.m_ends && std::string_view(m_text.get(), m_bytes) == std::string_view(other.m_text.get(), other.m_bytes);
}

} // namespace velmora
