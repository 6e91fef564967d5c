#include "Notation.h"
#include "TestGames.h"

#include <gtest/gtest.h>

#include <algorithm>

// The start notation is a fresh game; cells are read row by row, stocks are
// 19 minus the tokens on the board, scores come from the rules (a triangle
// is worth 4) and whitespace between the fields is free.
TEST(LabNotation, fields_are_read_into_the_rules_state)
{
    CGameState s(3, 2);
    std::string error;
    ASSERT_TRUE(CNotation::ParseState(CNotation::kStart, s, error)) << error;
    EXPECT_TRUE(SameState(s, CGameState(3, 2)));
    EXPECT_EQ(CNotation::Format(CGameState(3, 2)), "---/----/-----/----/--- g 0");

    ASSERT_TRUE(CNotation::ParseState(" g1g1s13/-g1--/-----/----/--g2\ts   0 ", s, error)) << error;
    EXPECT_TRUE(s.GetCellTokens(0, 2) == 13 && s.GetCellOwner(0, 2) == 1 && s.GetCellOwner(0, 1) == 0);
    EXPECT_TRUE(s.GetCellTokens(4, 2) == 2 && s.GetCellOwner(1, 0) == 2);
    EXPECT_TRUE(s.GetTeamTokens(0) == 14 && s.GetTeamTokens(1) == 6);
    EXPECT_TRUE(s.GetTeamScore(0) == 14 + 4 && s.GetTeamScore(1) == 6);
    EXPECT_TRUE(s.GetCurTeam() == 1 && s.GetNumPasses() == 0);
}

// Written positions read back the same: passes and the team to move as
// written (finished games included), and every position of random games.
TEST(LabNotation, positions_round_trip)
{
    for (const char* text : { "---/----/-----/----/--- s 1", "---/----/-----/----/--- g 2",
                              "g1--/----/-----/----/--- s 2", "g19--/----/-----/----/s19-- s 1" })
    {
        CGameState s(3, 2);
        std::string error;
        ASSERT_TRUE(CNotation::ParseState(text, s, error)) << text << ": " << error;
        EXPECT_EQ(CNotation::Format(s), text);
        EXPECT_EQ(s.IsGameDone(), std::string(text).back() == '2') << text;
    }
    const std::vector<CGameState> positions = RandomGamePositions(11, 40);
    ASSERT_GT(positions.size(), 400u);
    ASSERT_TRUE(std::any_of(positions.begin(), positions.end(),
                            [](const CGameState& p) { return p.GetTeamTokens(0) < 5; }));
    for (const CGameState& original : positions)
    {
        const std::string text = CNotation::Format(original);
        CGameState back(3, 2);
        std::string error;
        ASSERT_TRUE(CNotation::ParseState(text, back, error)) << text << ": " << error;
        ASSERT_TRUE(SameState(original, back)) << text;
    }
}

// Bad notation given to move: exit 2, one line on standard error naming the
// fault, nothing on standard output.
TEST(LabNotation, malformed_and_unreachable_positions_are_rejected)
{
    struct Case { const char* text; const char* says; };
    const Case cases[] = {
        { "---/----/-----/----/--- g 0 x", "three fields" },
        { "---/----/-----/---- g 0", "5 rows" },
        { "--/----/-----/----/--- g 0", "row 0 has 2 cells, expected 3" },
        { "---/----/-----/----/g1g1g1g1 g 0", "row 4 has 4 cells, expected 3" },
        { "---/-g0--/-----/----/--- g 0", "0 tokens" },
        { "---/----/-----/----/--s20 g 0", "20 tokens on one cell" },
        { "---/----/-----/----/--s99999999999999999999 g 0", "on one cell" },
        { "g10g10-/----/-----/----/--- s 0", "Gold has 20 tokens" },
        { "---/----/--x--/----/--- g 0", "unknown cell 'x'" },
        { "---/----/--G1--/----/--- g 0", "unknown cell 'G'" },
        { "---/----/--g--/----/--- g 0", "needs a token count" },
        { "---/----/-----/----/--- x 0", "team to move" },
        { "---/----/-----/----/--- g 3", "0, 1 or 2" },
        { "---/----/-----/----/--- s 0", "no game reaches" },   // Silver first
        { "g1--/----/-----/----/--- g 0", "no game reaches" },  // Gold placed last
    };
    for (const Case& c : cases)
    {
        const LabOutcome o = Lab({ "move", "--pos", c.text, "--depth", "1", "--noise", "0" });
        EXPECT_EQ(o.code, kExitUsage) << c.text;
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
        EXPECT_NE(o.err.find(c.says), std::string::npos) << c.text << " -> " << o.err;
    }
}
