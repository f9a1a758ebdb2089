// Any bytes as a safety copy, and as its manifest: the reader refuses or accepts without
// crashing, and whatever it accepts is only the program's own files, as the manifest says.
#include <cstdint>
#include <string>

#include "app/safetycopies.h"
#include "common/sha256.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    if (const auto manifest = velmora::parseManifest(bytes)) {
        // A manifest read in is written out the same and names only the program's files.
        if (velmora::parseManifest(velmora::writeManifest(*manifest)) != manifest)
            __builtin_trap();
        for (const auto &e : manifest->files)
            if (!velmora::isProgramFileName(e.name))
                __builtin_trap();
    }
    const velmora::CopyLimits limits{1 << 20, 64};
    const velmora::CheckedCopy checked = velmora::checkCopyBytes(bytes, limits);
    if (checked.refusal == velmora::Refusal::None) {
        if (checked.files.size() != checked.manifest.files.size())
            __builtin_trap();
        for (std::size_t i = 0; i < checked.files.size(); ++i) {
            const auto &e = checked.manifest.files[i];
            if (checked.files[i].first != e.name || !velmora::isProgramFileName(e.name) ||
                checked.files[i].second.size() != e.size || velmora::sha256Hex(checked.files[i].second) != e.sha256)
                __builtin_trap();
        }
    }
    return 0;
}
