// Writes the first password store of a program folder with the default password, when the
// folder has none; an existing store is never touched. Run by the install step.
#include <cstdio>
#include <filesystem>

#include "app/passwordcodec.h"
#include "common/folderlock.h"
#include "common/settingsfile.h"

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "uso: velmora_firststore <cartella del programma>\n");
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    const std::filesystem::path store = folder / velmora::kPasswordStore;
    // Installing into a folder that a running program already uses: under the folder lock, so a
    // password being changed meanwhile is never overwritten with the default one.
    const velmora::FolderLock lock(folder);
    if (!lock) {
        std::fprintf(stderr, "impossibile usare la cartella %s\n", folder.c_str());
        return 1;
    }
    std::error_code ec;
    // Anything already there, a link included, is the user's: it is never replaced.
    const std::filesystem::file_type there = std::filesystem::symlink_status(store, ec).type();
    if (there != std::filesystem::file_type::not_found)
        return there == std::filesystem::file_type::none ? 1 : 0; // none: it could not be looked at
    const std::string encoded = velmora::EncodeStoredPassword(velmora::passwordKey(velmora::kDefaultPassword));
    if (!velmora::SettingsFile(store).write(velmora::kPasswordSection, velmora::kPasswordKey, encoded)) {
        std::fprintf(stderr, "impossibile scrivere %s\n", store.c_str());
        return 1;
    }
    return 0;
}
