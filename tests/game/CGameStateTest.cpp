#include "CInvariantChecker.h"
#include "game/CGameState.h"
#include "support/Positions.h"

#include <gtest/gtest.h>

#include <vector>

TEST(GameState, board_layouts_for_sizes_one_three_and_four)
{
    const struct { uint32_t size; std::vector<int> lengths; std::vector<float> offsets; } boards[] = {
        { 1, { 1 }, { 0.0f } },
        { 3, { 3, 4, 5, 4, 3 }, { 1.0f, 0.5f, 0.0f, 0.5f, 1.0f } },
        { 4, { 4, 5, 6, 7, 6, 5, 4 }, { 1.5f, 1.0f, 0.5f, 0.0f, 0.5f, 1.0f, 1.5f } },
    };
    for (const auto& board : boards)
    {
        const CGameState s(board.size, 2);
        ASSERT_EQ(s.GetNumRows(), board.lengths.size());
        for (uint32_t r = 0; r < s.GetNumRows(); ++r)
            EXPECT_EQ(std::make_pair(int(s.GetRowLength(r)), s.GetRowOffset(r)), std::make_pair(board.lengths[r], board.offsets[r])) << r;
    }
}

// Random games on boards of side 1 to 6 for 2 to 4 teams against the rules
// model, move by move: legal exactly when the model says so, and every move
// changes stocks, cells, turn, passes and scores as the model says.
TEST(GameState, random_games_agree_with_the_rules_model)
{
    for (uint32_t size = 1; size <= 6; ++size)
        for (uint8_t teams = 2; teams <= 4; ++teams)
            RandomGames(size * 10 + teams, 2000, size, teams, [&](const CGameState& before, const RandomMove& m,
                                                                 const CGameState& after) {
                if (HasFailure())
                    return;   // the first disagreement only
                std::string error;
                const bool legal = !m.pass && before.IsMoveLegal(m.row, m.col, m.tokens);
                SCOPED_TRACE("side " + std::to_string(size) + ", " + std::to_string(teams) + " teams");
                if (m.pass) {
                    EXPECT_TRUE(CInvariantChecker::CheckPass(before, after, error)) << error;
                    return;
                }
                EXPECT_EQ(legal, CInvariantChecker::IsLegal(before, m.row, m.col, m.tokens)) << m.row << " " << m.col << " " << int(m.tokens);
                EXPECT_TRUE(!legal || CInvariantChecker::CheckPlacement(before, m.row, m.col, m.tokens, after, error)) << error;
            });
}

// Copies and assignments own their cells. A new state, and Reset on any
// board, give a fresh game: every stock 19, every cell empty, Gold to move.
TEST(GameState, copies_are_deep_and_reset_restores_a_fresh_game)
{
    CGameState original = Position("---/----/--g3--/----/--- s 0"), copy(original), assigned(3, 2);
    assigned = original;
    copy.MakeMove(2, 2, 4);
    original.Pass();
    EXPECT_EQ(CNotation::Format(original) + ", " + CNotation::Format(copy) + ", " + CNotation::Format(assigned),
              "---/----/--g3--/----/--- g 1, ---/----/--s4--/----/--- g 0, ---/----/--g3--/----/--- s 0");

    auto fresh = [](const CGameState& s) {
        std::string error;
        bool ok = CInvariantChecker::CheckState(s, error) && s.GetCurTeam() == 0 && s.GetNumPasses() == 0;
        for (uint8_t t = 0; t < s.GetNumTeams(); ++t)
            ok = ok && s.GetTeamTokens(t) == 19 && s.GetTeamScore(t) == 19;
        return ok;
    };
    CGameState played = RandomGames(7, 30, 4, 3).back();
    EXPECT_FALSE(fresh(played));
    played.Reset();
    EXPECT_TRUE(fresh(played));
    EXPECT_TRUE(fresh(CGameState(1, 2)));
    EXPECT_TRUE(fresh(CGameState(3, 2)));
}

// Broken preconditions stop the program with an assertion, in every build type.
TEST(GameStateDeathTest, broken_preconditions_stop_the_program)
{
    CGameState s(3, 2);
    EXPECT_DEATH(s.GetCellTokens(5, 0), "Assertion");
    EXPECT_DEATH(s = CGameState(3, 3), "Assertion");
    EXPECT_DEATH(CGameState(10, 2), "Assertion");
    s.MakeMove(1, 1, 3);
    EXPECT_DEATH(s.MakeMove(1, 1, 3), "Assertion");   // no more than the cell holds
    EXPECT_DEATH(s.MakeMove(0, 0, 20), "Assertion");  // more than the stock
    s.Pass();
    s.Pass();
    EXPECT_DEATH(s.Pass(), "Assertion");
}
