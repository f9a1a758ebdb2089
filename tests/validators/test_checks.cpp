#include <set>
#include <string>

#include <gtest/gtest.h>

#include "validators/checks.h"

using namespace velmora;

namespace {

struct Case
{
    const char *text;
    bool valid;
};

// Fiscal codes: published examples and variations of them that each break or keep one rule.
class FiscalCode : public testing::TestWithParam<Case>
{
};

TEST_P(FiscalCode, ChecksTheControlLetter)
{
    EXPECT_EQ(IsValidFiscalCode(GetParam().text), GetParam().valid) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Checks, FiscalCode,
                         testing::Values(
                             // Published examples.
                             Case{"RSSMRA85T10A562S", true}, Case{"MRTMTT25D09F205Z", true},
                             Case{"RSSMRA80A01H501U", true},
                             // One character changed, the control letter kept.
                             Case{"RSSMRA85T10A562T", false}, Case{"RSSMRA85T10A563S", false},
                             Case{"RSSMRB85T10A562S", false}, Case{"MRTMTT25D09F205A", false},
                             // A digit in the control position never matches.
                             Case{"RSSMRA85T10A5620", false},
                             // Lower case is outside the range "0" to "Z".
                             Case{"rssmra85t10a562s", false}, Case{"RSSMRA85T10A562s", false},
                             // The seven characters between "9" and "A" count 0 in either position:
                             // an even "S" (18) replaced by ":" lowers the sum to 104, control "A";
                             // an odd "R" (8) replaced by "@" gives 114, control "K".
                             Case{"R:SMRA85T10A562A", true}, Case{"@SSMRA85T10A562K", true},
                             Case{"R;SMRA85T10A562A", true}, Case{"R?SMRA85T10A562A", true},
                             // The same places with characters outside the range are refused, even
                             // where a value of 0 would make the control letter right.
                             Case{"R SMRA85T10A562A", false}, Case{"R[SMRA85T10A562A", false},
                             Case{"R/SMRA85T10A562A", false}, Case{"R\xE0SMRA85T10A562A", false},
                             Case{"\xC8SSMRA85T10A562K", false},
                             // Only 16 characters are a code.
                             Case{"RSSMRA85T10A562", false}, Case{"RSSMRA85T10A562SX", false}, Case{"", false}));

// VAT numbers of well-known companies, and broken ones.
class VatNumber : public testing::TestWithParam<Case>
{
};

TEST_P(VatNumber, ChecksTheCheckDigit)
{
    EXPECT_EQ(IsValidVatNumber(GetParam().text), GetParam().valid) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Checks, VatNumber,
                         testing::Values(Case{"00159560366", true}, Case{"00488410010", true},
                                         Case{"01654010345", true}, Case{"00714490158", true},
                                         Case{"00905811006", true}, Case{"01114601006", true},
                                         Case{"00811720580", true},
                                         // Wrong check digit, swapped digits.
                                         Case{"00159560367", false}, Case{"00159560360", false},
                                         Case{"00488410001", false}, Case{"01645010345", false},
                                         // A check digit of 0 (sum ending in 0).
                                         Case{"12345670009", true}, Case{"12345670000", false},
                                         // Anything but 11 digits.
                                         Case{"0015956036", false}, Case{"001595603660", false},
                                         Case{"0015956036A", false}, Case{"00159 60366", false},
                                         Case{"IT001595603", false}, Case{"", false}));

struct Office
{
    const char *code;
    const char *name;
};

class VatOfficeLookup : public testing::TestWithParam<Office>
{
};

TEST_P(VatOfficeLookup, NamesTheOffice)
{
    EXPECT_EQ(VatOfficeName(GetParam().code), GetParam().name) << GetParam().code;
}

INSTANTIATE_TEST_SUITE_P(Table, VatOfficeLookup,
                         testing::Values(Office{"001", "Torino"}, Office{"010", "Genova 1"}, Office{"015", "Milano 1"},
                                         Office{"034", "Parma"}, Office{"036", "Modena"}, Office{"040", "Forl\xEC"},
                                         Office{"045", "Massa Carrara"}, Office{"058", "Roma 1"},
                                         Office{"066", "Aquila"}, Office{"080", "Reggio Calabria"},
                                         Office{"095", "Oristano"}, Office{"096", "Monza (Milano 2)"},
                                         Office{"097", "Prato (Firenze 2)"}, Office{"099", "Chiavari (Genova 2)"},
                                         Office{"100", "Roma 2"}, Office{"101", "Bologna 2"}, Office{"102", "Napoli 2"},
                                         Office{"120", "Bologna 2"}, Office{"121", "Napoli 2"},
                                         // Codes that are no office.
                                         Office{"000", ""}, Office{"103", ""}, Office{"110", ""}, Office{"119", ""},
                                         Office{"122", ""}, Office{"999", ""}, Office{"01", ""}, Office{"0010", ""},
                                         Office{"", ""}));

TEST(VatOfficeTable, HasEveryOfficeOnceInCodeOrder)
{
    const auto offices = vatOffices();
    ASSERT_EQ(offices.size(), 104u);
    std::set<std::string_view> codes;
    for (const VatOffice &office : offices) {
        EXPECT_EQ(office.code.size(), 3u);
        EXPECT_FALSE(office.name.empty()) << office.code;
        codes.insert(office.code);
    }
    EXPECT_EQ(codes.size(), offices.size());
    // 001 to 102 without a gap, then 120 and 121.
    for (int i = 0; i < 102; ++i) {
        char code[4];
        std::snprintf(code, sizeof code, "%03d", i + 1);
        EXPECT_EQ(offices[i].code, code);
    }
    EXPECT_EQ(offices[102].code, "120");
    EXPECT_EQ(offices[103].code, "121");
}

// Card numbers: the test numbers the card brands publish, and numbers built on the rules.
struct CardCase
{
    const char *text;
    int cardClass;
};

class CardNumber : public testing::TestWithParam<CardCase>
{
};

TEST_P(CardNumber, GivesTheClass)
{
    EXPECT_EQ(CardCheck(GetParam().text), GetParam().cardClass) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Brands, CardNumber,
    testing::Values(CardCase{"4111111111111111", 2}, CardCase{"4012888888881881", 2}, CardCase{"4222222222222", 2},
                    CardCase{"5500000000000004", 3}, CardCase{"5555555555554444", 3}, CardCase{"5105105105105100", 3},
                    CardCase{"340000000000009", 1}, CardCase{"378282246310005", 1}, CardCase{"371449635398431", 1},
                    CardCase{"30569309025904", 1}, CardCase{"38520000023237", 1}, CardCase{"30000000000004", 1},
                    CardCase{"3530111333300000", 1}, CardCase{"3566002020360505", 1}, CardCase{"6011000000000004", 4},
                    CardCase{"6011111111111117", 4}, CardCase{"6011000990139424", 4},
                    // A number that passes the Luhn test but begins with "2" has class 0.
                    CardCase{"2223003122003222", 0}));

INSTANTIATE_TEST_SUITE_P(Rules, CardNumber,
                         testing::Values(
                             // One digit off, two digits swapped.
                             CardCase{"4111111111111112", 0}, CardCase{"5500000000000040", 0},
                             CardCase{"378282246310050", 0},
                             // Every first digit: class is that digit minus 2, from -2 to 7.
                             CardCase{"0000000000000", -2}, CardCase{"1000000000009", -1}, CardCase{"2000000000008", 0},
                             CardCase{"7000000000003", 5}, CardCase{"8000000000002", 6}, CardCase{"9000000000001", 7},
                             CardCase{"3200000000000002", 1}, CardCase{"3900000000000005", 1},
                             // A single digit is its own check digit only when it is 0.
                             CardCase{"0", -2}, CardCase{"5", 0},
                             // No digit at all.
                             CardCase{"", 0}, CardCase{"----", 0}, CardCase{"abcdefghijklmnopqrstu", 0},
                             // Separators are skipped.
                             CardCase{"4111-1111-1111-1111", 2}, CardCase{"4111 1111 1111 1111", 2},
                             CardCase{"3-78282246310005", 1},
                             // Only the first 20 characters count: a valid 20-digit number stays valid with more digits
                             // after it (all 21 digits would fail), and digits pushed past the 20th are lost.
                             CardCase{"40000000000000000002", 2}, CardCase{"400000000000000000027", 2},
                             CardCase{"400000000000000000021", 2}, CardCase{"4111 - 1111 - 1111 - 1111", 0}));

struct TypeCase
{
    int cardClass;
    const char *text;
    const char *type;
};

class CardType : public testing::TestWithParam<TypeCase>
{
};

TEST_P(CardType, ComesFromClassAndFirstTwoCharacters)
{
    EXPECT_EQ(CardTypeName(GetParam().cardClass, GetParam().text), GetParam().type) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Table, CardType,
                         testing::Values(TypeCase{1, "30569309025904", "Diner's Club / Carte Blanche"},
                                         TypeCase{1, "36148900647913", "Diner's Club / Carte Blanche"},
                                         TypeCase{1, "38520000023237", "Diner's Club / Carte Blanche"},
                                         TypeCase{1, "340000000000009", "American Express"},
                                         TypeCase{1, "378282246310005", "American Express"},
                                         TypeCase{1, "3100000000000", "JCB"}, TypeCase{1, "3300000000000", "JCB"},
                                         TypeCase{1, "3530111333300000", "JCB"}, TypeCase{1, "3200000000000002", ""},
                                         TypeCase{1, "3900000000000005", ""},
                                         // The type is read from the text, not from its digits.
                                         TypeCase{1, "3-78282246310005", ""}, TypeCase{1, "3", ""}, TypeCase{1, "", ""},
                                         TypeCase{2, "4111111111111111", "Visa"},
                                         TypeCase{3, "5500000000000004", "MasterCard"},
                                         TypeCase{4, "6011000000000004", "Discover"},
                                         // Classes without a type.
                                         TypeCase{0, "4111111111111112", ""}, TypeCase{-2, "0000000000000", ""},
                                         TypeCase{5, "7000000000003", ""}, TypeCase{7, "9000000000001", ""}));

// IBANs: the examples the registry and the banks publish, written in every way a user might.
class Iban : public testing::TestWithParam<Case>
{
};

TEST_P(Iban, ChecksTheRemainder)
{
    EXPECT_EQ(IsValidIban(GetParam().text), GetParam().valid) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Countries, Iban,
                         testing::Values(Case{"GB82WEST12345698765432", true}, Case{"DE89370400440532013000", true},
                                         Case{"IT60X0542811101000000123456", true},
                                         Case{"FR1420041010050500013M02606", true}, Case{"NL91ABNA0417164300", true},
                                         Case{"BE68539007547034", true}, Case{"CH9300762011623852957", true},
                                         Case{"ES9121000418450200051332", true}, Case{"AT611904300234573201", true},
                                         Case{"SM86U0322509800000000270100", true}));

INSTANTIATE_TEST_SUITE_P(
    Writing, Iban,
    testing::Values(Case{"GB82 WEST 1234 5698 7654 32", true}, Case{"IT60 X054 2811 1010 0000 0123 456", true},
                    Case{"  DE89 3704 0044 0532 0130 00  ", true}, Case{"gb82west12345698765432", true},
                    Case{"it60x0542811101000000123456", true}, Case{"IBAN IT60 X054 2811 1010 0000 0123 456", true},
                    Case{"IBANDE89370400440532013000", true}, Case{"iban GB82 WEST 1234 5698 7654 32", true},
                    // Only the first "IBAN" goes.
                    Case{"IBANIBANGB82WEST12345698765432", false},
                    // One character changed, two swapped, the check digits wrong.
                    Case{"GB82WEST12345698765433", false}, Case{"GB28WEST12345698765432", false},
                    Case{"IT60X0542811101000000123465", false}, Case{"IT61X0542811101000000123456", false},
                    // Dots, hyphens, tabs and accented letters are not digits once the letters are turned.
                    Case{"IT60.X054.2811.1010.0000.0123.456", false}, Case{"IT60-X054-2811-1010-0000-0123-456", false},
                    Case{"IT60X0542811101000000123456.", false},
                    Case{"IT60X05428111010000001234\xC8"
                         "6",
                         false},
                    Case{"\xE8T60X0542811101000000123456", false}, Case{"IT60\tX0542811101000000123456", false},
                    Case{"", false}, Case{"IBAN", false}));

struct Remainder
{
    const char *text;
    int remainder;
};

class IbanRemainder : public testing::TestWithParam<Remainder>
{
};

TEST_P(IbanRemainder, IsComputedInPieces)
{
    EXPECT_EQ(IbanMod97(GetParam().text), GetParam().remainder) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IbanRemainder,
    testing::Values(Remainder{"GB82WEST12345698765432", 1}, Remainder{"IBANGB82WEST12345698765432", 1},
                    // With check digits 00 the remainder is 98 minus the right ones: 98 - 82 = 16.
                    Remainder{"GB00WEST12345698765432", 16},
                    // Short texts keep their order: 1234 is 12 * 97 + 70.
                    Remainder{"1234", 70}, Remainder{"96", 96}, Remainder{"97", 0}, Remainder{"98", 1},
                    // Long runs of digits cross many pieces; the first four move to the end, giving 10^22 and
                    // 10^40, whose remainders are 25 and 91.
                    Remainder{"0000"
                              "1000000000000000000",
                              25},
                    Remainder{"0000"
                              "1000000000000000000000000000000000000",
                              91},
                    // Nothing left, or something other than digits left.
                    Remainder{"", 0}, Remainder{"IBAN", 0}, Remainder{"GB82 WEST12345698765432", 0},
                    Remainder{"GB82WEST1234569876543.", 0}, Remainder{"+123", 0}));

TEST(IbanLettersToDigits, ReplacesEveryLetterByItsNumber)
{
    EXPECT_EQ(IbanLettersToDigits("ABCXYZ"), "101112333435");
    EXPECT_EQ(IbanLettersToDigits("WEST12345698765432GB82"), "32142829123456987654321611"
                                                             "82");
    EXPECT_EQ(IbanLettersToDigits("A1A2Z"), "10"
                                            "1"
                                            "10"
                                            "2"
                                            "35");
    // Lower case, accented letters and signs stay as they are.
    EXPECT_EQ(IbanLettersToDigits("a.\xC8-9"), "a.\xC8-9");
    EXPECT_EQ(IbanLettersToDigits(""), "");
}

} // namespace
