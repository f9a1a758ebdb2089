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

} // namespace velmora
