#include "common/textlines.h"

#include <algorithm>
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

void TextLines::reserve(std::size_t lines, std::size_t bytes)
{
    m_ends.reserve(m_ends.size() + lines);
    m_text.reserve(m_text.size() + bytes);
}

void TextLines::push_back(std::string_view line)
{
    m_text.append(line);
    m_ends.push_back(endAt(m_text.size()));
}

char *TextLines::openLine(std::size_t most)
{
    m_open = m_text.size();
    if (m_text.capacity() < m_open + most)
        m_text.reserve(std::max(m_open + most, 2 * m_text.capacity()));
    m_text.resize(m_open + most);
    return m_text.data() + m_open;
}

void TextLines::closeLine(std::size_t used)
{
    m_text.resize(m_open + used);
    m_ends.push_back(endAt(m_text.size()));
}

void TextLines::truncate(std::size_t count)
{
    if (count >= m_ends.size())
        return;
    m_ends.resize(count);
    m_text.resize(count == 0 ? 0 : m_ends.back());
}

void TextLines::append(const TextLines &other)
{
    const std::size_t base = m_text.size();
    m_text.append(other.m_text);
    m_ends.reserve(m_ends.size() + other.m_ends.size());
    for (const std::uint32_t e : other.m_ends)
        m_ends.push_back(endAt(base + e));
}

} // namespace velmora
