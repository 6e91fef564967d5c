#ifndef VESK_TESTS_SUPPORT_POSITIONS_H
#define VESK_TESTS_SUPPORT_POSITIONS_H

#include "Notation.h"
#include "game/CGameState.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

// A position of the standard board in vesk-lab's notation ("g1--/----/--s2--/----/--- g 0"),
// reached by playing it through the rules.
inline CGameState Position(const std::string& text)
{
    CGameState state(3, 2);
    std::string error;
    EXPECT_TRUE(CNotation::ParseState(text, state, error)) << text << ": " << error;
    return state;
}

// Random games through the rules on a board of any side for any number of
// teams: placements of any size (small ones likelier, some refused), passes
// now and then, likelier after a pass so that games end. A finished game
// gets one more proposal, to be refused, and starts again by Reset.
struct RandomMove { bool pass; uint32_t row, col; uint8_t tokens; };

// Every position reached in `proposals` proposals, the start included; seen
// gets each proposal with the state before and after (the same if refused).
inline std::vector<CGameState> RandomGames(
    unsigned seed, int proposals, uint32_t size = 3, uint8_t teams = 2,
    const std::function<void(const CGameState&, const RandomMove&, const CGameState&)>& seen = nullptr)
{
    std::mt19937 gen(seed);
    CGameState state(size, teams);
    std::vector<CGameState> positions(1, state);
    for (int i = 0; i < proposals; ++i)
    {
        const CGameState before(state);
        const uint32_t r = gen() % state.GetNumRows(), c = gen() % state.GetRowLength(r);
        const bool broke = state.GetTeamTokens(state.GetCurTeam()) == 0 && gen() % 2;
        const RandomMove move = { !state.IsGameDone() && (gen() % 16 < 1u << state.GetNumPasses() || broke), r, c,
                                  uint8_t(state.GetCellTokens(r, c) + gen() % (gen() % 4 ? 3 : 21)) };
        const bool legal = !move.pass && state.IsMoveLegal(r, c, move.tokens);
        move.pass ? state.Pass() : legal ? state.MakeMove(r, c, move.tokens) : void();
        if (seen)
            seen(before, move, state);
        if (before.IsGameDone())
            state.Reset();
        if (move.pass || legal || before.IsGameDone())
            positions.push_back(state);
    }
    return positions;
}

#endif
