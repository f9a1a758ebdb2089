// Any text as a typed number: reading, writing and normalising never fail badly, and the
// number text of a value reads back as a number.
#include <cmath>
#include <cstdint>
#include <string>

#include "common/amount.h"
#include "common/keyfilters.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    if (const auto v = velmora::parseNumber(text)) {
        const std::string t = velmora::numberText(*v);
        if (!velmora::parseNumber(t))
            __builtin_trap();
        velmora::roundedText(*v, 4);
    }
    velmora::normaliseAmount(text);
    if (size > 0) {
        velmora::productCardKey(text.substr(1), text[0]);
        velmora::consumptionKey(text.substr(1), text[0]);
    }
    return 0;
}
