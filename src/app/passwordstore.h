#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The password store of a program folder: the password in force, and its change.
namespace velmora {

// The stored password, decoded and trimmed; empty when there is no store. nullopt when the
// store cannot be read (something other than a regular file, far larger than any store, no
// permission) or holds a value that is not hexadecimal. Never blocks.
std::optional<std::string> readStoredPassword(const std::filesystem::path &store);

enum class PasswordChange {
    Done,
    WrongOld,     // the old password typed is not the one in force
    NotConfirmed, // the new password and its confirmation differ
    Failed,       // the store could not be read or written; it is unchanged
    Busy,         // another workstation held the folder for longer than the wait; nothing changed
};

// Changes the password in force from oldTyped to newTyped, typed a second time as confirm, with
// the checks in the order the user is answered. The whole change, from reading the password in
// force to the rename of its replacement, holds the folder lock: of two workstations changing it
// at once from the same old password, the second finds it already changed.
PasswordChange changeStoredPassword(const std::filesystem::path &store, std::string_view oldTyped,
                                    std::string_view newTyped, std::string_view confirm);

} // namespace velmora
