// Any text typed into a check dialog: the routines answer without failing badly.
#include <cstdint>
#include <string>

#include "validators/checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace velmora;
    const std::string text(reinterpret_cast<const char *>(data), size);
    IsValidFiscalCode(text);
    IsValidVatNumber(text);
    VatOfficeName(text.substr(0, 3));
    const int cardClass = CardCheck(text);
    if (cardClass < -2 || cardClass > 7)
        __builtin_trap();
    CardTypeName(cardClass, text);
    IsValidIban(text);
    const int rest = IbanMod97(IbanLettersToDigits(text));
    if (rest < 0 || rest > 96)
        __builtin_trap();
    return 0;
}
