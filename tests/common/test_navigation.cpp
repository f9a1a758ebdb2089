#include <gtest/gtest.h>

#include "common/navigation.h"

using namespace velmora;

namespace {

std::string describe(const ArrowStep &s)
{
    switch (s.kind) {
    case ArrowStep::Kind::Show:
        return "show " + std::to_string(s.record);
    case ArrowStep::Kind::Nothing:
        return "nothing";
    case ArrowStep::Kind::EmptyArchive:
        return s.clearPosition ? "empty, cleared" : "empty";
    }
    return "?";
}

struct ArrowCase
{
    Arrow arrow;
    const char *position;
    std::size_t count;
    const char *expected;
};

class Arrows : public ::testing::TestWithParam<ArrowCase>
{
};

} // namespace

TEST_P(Arrows, MoveAsTheCardRulesSay)
{
    const ArrowCase c = GetParam();
    EXPECT_EQ(describe(arrowStep(c.arrow, c.position, c.count)), c.expected)
        << "position '" << c.position << "' of " << c.count;
}

INSTANTIATE_TEST_SUITE_P(
    Cards, Arrows,
    ::testing::Values(ArrowCase{Arrow::First, "", 3, "show 1"}, ArrowCase{Arrow::Last, "1", 3, "show 3"},
                      ArrowCase{Arrow::First, "", 0, "empty"}, ArrowCase{Arrow::Last, "", 0, "empty"},
                      // Previous: a new card goes to record 1; record 1 stays, even on an empty archive.
                      ArrowCase{Arrow::Previous, "", 3, "show 1"}, ArrowCase{Arrow::Previous, "3", 3, "show 2"},
                      ArrowCase{Arrow::Previous, "1", 3, "nothing"}, ArrowCase{Arrow::Previous, "1", 0, "nothing"},
                      ArrowCase{Arrow::Previous, "", 0, "empty"},
                      // Next: a new card goes to record 1; the last record stays; empty forgets the number.
                      ArrowCase{Arrow::Next, "", 3, "show 1"}, ArrowCase{Arrow::Next, "2", 3, "show 3"},
                      ArrowCase{Arrow::Next, "3", 3, "nothing"}, ArrowCase{Arrow::Next, "2", 0, "empty, cleared"},
                      // A card whose record has gone (the archive shrank elsewhere) steps back inside it.
                      ArrowCase{Arrow::Previous, "9", 3, "show 3"}, ArrowCase{Arrow::Next, "9", 3, "nothing"},
                      ArrowCase{Arrow::Next, " 2 ", 3, "show 3"}, ArrowCase{Arrow::Next, "x", 3, "show 1"}));
