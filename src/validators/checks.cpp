#include "validators/checks.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

#include "common/text.h"

namespace velmora {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Values of the characters "0" to "Z" in odd and even positions of a fiscal code. The seven
// characters between "9" and "A" have no value of their own and count 0.
constexpr int kFirstCode = '0';
constexpr int kLastCode = 'Z';
constexpr std::array<int, kLastCode - kFirstCode + 1> kOddValues = {1,  0,  5,  7,  9,  13, 15, 17, 19, 21, // 0-9
                                                                    0,  0,  0,  0,  0,  0,  0, // : ; < = > ? @
                                                                    1,  0,  5,  7,  9,  13, 15, 17, 19, 21,
                                                                    2,  4,  18, 20, 11, 3,  6,  8,  12,     // A-S
                                                                    14, 16, 10, 22, 25, 24, 23};            // T-Z
constexpr std::array<int, kLastCode - kFirstCode + 1> kEvenValues = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9, // 0-9
                                                                     0,  0,  0,  0,  0,  0,  0, // : ; < = > ? @
                                                                     0,  1,  2,  3,  4,  5,  6,  7,  8,  9,
                                                                     10, 11, 12, 13, 14, 15, 16, 17, 18, // A-S
                                                                     19, 20, 21, 22, 23, 24, 25};        // T-Z

// Names as the result message shows them; "Forl\xEC" is "Forlì" in Windows-1252. The two last
// codes are later numbers of the Bologna and Napoli offices.
constexpr std::array<VatOffice, 104> kOffices = {{
    {"001", "Torino"},
    {"002", "Vercelli"},
    {"003", "Novara"},
    {"004", "Cuneo"},
    {"005", "Asti"},
    {"006", "Alessandria"},
    {"007", "Aosta"},
    {"008", "Imperia"},
    {"009", "Savona"},
    {"010", "Genova 1"},
    {"011", "La Spezia"},
    {"012", "Varese"},
    {"013", "Como"},
    {"014", "Sondrio"},
    {"015", "Milano 1"},
    {"016", "Bergamo"},
    {"017", "Brescia 1"},
    {"018", "Pavia"},
    {"019", "Cremona"},
    {"020", "Mantova"},
    {"021", "Bolzano"},
    {"022", "Trento"},
    {"023", "Verona"},
    {"024", "Vicenza"},
    {"025", "Belluno"},
    {"026", "Treviso"},
    {"027", "Venezia"},
    {"028", "Padova"},
    {"029", "Rovigo"},
    {"030", "Udine"},
    {"031", "Gorizia"},
    {"032", "Trieste"},
    {"033", "Piacenza"},
    {"034", "Parma"},
    {"035", "Reggio Emilia"},
    {"036", "Modena"},
    {"037", "Bologna 1"},
    {"038", "Ferrara"},
    {"039", "Ravenna"},
    {"040", "Forl\xEC"},
    {"041", "Pesaro"},
    {"042", "Ancona"},
    {"043", "Macerata"},
    {"044", "Ascoli Piceno"},
    {"045", "Massa Carrara"},
    {"046", "Lucca"},
    {"047", "Pistoia"},
    {"048", "Firenze 1"},
    {"049", "Livorno"},
    {"050", "Pisa"},
    {"051", "Arezzo"},
    {"052", "Siena"},
    {"053", "Grosseto"},
    {"054", "Perugia"},
    {"055", "Terni"},
    {"056", "Viterbo"},
    {"057", "Rieti"},
    {"058", "Roma 1"},
    {"059", "Latina"},
    {"060", "Frosinone"},
    {"061", "Caserta"},
    {"062", "Benevento"},
    {"063", "Napoli 1"},
    {"064", "Avellino"},
    {"065", "Salerno"},
    {"066", "Aquila"},
    {"067", "Teramo"},
    {"068", "Pescara"},
    {"069", "Chieti"},
    {"070", "Campobasso"},
    {"071", "Foggia"},
    {"072", "Bari"},
    {"073", "Taranto"},
    {"074", "Brindisi"},
    {"075", "Lecce"},
    {"076", "Potenza"},
    {"077", "Matera"},
    {"078", "Cosenza"},
    {"079", "Catanzaro"},
    {"080", "Reggio Calabria"},
    {"081", "Trapani"},
    {"082", "Palermo"},
    {"083", "Messina"},
    {"084", "Agrigento"},
    {"085", "Caltanissetta"},
    {"086", "Enna"},
    {"087", "Catania"},
    {"088", "Ragusa"},
    {"089", "Siracusa"},
    {"090", "Sassari"},
    {"091", "Nuoro"},
    {"092", "Cagliari"},
    {"093", "Pordenone"},
    {"094", "Isernia"},
    {"095", "Oristano"},
    {"096", "Monza (Milano 2)"},
    {"097", "Prato (Firenze 2)"},
    {"098", "Brescia 2"},
    {"099", "Chiavari (Genova 2)"},
    {"100", "Roma 2"},
    {"101", "Bologna 2"},
    {"102", "Napoli 2"},
    {"120", "Bologna 2"},
    {"121", "Napoli 2"},
}};

} // namespace

bool IsValidFiscalCode(std::string_view code)
{
    if (code.size() != 16)
        return false;
    int sum = 0;
    for (std::size_t i = 0; i < 15; ++i) {
        const int c = static_cast<unsigned char>(code[i]);
        if (c < kFirstCode || c > kLastCode)
            return false;
        // Positions count from 1, so index 0 is the first odd position.
        sum += (i % 2 == 0 ? kOddValues : kEvenValues)[c - kFirstCode];
    }
    return code[15] == static_cast<char>('A' + sum % 26);
}

bool IsValidVatNumber(std::string_view text)
{
    if (text.size() != 11 || !std::all_of(text.begin(), text.end(), isDigit))
        return false;
    int sum = 0;
    for (std::size_t i = 0; i < 10; ++i) {
        const int d = text[i] - '0';
        if (i % 2 == 0) {
            sum += d;
        } else {
            const int twice = 2 * d;
            sum += twice / 10 + twice % 10;
        }
    }
    const int r = sum % 10;
    const int check = r == 0 ? 0 : 10 - r;
    return text[10] - '0' == check;
}

std::span<const VatOffice> vatOffices()
{
    return kOffices;
}

std::string VatOfficeName(std::string_view code)
{
    for (const VatOffice &office : kOffices)
        if (office.code == code)
            return std::string(office.name);
    return {};
}

int CardCheck(std::string_view text)
{
    std::string digits;
    for (char c : text.substr(0, 20))
        if (isDigit(c))
            digits.push_back(c);
    const std::size_t n = digits.size();
    if (n == 0)
        return 0;
    // Going left from the digit before the check digit, every other digit is doubled.
    int sum = 0;
    for (std::size_t i = n - 1; i >= 1; --i) {
        int d = digits[i - 1] - '0';
        if ((n - i) % 2 == 1) {
            d *= 2;
            if (d >= 10)
                d -= 9;
        }
        sum += d;
    }
    const int r = sum % 10;
    const int expected = r == 0 ? 0 : 10 - r;
    if (digits[n - 1] - '0' != expected)
        return 0;
    return digits[0] - '0' - 2;
}

std::string CardTypeName(int cardClass, std::string_view trimmedText)
{
    switch (cardClass) {
    case 1: {
        const std::string_view prefix = trimmedText.substr(0, 2);
        if (prefix == "30" || prefix == "36" || prefix == "38")
            return "Diner's Club / Carte Blanche";
        if (prefix == "34" || prefix == "37")
            return "American Express";
        if (prefix == "31" || prefix == "33" || prefix == "35")
            return "JCB";
        return {};
    }
    case 2:
        return "Visa";
    case 3:
        return "MasterCard";
    case 4:
        return "Discover";
    default:
        return {};
    }
}

bool IsValidIban(std::string_view text)
{
    std::string compact;
    for (char c : text)
        if (c != ' ')
            compact.push_back(c);
    return IbanMod97(compact) == 1;
}

int IbanMod97(std::string_view text)
{
    std::string iban = upperAZ(text);
    if (const auto at = iban.find("IBAN"); at != std::string::npos)
        iban.erase(at, 4);
    if (iban.size() > 4)
        std::rotate(iban.begin(), iban.begin() + 4, iban.end());
    const std::string digits = IbanLettersToDigits(iban);

    // Pieces keep every intermediate number within nine digits.
    std::string carry;
    std::size_t position = 0;
    std::size_t pieceLength = 9;
    std::int64_t remainder = 0;
    while (position < digits.size()) {
        carry += digits.substr(position, pieceLength);
        if (!std::all_of(carry.begin(), carry.end(), isDigit))
            return 0;
        // At most nine digits, so the number always fits; read without anything that throws.
        std::int64_t piece = 0;
        if (std::from_chars(carry.data(), carry.data() + carry.size(), piece).ec != std::errc())
            return 0;
        remainder = piece % 97;
        carry = std::to_string(remainder);
        position += pieceLength;
        pieceLength = 9 - carry.size();
    }
    return static_cast<int>(remainder);
}

std::string IbanLettersToDigits(std::string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        if (c >= 'A' && c <= 'Z')
            out += std::to_string(c - 'A' + 10);
        else
            out.push_back(c);
    }
    return out;
}

} // namespace velmora
