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
    OpponentMove pass, raise;
    pass.isPass = true;
    raise.row = raise.col = 2;
    const struct { const OpponentMove& move; const char* after; const char* says; } cases[] = {
        { pass, "g1--/----/--s1--/----/--- g 0", "pass" },
        { raise, "g1--/-s1--/-----/----/--- g 0", "" },                      // another cell
        { raise, "g1--/----/--s2--/----/--- g 0", "expected 1 of team 1" },  // raised by two
        { raise, "g1--/----/--s1--/----/s1-- g 0", "changed 2 cells" },
        { pass, "g1--/----/-----/----/--- s 0", "" },                        // turn stayed
    };
    std::string error;
    for (const auto& c : cases)
    {
        EXPECT_FALSE(CInvariantChecker::CheckMove(before, c.move, After(c.after), error)) << c.after;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
    EXPECT_FALSE(CInvariantChecker::CheckMove(After("g1--/----/-----/----/--- s 2"), pass, before, error));
    EXPECT_NE(error.find("over"), std::string::npos) << error;
    EXPECT_TRUE(CInvariantChecker::CheckMove(before, raise, After("g1--/----/--s1--/----/--- g 0"), error)) << error;
}
