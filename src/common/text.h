#pragma once

#include <string>
#include <string_view>

// Text helpers over Windows-1252 bytes, the form in which every archive stores text.
namespace velmora {

// Removes characters with codes 0 to 32 at both ends, as every stored value is trimmed.
std::string trimField(std::string_view text);

// trimField without copying: a view of the same characters. Inline: every field of every
// record read passes through it.
inline std::string_view trimmedView(std::string_view text)
{
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32)
        --e;
    return std::string_view(text.data() + b, e - b);
}

// Folds only the letters A to Z to lower case; accented letters stay as they are.
std::string foldAZ(std::string_view text);

// Whether foldAZ(key) occurs in foldAZ(text), found without building either: searches run
// over every record of an archive. An empty key occurs everywhere.
bool containsFolded(std::string_view text, std::string_view key);

// Raises only the letters a to z; accented letters stay as they are.
std::string upperAZ(std::string_view text);

// Whether bytes are well-formed UTF-8 (no overlong forms, surrogates or code points past U+10FFFF).
bool isUtf8(std::string_view bytes);

// Converts UTF-8 to Windows-1252; characters the code page cannot hold become "?".
std::string utf8ToCp1252(std::string_view utf8);

// Converts Windows-1252 bytes to UTF-8. The five unassigned bytes become U+0081, U+008D, U+008F,
// U+0090 and U+009D, and utf8ToCp1252 turns those back, so every byte round-trips.
std::string cp1252ToUtf8(std::string_view bytes);
// The character of one Windows-1252 byte, as cp1252ToUtf8 gives it.
char32_t cp1252CodePoint(unsigned char byte);
// Whether a character has a Windows-1252 byte (the five characters above included).
bool isCp1252Character(char32_t cp);

// Pads with spaces on the right to width, or leaves a longer text as it is.
std::string padRight(std::string_view text, std::size_t width);

// The Windows-1252 euro sign.
inline constexpr char kEuro = '\x80';

} // namespace velmora
