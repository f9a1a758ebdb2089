#include "app/passwordcodec.h"

#include <cstdint>

#include "common/text.h"

namespace velmora {

namespace {

constexpr std::uint16_t kStartKey = 6305;
constexpr std::uint16_t kMultiplier = 40503;
constexpr std::uint16_t kAddend = 27449;
constexpr std::size_t kMaxChars = 255;

std::uint16_t advance(std::uint16_t key, std::uint8_t c)
{
    return static_cast<std::uint16_t>((static_cast<std::uint32_t>(key + c) * kMultiplier + kAddend) & 0xFFFF);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::string EncodeStoredPassword(std::string_view plain)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    std::uint16_t key = kStartKey;
    const std::size_t n = std::min(plain.size(), kMaxChars);
    out.reserve(2 * n);
    for (std::size_t i = 0; i < n; ++i) {
        const auto p = static_cast<std::uint8_t>(plain[i]);
        const auto c = static_cast<std::uint8_t>(p ^ (key >> 8));
        out.push_back(kHex[c >> 4]);
        out.push_back(kHex[c & 0x0F]);
        key = advance(key, c);
    }
    return out;
}

std::optional<std::string> DecodeStoredPassword(std::string_view hex)
{
    const std::size_t n = std::min(hex.size() / 2, kMaxChars);
    std::string out;
    out.reserve(n);
    std::uint16_t key = kStartKey;
    for (std::size_t i = 0; i < n; ++i) {
        const int hi = hexDigit(hex[2 * i]);
        const int lo = hexDigit(hex[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        const auto c = static_cast<std::uint8_t>(hi * 16 + lo);
        out.push_back(static_cast<char>(c ^ (key >> 8)));
        key = advance(key, c);
    }
    return out;
}

std::string passwordKey(std::string_view typed)
{
    return trimField(upperAZ(typed));
}

} // namespace velmora
