#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// SHA-256 of bytes, to tell whether a file read back or unpacked is the one that was written.
namespace velmora {

class Sha256
{
public:
    Sha256();
    void add(std::string_view bytes);
    // The digest as 64 lower-case hexadecimal digits; the object is spent afterwards.
    std::string hex();

private:
    void block(const unsigned char *p);

    std::array<std::uint32_t, 8> m_state;
    std::array<unsigned char, 64> m_buffer{};
    std::size_t m_buffered = 0;
    std::uint64_t m_length = 0;
};

std::string sha256Hex(std::string_view bytes);

} // namespace velmora
