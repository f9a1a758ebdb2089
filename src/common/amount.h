#pragma once

#include <optional>
#include <string>
#include <string_view>

// Numbers as the screens write and read them: "," as separator, no thousands separator,
// the same whatever the system locale. Arithmetic uses long double throughout.
namespace velmora {

// Reads a text as a number: optional blanks around, optional sign, digits with at most
// one ",", optional exponent ("E" or "e", optional sign, digits). Anything else is not a number.
std::optional<long double> parseNumber(std::string_view text);

// The shortest form of up to 15 significant digits ("12", "12,5", "0,125"); scientific
// form ("1,5E20", "1E-5") only for very large or very small values.
std::string numberText(long double value);

// Rounds to d decimals, half away from zero, on the decimal digits the value shows (its
// 15 significant digits). Rounding the binary value itself would turn 1,5 x 0,35 = 0,525 into
// 0,52 and -7 into -6,99, so the digits the user sees are what is rounded.
long double roundTo(long double value, int decimals);

// Completes an amount text to at least two decimals ("4" -> "4,00", ",5" -> "0,50").
std::string normaliseAmount(std::string_view text);

// Number text of the value rounded to d decimals, as roundTo.
std::string roundedText(long double value, int decimals);

// A decimal number held exactly, in whole units of 10^-15, for sums over many bills: a binary sum
// of a hundred thousand amounts drifts in its last digits, this one comes out to the cent.
class ExactDecimal
{
public:
    ExactDecimal() = default;

    // Reads what parseNumber reads, when the value has at most 15 decimals and fewer than 22
    // whole digits (every amount and quantity a bill can hold); nullopt otherwise.
    static std::optional<ExactDecimal> parse(std::string_view text);

    // Adds other; false, and nothing changed, when the sum would be too large to hold.
    [[nodiscard]] bool add(const ExactDecimal &other);

    // Rounded half away from zero to d decimals (0 to 15) and written with exactly d ("12,50").
    std::string fixedText(int decimals) const;
    // Rounded the same way, trailing zeros dropped ("12,5", "3"), as the quantity boxes show it.
    std::string shortText(int decimals) const;

    bool isZero() const { return m_units == 0; }
    friend bool operator==(const ExactDecimal &, const ExactDecimal &) = default;

private:
    explicit ExactDecimal(__int128 units) : m_units(units) {}
    __int128 m_units = 0;
};

} // namespace velmora
