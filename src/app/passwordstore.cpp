#include "app/passwordstore.h"

#include "app/passwordcodec.h"
#include "common/folderlock.h"
#include "common/settingsfile.h"
#include "common/text.h"

namespace velmora {

std::optional<std::string> readStoredPassword(const std::filesystem::path &store)
{
    const auto stored = SettingsFile(store).readChecked(kPasswordSection, kPasswordKey);
    if (!stored)
        return std::nullopt;
    const auto decoded = DecodeStoredPassword(*stored);
    if (!decoded)
        return std::nullopt;
    return trimField(*decoded);
}

PasswordChange changeStoredPassword(const std::filesystem::path &store, std::string_view oldTyped,
                                    std::string_view newTyped, std::string_view confirm)
{
    const FolderLock lock(store.parent_path());
    if (!lock)
        return lock.timedOut() ? PasswordChange::Busy : PasswordChange::Failed;
    const auto current = readStoredPassword(store);
    if (!current)
        return PasswordChange::Failed;
    if (*current != passwordKey(oldTyped))
        return PasswordChange::WrongOld;
    // Compared as typed: a confirmation differing only in letter case is no confirmation.
    if (trimField(newTyped) != trimField(confirm))
        return PasswordChange::NotConfirmed;
    const std::string encoded = EncodeStoredPassword(passwordKey(newTyped));
    return SettingsFile(store).write(kPasswordSection, kPasswordKey, encoded) ? PasswordChange::Done
                                                                              : PasswordChange::Failed;
}

} // namespace velmora
