#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/recordfile.h"

namespace velmora {

// The record number a card's position label shows: the text trimmed, decimal digits only,
// naming record 1 or later. nullopt for an empty text, zero, a sign, any other character, or a
// number too large to be a record number.
std::optional<std::size_t> recordNumberFromText(std::string_view text);

// Whether a card's position label names no record (blank once trimmed): the card is new.
bool isNewCard(std::string_view positionText);

// The save and delete of a card screen. The card's record number stays in the screen's
// position label; the store keeps the bytes of the record the card was loaded from or last
// saved to, and writes over or deletes that record only while the archive still holds exactly
// those bytes: another workstation may have changed, moved or removed it meanwhile.
// Nothing is thrown: every failure comes back as the outcome.
class CardStore
{
public:
    enum class Outcome {
        Done,      // written or deleted
        FileError, // the archive could not be used; nothing was written
        Changed,   // the record is no longer what the card loaded; nothing was written
    };

    struct Saved
    {
        Outcome outcome = Outcome::FileError;
        std::size_t number = 0; // when Done, the record the card now stands for
        bool appended = false;  // when Done, whether the card was new and its record added
    };

    // The card now shows record, read from its archive (navigation, a list's choice).
    void hold(std::string record) { m_held = std::move(record); }
    // The card is new: it stands for no record.
    void forget() { m_held.clear(); }
    const std::string &held() const { return m_held; }

    // Saves record as the card's. A new card (blank position) is appended; a stored card is
    // written over its record only while that still holds what the card holds. A position that
    // names no record is a file error. When Done the store holds record.
    [[nodiscard]] Saved save(const RecordFile &archive, std::string_view position, std::string record);

    // Deletes the card's record by copy through tempPath, only while it still holds what the
    // card holds; the archive is never created here. A blank position, or one that names no
    // record, is a file error. When Done the card is new.
    [[nodiscard]] Outcome remove(const RecordFile &archive, std::string_view position,
                                 const std::filesystem::path &tempPath);

private:
    std::string m_held;
};

} // namespace velmora
