#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Creating and deleting a bill's file in the program folder, each one step under the folder
// lock so that no other workstation creates, writes or deletes a bill in between.
namespace velmora {

struct BillCreation
{
    enum class Outcome {
        Created,   // path is the new, empty bill file
        NoName,    // nothing left of the name once cleaned
        TooLong,   // the file system cannot hold a file of that name
        Exists,    // a bill of that name exists, in this or another letter case
        FileError, // the folder could not be used (or the folder lock had)
    };
    Outcome outcome = Outcome::FileError;
    std::string name;           // the bill's name as used: forbidden characters replaced, trimmed
    std::filesystem::path path; // the bill's file, once the name is known
};

// Creates the empty file of the bill named typed (Windows-1252), never over an existing file,
// whatever the letter case of its name, and never through a link planted in its place.
BillCreation createBill(const std::filesystem::path &folder, std::string_view typed);

enum class BillDeletion { Deleted, FileError, NotEmpty };

// Deletes one bill file of the folder; a file that is already gone counts as deleted.
BillDeletion deleteBill(const std::filesystem::path &folder, const std::filesystem::path &bill);

// Deletes a bill only while its file is empty (NotEmpty otherwise), so a consumption saved
// meanwhile from another workstation is never lost with it.
BillDeletion deleteEmptyBill(const std::filesystem::path &folder, const std::filesystem::path &bill);

} // namespace velmora
