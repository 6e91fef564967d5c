#include "CInvariantChecker.h"
#include "game/CGameState.h"

#include <gtest/gtest.h>

#include <random>

// Random games on boards of side 1 to 6 for 2 to 4 teams against the rules model: placements of any size (small
// likelier, some refused), passes likelier after a pass, a refused one after the end: legal, and each change, as it says.
TEST(GameState, random_games_agree_with_the_rules_model)
{
    for (uint32_t size = 1; size <= 6; ++size)
        for (uint8_t teams = 2; teams <= 4; ++teams) {
            SCOPED_TRACE("side " + std::to_string(size) + ", " + std::to_string(teams) + " teams");
            std::mt19937 gen(size * 10 + teams);
            CGameState state(size, teams);
            for (int i = 0; i < 2000 && !HasFailure(); ++i) {
                const CGameState before(state);
                const uint32_t r = gen() % state.GetNumRows(), c = gen() % state.GetRowLength(r);
                const bool broke = state.GetTeamTokens(state.GetCurTeam()) == 0 && gen() % 2;
                const bool pass = !state.IsGameDone() && (gen() % 16 < 1u << state.GetNumPasses() || broke);
                const uint8_t tokens = uint8_t(state.GetCellTokens(r, c) + gen() % (gen() % 4 ? 3 : 21));
                const bool legal = !pass && state.IsMoveLegal(r, c, tokens);
                std::string error;
                pass ? state.Pass() : legal ? state.MakeMove(r, c, tokens) : void();
                if (pass) EXPECT_TRUE(CInvariantChecker::CheckPass(before, state, error)) << error;
                else EXPECT_EQ(legal, CInvariantChecker::IsLegal(before, r, c, tokens)) << r << " " << c << " " << int(tokens);
                EXPECT_TRUE(!legal || CInvariantChecker::CheckPlacement(before, r, c, tokens, state, error)) << error;
                if (before.IsGameDone()) state.Reset();
            }
        }
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
    s.Pass(), s.Pass();
    EXPECT_DEATH(s.Pass(), "Assertion");
}
