#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Lines of text kept one after another in one buffer: a list of 10,000 lines takes a couple of
// allocations instead of 10,000, and handing it over or freeing it costs next to nothing.
namespace velmora {

class TextLines
{
public:
    class const_iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        std::string_view operator*() const { return (*m_lines)[m_at]; }
        const_iterator &operator++()
        {
            ++m_at;
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator before = *this;
            ++m_at;
            return before;
        }
        bool operator==(const const_iterator &other) const { return m_at == other.m_at; }

    private:
        friend class TextLines;
        const_iterator(const TextLines *lines, std::size_t at) : m_lines(lines), m_at(at) {}
        const TextLines *m_lines = nullptr;
        std::size_t m_at = 0;
    };

    TextLines() = default;
    TextLines(const TextLines &other);
    TextLines &operator=(const TextLines &other);
    TextLines(TextLines &&) noexcept = default;
    TextLines &operator=(TextLines &&) noexcept = default;

    std::size_t size() const { return m_ends.size(); }
    bool empty() const { return m_ends.empty(); }
    std::size_t bytes() const { return m_bytes; } // the characters of all the lines
    std::string_view operator[](std::size_t i) const
    {
        const std::size_t begin = i == 0 ? 0 : m_ends[i - 1];
        return std::string_view(m_text.get() + begin, m_ends[i] - begin);
    }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // Room for lines more lines of bytes characters in all.
    void reserve(std::size_t lines, std::size_t bytes);
    // Inline: a grid adds every one of its cells here.
    void push_back(std::string_view line)
    {
        copyText(openLine(line.size()), line.data(), line.size());
        closeLine(line.size());
    }

    // Adds count lines at once, with one check for room: a row of grid cells.
    void push_back(const std::string_view *lines, std::size_t count)
    {
        std::size_t size = 0;
        for (std::size_t i = 0; i < count; ++i)
            size += lines[i].size();
        if (m_capacity - m_bytes < size)
            makeRoom(size);
        const std::size_t first = m_ends.size();
        m_ends.resize(first + count);
        for (std::size_t i = 0; i < count; ++i) {
            copyText(m_text.get() + m_bytes, lines[i].data(), lines[i].size());
            m_bytes += lines[i].size();
            m_ends[first + i] = static_cast<std::uint32_t>(m_bytes);
        }
    }

    // A line written in place: openLine gives room for at most most characters at the end,
    // closeLine ends the line after the first used of them.
    char *openLine(std::size_t most)
    {
        if (m_capacity - m_bytes < most)
            makeRoom(most);
        return m_text.get() + m_bytes;
    }
    void closeLine(std::size_t used)
    {
        m_bytes += used;
        m_ends.push_back(static_cast<std::uint32_t>(m_bytes)); // makeRoom keeps m_bytes within 32 bits
    }

    // Keeps only the first count lines.
    void truncate(std::size_t count);
    // Adds other's lines after these.
    void append(const TextLines &other);
    // Gives back room left over once the lines are written, where it is more than a little.
    void shrinkToFit();

    bool operator==(const TextLines &other) const;

private:
    void makeRoom(std::size_t more);

    // Copies n bytes, never reading past from + n. Most lines and cells are a few characters
    // long: two overlapping moves copy them, where a call to memcpy would cost more than the
    // copy.
    static void copyText(char *to, const char *from, std::size_t n)
    {
        if (n > 16)
            std::memcpy(to, from, n);
        else if (n >= 8)
            copyEnds<std::uint64_t>(to, from, n);
        else if (n >= 4)
            copyEnds<std::uint32_t>(to, from, n);
        else if (n > 0) {
            to[0] = from[0];
            to[n / 2] = from[n / 2];
            to[n - 1] = from[n - 1];
        }
    }
    // n bytes, n from sizeof(Word) to twice that, as the word at the start and the one at the end.
    template <typename Word> static void copyEnds(char *to, const char *from, std::size_t n)
    {
        Word head, tail;
        std::memcpy(&head, from, sizeof(Word));
        std::memcpy(&tail, from + n - sizeof(Word), sizeof(Word));
        std::memcpy(to, &head, sizeof(Word));
        std::memcpy(to + n - sizeof(Word), &tail, sizeof(Word));
    }

    // Every line, one after another, in a buffer of its own: a line is written in place
    // without first filling its room.
    std::unique_ptr<char[]> m_text;
    std::size_t m_bytes = 0;
    std::size_t m_capacity = 0;
    std::vector<std::uint32_t> m_ends; // where each line ends in m_text
};

} // namespace velmora
