#include "common/navigation.h"

#include "common/cardstore.h"

namespace velmora {

namespace {

ArrowStep show(std::size_t n)
{
    return {ArrowStep::Kind::Show, n, false};
}

} // namespace

ArrowStep arrowStep(Arrow arrow, std::string_view positionText, std::size_t count)
{
    // A number that cannot be read counts as none: the card is taken as new.
    const auto n = recordNumberFromText(positionText);
    // Previous on record 1 does nothing, not even for an empty archive.
    if (arrow == Arrow::Previous && n == 1u)
        return {};
    if (count == 0)
        return {ArrowStep::Kind::EmptyArchive, 0, arrow == Arrow::Next};
    switch (arrow) {
    case Arrow::First:
        return show(1);
    case Arrow::Last:
        return show(count);
    case Arrow::Previous:
        return show(n && *n > 1 ? std::min(*n - 1, count) : 1);
    case Arrow::Next:
        if (!n)
            return show(1);
        return *n < count ? show(*n + 1) : ArrowStep{};
    }
    return {};
}

} // namespace velmora
