// Any bytes as a record file: counting, reading and decoding must never fail badly.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "common/record.h"
#include "common/recordfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const velmora::RecordLayout layout{10, 5, 250, 0, 1};
    // One file for the whole run, removed when the fuzzer exits.
    static const struct Scratch
    {
        std::string path = "/tmp/velmora-fuzz-" + std::to_string(::getpid()) + ".pro";
        ~Scratch() { std::remove(path.c_str()); }
    } scratch;
    const std::string &path = scratch.path;
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    const velmora::RecordFile file(path, layout.size());
    std::vector<std::string> records;
    if (file.readAll(records)) {
        for (const auto &r : records) {
            const auto values = layout.decode(r);
            for (std::size_t i = 0; i < values.size(); ++i)
                if (values[i].size() > layout.capacity(i))
                    __builtin_trap();
        }
    }
    // Decoding a raw slice of any length is safe too.
    layout.decode(std::string_view(reinterpret_cast<const char *>(data), size));
    return 0;
}
