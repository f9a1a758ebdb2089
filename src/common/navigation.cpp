#include "common/navigation.h"

#include <charconv>

#include "common/text.h"

namespace velmora {

namespace {

// The card's record number; a number that cannot be read counts as none.
std::optional<std::size_t> cardNumber(std::string_view position)
{
    std::size_t n = 0;
    const auto [ptr, ec] = std::from_chars(position.data(), position.data() + position.size(), n);
    if (ec != std::errc() || ptr != position.data() + position.size() || n == 0)
        return std::nullopt;
    return n;
}

ArrowStep show(std::size_t n)
{
    return {ArrowStep::Kind::Show, n, false};
}

} // namespace

ArrowStep arrowStep(Arrow arrow, std::string_view positionText, std::size_t count)
{
    const std::string position = trimField(positionText);
    // Previous on record 1 does nothing, not even for an empty archive.
    if (arrow == Arrow::Previous && position == "1")
        return {};
    if (count == 0)
        return {ArrowStep::Kind::EmptyArchive, 0, arrow == Arrow::Next};
    const auto n = cardNumber(position);
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
