// Writes the first password store of a program folder with the default password, when the
// folder has none; an existing store is never touched. Run by the install step.
#include <cstdio>
#include <filesystem>

#include "app/passwordcodec.h"
#include "common/settingsfile.h"

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "uso: velmora_firststore <cartella del programma>\n");
        return 2;
    }
    const std::filesystem::path store = std::filesystem::path(argv[1]) / velmora::kPasswordStore;
    std::error_code ec;
    if (std::filesystem::exists(store, ec))
        return 0;
    const std::string encoded = velmora::EncodeStoredPassword(velmora::passwordKey(velmora::kDefaultPassword));
    if (!velmora::SettingsFile(store).write(velmora::kPasswordSection, velmora::kPasswordKey, encoded)) {
        std::fprintf(stderr, "impossibile scrivere %s\n", store.c_str());
        return 1;
    }
    return 0;
}
