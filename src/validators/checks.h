#pragma once

#include <span>
#include <string>
#include <string_view>

// The check routines behind the four number validators. All text is Windows-1252 bytes.
namespace velmora {

// An Italian fiscal code of 16 characters, already in upper case: the 16th character must be
// the check letter computed from the first 15. Any other length is not valid.
bool IsValidFiscalCode(std::string_view code);

// An Italian VAT number: exactly 11 digits whose last one is the check digit of the first ten.
bool IsValidVatNumber(std::string_view text);

// One row of the VAT office table: the three-digit office code and the office's town.
struct VatOffice
{
    std::string_view code;
    std::string_view name;
};

// Every office in the order of its code.
std::span<const VatOffice> vatOffices();

// The office name for a three-character code; empty when the code is not an office.
std::string VatOfficeName(std::string_view code);

// The Luhn check of a card number over the digits found in its first 20 characters.
// 0 when the number is not valid (or has no digit); otherwise the first digit minus 2, so
// valid numbers beginning with "2" also give 0 and those beginning with "0" or "1" go negative.
int CardCheck(std::string_view text);

// The card type shown for a valid number of class 1 to 4; class 1 depends on the first two
// characters of the trimmed text. Empty when no type applies (nothing is shown then).
std::string CardTypeName(int cardClass, std::string_view trimmedText);

// An IBAN with its spaces removed has the modulo-97 remainder 1.
bool IsValidIban(std::string_view text);

// The ISO 13616 remainder (0 to 96) of an IBAN text: upper case, first "IBAN" removed, the first
// four characters moved to the end, letters turned to numbers. 0 when a character other than a
// digit is left, or when nothing is left.
int IbanMod97(std::string_view text);

// Every letter "A" to "Z" replaced by its number, "A" = 10 to "Z" = 35.
std::string IbanLettersToDigits(std::string_view text);

} // namespace velmora
