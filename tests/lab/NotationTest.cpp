#include "CInvariantChecker.h"
#include "Notation.h"
#include "TestGames.h"

#include <gtest/gtest.h>

namespace
{
CGameState Parsed(const std::string& text)
{
    CGameState state(3, 2);
    std::string error;
    EXPECT_TRUE(CNotation::ParseState(text, state, error)) << text << ": " << error;
    return state;
}

std::string Rejection(const std::string& text)
{
    CGameState state(3, 2);
    std::string error;
    EXPECT_FALSE(CNotation::ParseState(text, state, error)) << "accepted: " << text;
    EXPECT_EQ(error.find('\n'), std::string::npos) << "not one line: " << error;
    return error;
}
} // namespace

// The start notation is exactly a fresh game, and a fresh game writes as it.
TEST(LabNotation, start_position_is_a_fresh_game)
{
    EXPECT_TRUE(SameState(Parsed(CNotation::kStart), CGameState(3, 2)));
    EXPECT_EQ(CNotation::Format(CGameState(3, 2)), "---/----/-----/----/--- g 0");
}

// Cells are read row 0 first, left to right, and the stocks are 19 minus
// each team's tokens on the board.
TEST(LabNotation, cells_rows_and_stocks_are_read_in_order)
{
    const CGameState s = Parsed("g2-s13/----/-----/----/--g1 s 0");
    EXPECT_EQ(s.GetCellTokens(0, 0), 2);
    EXPECT_EQ(s.GetCellOwner(0, 0), 0);
    EXPECT_EQ(s.GetCellOwner(0, 1), 2);
    EXPECT_EQ(s.GetCellTokens(0, 2), 13);
    EXPECT_EQ(s.GetCellOwner(0, 2), 1);
    EXPECT_EQ(s.GetCellTokens(4, 2), 1);
    EXPECT_EQ(s.GetTeamTokens(0), 19 - 3);
    EXPECT_EQ(s.GetTeamTokens(1), 19 - 13);
    EXPECT_EQ(s.GetCurTeam(), 1);
    EXPECT_EQ(s.GetNumPasses(), 0);

    // Whitespace between the fields is free.
    EXPECT_TRUE(SameState(s, Parsed("  g2-s13/----/-----/----/--g1\ts   0 ")));
}

// Scores come from the rules: a triangle Gold owns is worth 4 at once.
TEST(LabNotation, scores_are_recomputed_by_the_rules)
{
    const CGameState s = Parsed("g1g1-/-g1--/-----/----/s1-- g 0");
    EXPECT_EQ(CInvariantChecker::CountTriangles(s, 0), 1);
    EXPECT_EQ(s.GetTeamScore(0), s.GetTeamTokens(0) + 4);
    EXPECT_EQ(s.GetTeamScore(1), s.GetTeamTokens(1));
    std::string error;
    EXPECT_TRUE(CInvariantChecker::CheckState(s, error)) << error;
}

// Pass counts and the team to move come out as written, including a
// finished game.
TEST(LabNotation, passes_and_team_to_move_are_reachable_as_written)
{
    const char* const cases[] = {
        "---/----/-----/----/--- s 1",   // Gold passed first
        "---/----/-----/----/--- g 2",   // both passed: over
        "g1--/----/-----/----/--- s 0",
        "g1--/----/-----/----/--- g 1",
        "g1--/----/-----/----/--- s 2",
        "g1--/----/-----/----/s4-- g 0",
        "g1--/----/-----/----/s4-- s 1",
        "g1--/----/-----/----/s4-- g 2",
        "g19--/----/-----/----/s19-- s 1",
    };
    for (const char* text : cases)
    {
        const CGameState s = Parsed(text);
        EXPECT_EQ(CNotation::Format(s), text);
        EXPECT_EQ(s.IsGameDone(), std::string(text).back() == '2') << text;
    }
}

// Every position of many random games survives writing and reading back,
// with stocks, scores, turn and passes intact.
TEST(LabNotation, positions_from_play_round_trip)
{
    const std::vector<CGameState> positions = RandomGamePositions(11, 40);
    ASSERT_GT(positions.size(), 400u);
    for (const CGameState& original : positions)
    {
        const std::string text = CNotation::Format(original);
        CGameState back(3, 2);
        std::string error;
        ASSERT_TRUE(CNotation::ParseState(text, back, error)) << text << ": " << error;
        ASSERT_TRUE(SameState(original, back)) << text;
        ASSERT_EQ(CNotation::Format(back), text);
    }
}

// Every kind of bad notation is refused with a message that says what is
// wrong, never with a crash or an assertion.
TEST(LabNotation, malformed_text_is_rejected_with_a_reason)
{
    struct Case { const char* text; const char* says; };
    const Case cases[] = {
        { "", "three fields" },
        { "---/----/-----/----/---", "three fields" },
        { "---/----/-----/----/--- g 0 x", "three fields" },
        { "---/----/-----/---- g 0", "5 rows" },
        { "---/----/-----/----/---/--- g 0", "5 rows" },
        { "--/----/-----/----/--- g 0", "row 0 has 2 cells, expected 3" },
        { "---/----/------/----/--- g 0", "row 2 has 6 cells, expected 5" },
        { "---/----/-----/----/g1g1g1g1 g 0", "row 4 has 4 cells, expected 3" },
        { "---/-g0--/-----/----/--- g 0", "0 tokens" },
        { "---/----/--g00-/----/--- g 0", "0 tokens" },
        { "---/----/-----/----/--s20 g 0", "20 tokens on one cell" },
        { "---/----/-----/----/--s99999999999999999999 g 0", "on one cell" },
        { "g10g10-/----/-----/----/--- s 0", "Gold has 20 tokens" },
        { "s10s5-/s5---/-----/----/--- g 0", "Silver has 20 tokens" },
        { "---/----/--x--/----/--- g 0", "unknown cell 'x'" },
        { "---/----/--G1--/----/--- g 0", "unknown cell 'G'" },
        { "---/----/--\x01--/----/--- g 0", "byte 0x01" },
        { "---/----/--g--/----/--- g 0", "needs a token count" },
        { "---/----/---3-/----/--- g 0", "takes no token count" },
        { "---/----/-----/----/--- x 0", "team to move" },
        { "---/----/-----/----/--- gs 0", "team to move" },
        { "---/----/-----/----/--- G 0", "team to move" },
        { "---/----/-----/----/--- g 3", "0, 1 or 2" },
        { "---/----/-----/----/--- g -1", "0, 1 or 2" },
        { "---/----/-----/----/--- g 01", "0, 1 or 2" },
    };
    for (const Case& c : cases)
    {
        const std::string error = Rejection(c.text);
        EXPECT_NE(error.find(c.says), std::string::npos)
            << "for '" << c.text << "' the message was: " << error;
    }
}

// Notation no game can reach is refused: the team that placed last still
// owns its cell, and an empty board means only passes were made.
TEST(LabNotation, unreachable_positions_are_rejected)
{
    const char* const cases[] = {
        "---/----/-----/----/--- s 0",   // Silver to move before anyone moved
        "---/----/-----/----/--- g 1",
        "---/----/-----/----/--- s 2",
        "g1--/----/-----/----/--- g 0",  // Silver must have placed last
        "s1--/----/-----/----/--- g 1",  // Gold placed, then Silver passed
        "g1--/----/-----/----/--- g 2",  // Silver placed, then both passed
    };
    for (const char* text : cases)
        EXPECT_NE(Rejection(text).find("no game reaches"), std::string::npos) << text;
}
