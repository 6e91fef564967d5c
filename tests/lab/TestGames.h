#ifndef VESK_TESTS_LAB_TESTGAMES_H
#define VESK_TESTS_LAB_TESTGAMES_H

#include "Commands.h"
#include "game/CGameState.h"

#include <random>
#include <sstream>
#include <vector>

// Every position of random games through the rules: random legal placements
// of any size (small ones likelier) and occasional passes.
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
            const uint32_t r = gen() % 5, c = gen() % state.GetRowLength(r);
            const uint8_t t = static_cast<uint8_t>(state.GetCellTokens(r, c) + 1 + gen() % (gen() % 4 ? 2 : 19));
            if (gen() % 12 == 0 || state.GetTeamTokens(state.GetCurTeam()) == 0)
                state.Pass();
            else if (state.IsMoveLegal(r, c, t))
                state.MakeMove(r, c, t);
            else
                continue;
            positions.push_back(state);
        }
    }
    return positions;
}

// True when the two states agree in everything the rules keep.
inline bool SameState(const CGameState& a, const CGameState& b)
{
    bool same = a.GetCurTeam() == b.GetCurTeam() && a.GetNumPasses() == b.GetNumPasses();
    for (uint8_t t = 0; t < 2; ++t)
        same = same && a.GetTeamTokens(t) == b.GetTeamTokens(t) && a.GetTeamScore(t) == b.GetTeamScore(t);
    for (uint32_t r = 0; r < 5; ++r)
        for (uint32_t c = 0; c < a.GetRowLength(r); ++c)
            same = same && a.GetCellTokens(r, c) == b.GetCellTokens(r, c) && a.GetCellOwner(r, c) == b.GetCellOwner(r, c);
    return same;
}

struct LabOutcome { int code; std::string out, err; };

// vesk-lab's commands run in process.
inline LabOutcome Lab(const std::vector<std::string>& args, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = RunLab(args, in, out, err);
    return { code, out.str(), err.str() };
}

#endif
