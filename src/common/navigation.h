#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// The four arrows of every card screen: which record the card shows next, given the record
// number on the card (empty for a new card) and the records in the archive.
namespace velmora {

enum class Arrow { First, Previous, Next, Last };

struct ArrowStep
{
    enum class Kind {
        Show,        // show record `record`
        Nothing,     // stay as it is, without a message
        EmptyArchive // the archive has no records: say so
    };
    Kind kind = Kind::Nothing;
    std::size_t record = 0;
    bool clearPosition = false; // next on an empty archive also forgets the card's number
};

ArrowStep arrowStep(Arrow arrow, std::string_view position, std::size_t count);

} // namespace velmora
