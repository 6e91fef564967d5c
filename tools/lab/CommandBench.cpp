#include "Commands.h"

#include "Notation.h"
#include "game/CGameState.h"
#include "opponent/CRandomTable.h"
#include "opponent/Search.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <vector>

namespace
{
// Sampled from engine-against-engine games between all strengths (none of
// them over), then frozen: the bench's node total depends on exactly these.
const char* const kSuite[] = {
    // Openings: the first six moves
    "---/-s2g2-/--g1s1-/----/--- g 0",
    "---/--g1-/--s1--/----/--g1 s 0",
    "---/----/-g1g1--/-g1s2-/--- s 0",
    "---/----/-g1s2s1-/-s1g1-/--- g 0",
    "---/-g1--/---s1-/----/--- g 0",
    "---/---s1/g1----/--g1-/--- s 0",
    "-s1-/----/--g1--/--g1-/--- g 1",
    "-g1-/----/g1----/--s1-/--- s 0",
    "s1--/-g1s1-/--g1g1-/----/--- s 0",
    "---/----/--s2g1-/-s1s1-/--- g 0",
    "g1--/----/-----/----/--- s 0",
    "---/s1---/--g1--/-g1--/--- s 0",
    "---/-g1--/--s2--/----/--- s 0",
    "---/----/-s1---/-g1--/--- g 0",
    "--s1/-s1--/-g1---/g1---/--- s 0",
    "s1--/----/--g1--/-g1g1-/s1-- s 0",
    // Middle games: both stocks at 6 or more
    "-s1s2/--g2-/-g1g1s2-/-g1g1-/--- s 0",
    "---/--g1-/s1s3s3g2-/s1g2s2g1/--- g 0",
    "s1s2s1/-g6s5g1/-s2g3s2-/--g1-/--- g 0",
    "---/--s1s1/-g1g3s1-/-g1--/--- g 0",
    "g1--/-s1g2g1/-s3s1g1-/-s1--/-g1- g 0",
    "g1--/g1s3--/-s1s2g3-/-g3s1s1/--- g 0",
    "---/-s1s1g1/g1-g2g2g1/-s1s5g1/-g1g1 s 0",
    "--g1/-s1s3s1/-s2s2s1-/g2g1g3-/-g1- g 0",
    "---/-g1g1-/-s3g3--/s1s1--/--- g 0",
    "---/-g2s2-/-s2g1s1-/----/--- s 1",
    "g1g1-/-g1--/--s1s1g1/-s1s1-/--- g 0",
    "-s1-/-g2g2g1/g1-g2s5g1/-s1s5g1/-g1g1 s 0",
    "---/-s2g1-/--g2g3-/-s1--/--- s 0",
    "g1g1-/g1s2--/-s1g2s1g1/s1s1g2-/--- g 0",
    "---/s1g3g1s1/s1g5s6g1-/g1g1s1-/--- s 0",
    "---/-s1s3s1/g1-s1s1-/-g3g1-/-g1s1 g 0",
    "-s1s1/-g1s4-/-s2g5g1-/-s2g1s1/--- s 0",
    "---/-s1s1s1/g1-s1--/--g1-/-g1s1 g 0",
    "--s1/----/g1g1g3s1-/s2g1g4s1/--s1 s 0",
    "-s1-/-s1s1-/-g1g3--/-g1--/--- g 0",
    "---/s1s1--/--g3s2-/s1g3s3-/g1g1- s 0",
    "---/----/--s2g1-/-g2s1-/--- s 0",
    "---/----/--s2s1-/-g1g2-/--- s 0",
    "-s1g1/--g1-/g2s1-s1-/----/-s1- s 0",
    // Endings: a stock of 4 or fewer
    "s1s1g1/s1s1g3s4/-s1g5g2g1/-s2g4g2/--s1 g 0",
    "s2s2g1/g1g3g3-/-s3g4s1g1/s1g4g2-/s1-- s 0",
    "g1g1-/g1g3s3-/-s4s4s3-/-g1s4s1/--g1 g 1",
    "-s1g1/g1s1s3g1/-s1g5g2g1/-g2s5s2/s1g2g1 g 0",
    "-g2g1/s1s3g4s2/s1g3g5g3-/-s2s4-/-s1- s 1",
    "---/-g1s4g1/-g1g6s2g1/-s3s4s1/g2s3s1 g 0",
    "s1g2g1/s1s3g4s2/s1g3g5g3-/s1s2s4-/s1s1s1 g 0",
    "s1--/g1g1s3g2/s1g1g5s6g1/-s4g4s1/g2s2- s 0",
    "-g1g1/--g1s2/g2s3s5g4s2/g2s4s3g1/--- g 1",
    "--g1/-s1s3s1/-s2s6s1-/g2g3g3-/g1s2- g 0",
    "---/s1s1g4s1/g1g4s3g2s1/s2g3g3g1/g1s2s1 s 0",
    "-s1g2/g1s1s3s2/-g2g5s3g1/-g2s5s2/s1g2g1 g 0",
    "---/s1s1g4s1/g1s3s3g2s1/g1g3g3-/g1s2s1 g 0",
    "-s1g2/-g4s3s1/-s2s6g4-/g1g3s2-/g1s1s1 s 0",
    "---/-g2s3g2/-g3g5s2-/g1s3s5g3/s1g2g1 s 0",
    "s1--/g1--s1/g1s3g2--/s2s3s2-/g3s3- g 0",
    "s1s1s1/-g2s3-/-g1g3g3-/-g1g4g1/s1-s1 s 0",
    "--s1/s1s2g5s1/-s4g3g4s2/-g3s3g1/--- g 0",
    "s1s2s1/g1s3s3g1/-s3g5s3-/g1s3g2g1/-g1g1 g 0",
    "---/-g2--/g2g4s4g1-/s1s5s3s2/-s2g1 g 0",
    // The heaviest searches a game makes, at depth 4 ("Hard"): the start, for
    // Gold in an engine match, and Silver's first replies. Of the replies to
    // every first move (a pass, or 1 to 19 tokens on each cell) the heaviest
    // are to the pass (the start's tree again, 144,778 nodes), to 2 to 7
    // tokens on the middle cell (72,704 nodes each) and to 1 token there
    // (67,082), whatever the random table.
    "---/----/-----/----/--- g 0",
    "---/----/-----/----/--- s 1",
    "---/----/--g2--/----/--- s 0",
    "---/----/--g1--/----/--- s 0",
};

} // namespace

int RunBench(CCommandLine& cmd)
{
    const int depth = static_cast<int>(cmd.Int("depth", 1, kMaxDepth, 4));
    std::vector<CGameState> suite;
    for (const char* position : kSuite)
    {
        suite.emplace_back(3, 2);
        std::string error;
        if (!CNotation::ParseState(position, suite.back(), error) || suite.back().IsGameDone())
            throw LabError{ "suite position " + std::to_string(suite.size()) + " is unusable: "
                            + (error.empty() ? "game over" : error), kExitFault };
    }

    // A first pass, not timed, leaves the search's memory in place, as for
    // every move of a run but its first: the timed pass measures the search,
    // not the system mapping fresh pages.
    uint64_t nodes = 0, signature = 14695981039346656037ull;   // FNV-1a's starting value
    double ms = 0.0, slowest = 0.0;
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < suite.size(); ++i)
        {
            // The same table contents for every position keep each count
            // independent of the positions before it.
            CRandomTable::GetInstance()->FillFromSeed(kDefaultSeed);
            const OpponentMove move = FindMove(suite[i], depth, 0, pass ? &signature : nullptr);
            if (!move.found)
                throw LabError{ "no move in suite position " + std::to_string(i + 1), kExitFault };
            if (pass == 0)
                continue;
            nodes += move.nodes;
            ms += move.ms;
            slowest = std::max(slowest, move.ms);
        }

    char totals[256];
    std::snprintf(totals, sizeof totals, "positions %zu\nnodes %llu\nms %.1f\nnps %llu\nslowest-ms %.2f\nsignature %016llx\n",
                  suite.size(), static_cast<unsigned long long>(nodes), ms,
                  static_cast<unsigned long long>(ms > 0.0 ? nodes * 1000.0 / ms : 0), slowest,
                  static_cast<unsigned long long>(signature));
    cmd.out << totals;
    return kExitOk;
}
