#include "Commands.h"

#include "BenchSuite.h"
#include "Notation.h"
#include "game/CGameState.h"
#include "opponent/CRandomTable.h"
#include "opponent/Search.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

int RunBench(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CCommandLine cmd("bench", out, err);
    long long depth = 4;
    if (!cmd.Parse(args, { "depth" }) || !cmd.GetInt("depth", 1, kMaxDepth, false, depth))
        return cmd.Exit();

    uint64_t nodes = 0, signature = 14695981039346656037ull;   // FNV-1a's starting value
    double ms = 0.0, slowest = 0.0;
    for (size_t i = 0; i < kBenchSuiteSize; ++i)
    {
        CGameState state(3, 2);
        std::string error;
        if (!CNotation::ParseState(kBenchSuite[i], state, error) || state.IsGameDone())
            return cmd.Fail("suite position " + std::to_string(i + 1) + " is unusable: "
                            + (error.empty() ? "game over" : error), kExitFault);
        // The same table contents for every position keep each count
        // independent of the positions before it.
        CRandomTable::GetInstance()->FillFromSeed(kDefaultSeed);
        const OpponentMove move = FindMove(state, static_cast<int>(depth), 0, &signature);
        if (!move.found)
            return cmd.Fail("no move in suite position " + std::to_string(i + 1), kExitFault);
        nodes += move.nodes;
        ms += move.ms;
        slowest = std::max(slowest, move.ms);
    }

    char buf[64];
    out << "positions " << kBenchSuiteSize << '\n';
    out << "nodes " << nodes << '\n';
    std::snprintf(buf, sizeof buf, "%.1f", ms);
    out << "ms " << buf << '\n';
    out << "nps " << (ms > 0.0 ? static_cast<uint64_t>(nodes * 1000.0 / ms) : 0) << '\n';
    std::snprintf(buf, sizeof buf, "%.2f", slowest);
    out << "slowest-ms " << buf << '\n';
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(signature));
    out << "signature " << buf << '\n';
    return kExitOk;
}
