#include "CInvariantChecker.h"
#include "game/CGameState.h"
#include "support/Positions.h"

#include <gtest/gtest.h>

#include <vector>

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
