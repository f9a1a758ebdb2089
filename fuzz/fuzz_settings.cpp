// Any bytes as the password store: reading and rewriting it must keep other content.
#include <cstdint>
#include <string>

#include "common/settingsfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string content(reinterpret_cast<const char *>(data), size);
    velmora::iniValue(content, "Accesso", "Valore");
    const std::string written = velmora::iniWithValue(content, "Accesso", "Valore", "4E0D");
    // Whatever the file held, the value written must read back.
    if (velmora::iniValue(written, "Accesso", "Valore") != "4E0D") {
        // A duplicate earlier section without the key cannot hide the written one.
        __builtin_trap();
    }
    return 0;
}
