#pragma once

#include <string_view>

// Key rules of the boxes that take numbers. They decide on one typed character given the
// text already in the box; the screen shows the messages and resets the box.
namespace velmora {

inline constexpr char kKeyEnter = 13;
inline constexpr char kKeyBackspace = 8;
inline constexpr long double kAmountLimit = 30000000.0L;

enum class KeyVerdict {
    Accept,     // the character goes into the box
    Refuse,     // the character is cancelled (with the refused-character message where one exists)
    OverLimit,  // the character is cancelled and the box reset to its default
};

// Price, stock and threshold of the product card: limit first (Backspace included), then the
// character filter. Enter always passes. A text that is not a number counts as zero.
KeyVerdict productCardKey(std::string_view current, char key);

// Quantity of the product import: character filter only.
KeyVerdict importQuantityKey(std::string_view current, char key);

// Quantity, price and amount of the consumption screen: Enter and Backspace pass; otherwise a
// text over the limit, or not a number, resets the box; then the character filter. All silent.
KeyVerdict consumptionKey(std::string_view current, char key);

// VAT number and card number of the client card: digits, Backspace and Enter.
KeyVerdict digitsOnlyKey(char key);

} // namespace velmora
