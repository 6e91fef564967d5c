#include "CInvariantChecker.h"
#include "Notation.h"
#include "game/CGameState.h"

#include <gtest/gtest.h>

namespace
{
CGameState After(const std::string& text)
{
    CGameState state(3, 2);
    std::string error;
    EXPECT_TRUE(CNotation::ParseState(text, state, error)) << error;
    return state;
}
} // namespace

// A position that does not follow from the named move is caught; one that
// does passes.
TEST(LabInvariantChecker, mismatched_moves_are_caught)
{
    const CGameState before = After("g1--/----/-----/----/--- s 0");
    const struct { bool pass; const char* after; const char* says; } cases[] = {
        { true, "g1--/----/--s1--/----/--- g 0", "pass" },
        { false, "g1--/-s1--/-----/----/--- g 0", "changed" },                 // another cell
        { false, "g1--/----/--s2--/----/--- g 0", "2 tokens of team 1" },      // raised by two
        { false, "g1--/----/--s1--/----/s1-- g 0", "changed 2 cells" },
        { true, "g1--/----/-----/----/--- s 0", "turn" },                      // turn stayed
    };
    std::string error;
    for (const auto& c : cases)
    {
        EXPECT_FALSE(c.pass ? CInvariantChecker::CheckPass(before, After(c.after), error)
                            : CInvariantChecker::CheckPlacement(before, 2, 2, 1, After(c.after), error)) << c.after;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
    EXPECT_FALSE(CInvariantChecker::CheckPass(After("g1--/----/-----/----/--- s 2"), before, error));
    EXPECT_NE(error.find("over"), std::string::npos) << error;
    EXPECT_TRUE(CInvariantChecker::CheckPlacement(before, 2, 2, 1, After("g1--/----/--s1--/----/--- g 0"), error)) << error;
}
