#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "common/folderlock.h"

// Moving consumptions from one bill to another of the same folder. The move is first written
// whole to a small journal beside the bills; the records are then appended to the destination,
// the source rewritten without them, and the journal removed. A move that a crash or a power
// cut stops half way is completed from the journal by the next operation on the bills, in this
// program or another one sharing the folder, or at the next start: each moved consumption ends
// in exactly one of the two bills.
namespace velmora {

inline constexpr const char *kMoveJournal = ".velmora.trasferimento";

// The consumption on a card: its record number and the bytes the card loaded or last saved.
struct CardRecord
{
    std::size_t number = 0;
    std::string held;
};

struct BillMove
{
    enum class Outcome {
        Moved,           // moved consumptions are now at the end of the destination
        FileError,       // a bill or the folder could not be used; a move already journalled is
                         // completed by the next operation on the bills
        Changed,         // the card's record is no longer what the card holds; nothing moved
        Nothing,         // the source holds no consumption
        SameBill,        // source and destination are one file
        DestinationGone, // the destination bill no longer exists
    };
    Outcome outcome = Outcome::FileError;
    std::size_t moved = 0;
    bool emptied = false; // the move took the source's last consumption
};

// Moves the card's consumption (or, without a card, every consumption) of source to the end
// of destination, under the folder lock, after settling any move left half way.
BillMove moveConsumptions(const std::filesystem::path &folder, const std::filesystem::path &source,
                          const std::filesystem::path &destination, const std::optional<CardRecord> &card,
                          std::size_t recordSize);

// Completes a move a crash left half way, if any. False when the bills could not be used; the
// journal then stays for the next attempt.
[[nodiscard]] bool settlePendingMove(const std::filesystem::path &folder);

// The folder lock held for one user action on the bills, with any unfinished move settled
// first, so what the action reads or writes holds each consumption in exactly one bill.
class SettledBills
{
public:
    explicit SettledBills(const std::filesystem::path &folder);
    explicit operator bool() const { return m_settled; }

private:
    FolderLock m_lock;
    bool m_settled = false;
};

// Tests stop the process between two file steps of a move through this; the program never sets it.
void setMoveStepHook(std::function<void()> hook);

} // namespace velmora
