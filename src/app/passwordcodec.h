#pragma once

#include <optional>
#include <string>
#include <string_view>

// Scrambling of the stored password: two upper-case hexadecimal digits per character,
// each byte mixed with a 16-bit key that advances with the encoded byte.
namespace velmora {

// At most the first 255 characters are encoded.
std::string EncodeStoredPassword(std::string_view plain);

// nullopt when a pair of digits is not hexadecimal; a trailing odd digit is ignored.
std::optional<std::string> DecodeStoredPassword(std::string_view hex);

// The form in which a typed password is compared and stored: a to z raised, trimmed.
std::string passwordKey(std::string_view typed);

inline constexpr const char *kPasswordStore = "unins000.dll";
inline constexpr const char *kPasswordSection = "Accesso";
inline constexpr const char *kPasswordKey = "Valore";
inline constexpr std::size_t kPasswordMaxLength = 230;
// The password of a new installation, until the user changes it.
inline constexpr const char *kDefaultPassword = "velmora";

} // namespace velmora
