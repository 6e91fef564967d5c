#ifndef VESK_TESTS_LAB_TESTGAMES_H
#define VESK_TESTS_LAB_TESTGAMES_H

#include "game/CGameState.h"

#include <random>
#include <vector>

// Positions met in random games played through the rules: random legal
// placements of any size and occasional passes, so the boards get crowded,
// stocks run low and games end. Every position of every game is returned.
inline std::vector<CGameState> RandomGamePositions(unsigned seed, int games)
{
    std::mt19937 gen(seed);
    std::vector<CGameState> positions;
    for (int g = 0; g < games; ++g)
    {
        CGameState state(3, 2);
        positions.push_back(state);
        while (!state.IsGameDone())
        {
            struct Option { uint32_t row, col; uint8_t tokens; };
            std::vector<Option> options;
            for (uint32_t r = 0; r < state.GetNumRows(); ++r)
                for (uint32_t c = 0; c < state.GetRowLength(r); ++c)
                    for (int t = 1; t <= 19; ++t)
                        if (state.IsMoveLegal(r, c, static_cast<uint8_t>(t)))
                            options.push_back({ r, c, static_cast<uint8_t>(t) });
            // Passing now and then ends games at every stage.
            if (options.empty() || gen() % 12 == 0)
                state.Pass();
            else
            {
                // Small placements are likelier, as in play.
                const Option* pick = &options[gen() % options.size()];
                for (int tries = 0; tries < 3 && pick->tokens > state.GetCellTokens(pick->row, pick->col) + 2; ++tries)
                    pick = &options[gen() % options.size()];
                state.MakeMove(pick->row, pick->col, pick->tokens);
            }
            positions.push_back(state);
        }
    }
    return positions;
}

// True when the two states agree in everything the rules keep.
inline bool SameState(const CGameState& a, const CGameState& b)
{
    if (a.GetNumRows() != b.GetNumRows() || a.GetNumTeams() != b.GetNumTeams()
        || a.GetCurTeam() != b.GetCurTeam() || a.GetNumPasses() != b.GetNumPasses())
        return false;
    for (uint32_t t = 0; t < a.GetNumTeams(); ++t)
        if (a.GetTeamTokens(t) != b.GetTeamTokens(t)
            || a.GetTeamScore(static_cast<uint8_t>(t)) != b.GetTeamScore(static_cast<uint8_t>(t)))
            return false;
    for (uint32_t r = 0; r < a.GetNumRows(); ++r)
        for (uint32_t c = 0; c < a.GetRowLength(r); ++c)
            if (a.GetCellTokens(r, c) != b.GetCellTokens(r, c)
                || a.GetCellOwner(r, c) != b.GetCellOwner(r, c))
                return false;
    return true;
}

#endif
