#include "common/amount.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstdlib>

#include "common/text.h"

namespace velmora {

namespace {

// A whole number of up to 19 digits and a power of ten up to 10^19 are exact in a long double.
constexpr std::size_t kExactDigits = 19;
constexpr auto kPowersOfTen = [] {
    std::array<long double, kExactDigits + 1> powers{};
    long double p = 1;
    for (long double &power : powers) {
        power = p;
        p *= 10;
    }
    return powers;
}();

// Powers of ten up to 10^38, the largest a signed 128-bit number holds.
constexpr std::size_t kWidePowers = 39;
constexpr auto kWidePowersOfTen = [] {
    std::array<__int128, kWidePowers> powers{};
    __int128 p = 1;
    for (std::size_t i = 0; i < kWidePowers; ++i) {
        powers[i] = p;
        if (i + 1 < kWidePowers)
            p *= 10;
    }
    return powers;
}();

constexpr int kExactScale = 15;
// One value read stays below 10^22; sums may grow to 10^23, still far inside 128 bits.
constexpr __int128 kExactLimit = kWidePowersOfTen[22 + kExactScale];
constexpr __int128 kExactSumLimit = kWidePowersOfTen[23 + kExactScale];

} // namespace

std::optional<long double> parseNumber(std::string_view text)
{
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t'))
        ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t'))
        --e;
    const std::string_view t = text.substr(b, e - b);

    std::size_t i = 0;
    const bool negative = i < t.size() && t[i] == '-';
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    std::size_t digits = 0;
    std::size_t decimals = 0;
    std::uint64_t mantissa = 0; // the digits as a whole number, while they fit
    bool separator = false;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (c >= '0' && c <= '9') {
            ++digits;
            if (digits <= kExactDigits)
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            if (separator)
                ++decimals;
        } else if (c == ',' && !separator) {
            separator = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i == t.size() && digits <= kExactDigits) {
        // Up to 19 digits and no exponent, as every amount and count is: the digits as a whole
        // number and the power of ten are both exact, and one division rounds exactly as the
        // library's reading does, at a fraction of its cost over a long list.
        const long double value = static_cast<long double>(mantissa) / kPowersOfTen[decimals];
        return negative ? -value : value;
    }
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0 || expDigits > 4)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    // The same number with "." for the C-locale parser, which takes no leading "+".
    std::string plain(t.front() == '+' ? t.substr(1) : t);
    std::replace(plain.begin(), plain.end(), ',', '.');
    long double value = 0;
    const auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc() || ptr != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string numberText(long double value)
{
    if (value == 0 || !std::isfinite(value))
        return "0";
    // 15 significant digits in scientific form, then laid out the short way.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    std::string s(buf, res.ptr);
    bool negative = false;
    if (!s.empty() && s.front() == '-') {
        negative = true;
        s.erase(0, 1);
    }
    const std::size_t ePos = s.find('e');
    int exponent = std::atoi(s.c_str() + ePos + 1);
    std::string digits;
    for (std::size_t k = 0; k < ePos; ++k)
        if (s[k] != '.')
            digits.push_back(s[k]);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent < -4) {
        out += digits.substr(0, 1);
        if (digits.size() > 1)
            out.append(",").append(digits, 1);
        out.append("E").append(std::to_string(exponent));
        return out;
    }
    if (exponent < 0) {
        out += "0," + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
        return out;
    }
    const auto intLen = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= intLen) {
        out += digits + std::string(intLen - digits.size(), '0');
    } else {
        out += digits.substr(0, intLen) + "," + digits.substr(intLen);
    }
    return out;
}

long double roundTo(long double value, int decimals)
{
    return parseNumber(roundedText(value, decimals)).value_or(value);
}

std::string roundedText(long double value, int decimals)
{
    const std::string text = numberText(value);
    if (text.find('E') != std::string::npos) {
        // Too large or too small for the decimal form: round the magnitude in binary.
        const long double scale = std::pow(10.0L, decimals);
        const long double magnitude = std::trunc((value < 0 ? -value : value) * scale + 0.5L) / scale;
        return numberText(value < 0 ? -magnitude : magnitude);
    }
    const bool negative = text.front() == '-';
    const std::string unsignedText = negative ? text.substr(1) : text;
    const std::size_t comma = unsignedText.find(',');
    std::string whole = unsignedText.substr(0, comma);
    std::string fraction = comma == std::string::npos ? std::string() : unsignedText.substr(comma + 1);
    const auto keep = static_cast<std::size_t>(decimals);
    if (fraction.size() > keep) {
        const bool up = fraction[keep] >= '5';
        fraction.resize(keep);
        std::string digits = whole + fraction;
        if (up) {
            bool carry = true;
            for (std::size_t i = digits.size(); carry && i > 0; --i) {
                char &d = digits[i - 1];
                carry = d == '9';
                d = carry ? '0' : static_cast<char>(d + 1);
            }
            if (carry)
                digits.insert(digits.begin(), '1');
        }
        whole = digits.substr(0, digits.size() - keep);
        fraction = digits.substr(digits.size() - keep);
    }
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    std::string out = whole.empty() ? "0" : whole;
    if (!fraction.empty())
        out += "," + fraction;
    if (negative && out != "0")
        out.insert(out.begin(), '-');
    return out;
}

std::optional<ExactDecimal> ExactDecimal::parse(std::string_view text)
{
    // The grammar is parseNumber's, so an amount is readable here exactly when the bill total reads it.
    if (!parseNumber(text))
        return std::nullopt;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    __int128 mantissa = 0;
    int decimals = 0;
    bool separator = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            if (mantissa >= kWidePowersOfTen[37])
                return std::nullopt; // more significant digits than any value that fits
            mantissa = mantissa * 10 + (c - '0');
            if (separator)
                ++decimals;
        } else if (c == ',') {
            separator = true;
        } else {
            break;
        }
    }
    int exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool down = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            exponent = exponent * 10 + (text[i] - '0'); // at most four digits: parseNumber checked
        if (down)
            exponent = -exponent;
    }
    const int shift = kExactScale + exponent - decimals;
    __int128 units = mantissa;
    if (mantissa != 0 && shift > 0) {
        if (shift > 37)
            return std::nullopt;
        const __int128 factor = kWidePowersOfTen[static_cast<std::size_t>(shift)];
        if (mantissa >= kExactLimit / factor + 1)
            return std::nullopt;
        units = mantissa * factor;
    } else if (mantissa != 0 && shift < 0) {
        // Digits beyond the 15th decimal are only allowed when they are zeros.
        if (-shift > 38)
            return std::nullopt;
        const __int128 divisor = kWidePowersOfTen[static_cast<std::size_t>(-shift)];
        if (mantissa % divisor != 0)
            return std::nullopt;
        units = mantissa / divisor;
    }
    if (units >= kExactLimit)
        return std::nullopt;
    return ExactDecimal(negative ? -units : units);
}

bool ExactDecimal::add(const ExactDecimal &other)
{
    __int128 sum = 0;
    if (__builtin_add_overflow(m_units, other.m_units, &sum) || sum >= kExactSumLimit || sum <= -kExactSumLimit)
        return false;
    m_units = sum;
    return true;
}

std::string ExactDecimal::fixedText(int decimals) const
{
    decimals = std::clamp(decimals, 0, kExactScale);
    const __int128 divisor = kWidePowersOfTen[static_cast<std::size_t>(kExactScale - decimals)];
    const bool negative = m_units < 0;
    const __int128 magnitude = negative ? -m_units : m_units;
    __int128 kept = magnitude / divisor;
    if ((magnitude % divisor) * 2 >= divisor)
        ++kept;
    std::string digits;
    for (__int128 k = kept; k != 0; k /= 10)
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(k % 10)));
    const auto width = static_cast<std::size_t>(decimals) + 1;
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    if (decimals > 0)
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, ',');
    if (negative && kept != 0)
        digits.insert(digits.begin(), '-');
    return digits;
}

std::string ExactDecimal::shortText(int decimals) const
{
    std::string text = fixedText(decimals);
    if (text.find(',') == std::string::npos)
        return text;
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == ',')
        text.pop_back();
    return text;
}

std::string normaliseAmount(std::string_view text)
{
    std::string t(text);
    if (t.find(',') == std::string::npos)
        t += ",00";
    if (trimField(t).empty())
        t = "0,00";
    if (trimField(t) == ",")
        t = "0,00";
    if (!t.empty() && t.front() == ',')
        t = trimField(t).insert(0, 1, '0');
    if (!t.empty() && t.back() == ',')
        t = trimField(t) + "00";
    if (t.size() >= 2 && t[t.size() - 2] == ',' && t.back() >= '0' && t.back() <= '9')
        t = trimField(t) + "0";
    return t;
}

} // namespace velmora
