// Any text as a stored password: decoding never crashes; encoding and decoding round-trip.
#include <cstdint>
#include <string>

#include "app/passwordcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    velmora::DecodeStoredPassword(text);
    const std::string plain = text.substr(0, 255);
    const auto back = velmora::DecodeStoredPassword(velmora::EncodeStoredPassword(plain));
    if (!back || *back != plain)
        __builtin_trap();
    return 0;
}
