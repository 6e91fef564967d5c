#include "Commands.h"

#include "BenchSuite.h"
#include "Notation.h"
#include "game/CGameState.h"
#include "opponent/CRandomTable.h"
#include "opponent/Search.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <vector>

int RunBench(CCommandLine& cmd)
{
    const long long depth = cmd.Int("depth", 1, kMaxDepth, 4);
    std::vector<CGameState> suite(kBenchSuiteSize, CGameState(3, 2));
    for (size_t i = 0; i < kBenchSuiteSize; ++i)
    {
        std::string error;
        if (!CNotation::ParseState(kBenchSuite[i], suite[i], error) || suite[i].IsGameDone())
            throw LabError{ "suite position " + std::to_string(i + 1) + " is unusable: "
                            + (error.empty() ? "game over" : error), kExitFault };
    }

    // A first pass, not timed, leaves the search's memory in place, as for
    // every move of a run but its first: the timed pass measures the search,
    // not the system mapping fresh pages.
    uint64_t nodes = 0, signature = 14695981039346656037ull;   // FNV-1a's starting value
    double ms = 0.0, slowest = 0.0;
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < kBenchSuiteSize; ++i)
        {
            // The same table contents for every position keep each count
            // independent of the positions before it.
            CRandomTable::GetInstance()->FillFromSeed(kDefaultSeed);
            const OpponentMove move = FindMove(suite[i], static_cast<int>(depth), 0, pass ? &signature : nullptr);
            if (!move.found)
                throw LabError{ "no move in suite position " + std::to_string(i + 1), kExitFault };
            if (pass == 0)
                continue;
            nodes += move.nodes;
            ms += move.ms;
            slowest = std::max(slowest, move.ms);
        }

    std::ostream& out = cmd.out;
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
