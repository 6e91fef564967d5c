#include "Commands.h"

#include "BenchSuite.h"
#include "CArgs.h"
#include "CEngineRunner.h"
#include "CTableSource.h"
#include "Notation.h"
#include "game/CGameState.h"

#include <cstdio>
#include <ostream>

int RunBench(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CArgs opts({ "depth" }, { "help" });
    std::string error;
    if (!opts.Parse(args, error))
        return ReportError(err, "bench: " + error);
    if (opts.Has("help"))
    {
        out << kUsage;
        return kExitOk;
    }
    long long depth = 4;
    if (!opts.GetInt("depth", 1, kMaxDepth, false, depth, error))
        return ReportError(err, "bench: " + error);

    // Generated once, so the positions reach the suite in a fixed order.
    const std::vector<int> table = CTableSource::FromSeed(CTableSource::kDefaultSeed);

    uint64_t nodes = 0;
    double ms = 0.0, slowest = 0.0;
    size_t positions = 0;
    for (size_t i = 0; i < kBenchSuiteSize; ++i)
    {
        CGameState state(3, 2);
        if (!CNotation::ParseState(kBenchSuite[i], state, error) || state.IsGameDone())
            return ReportError(err, "bench: suite position " + std::to_string(i + 1)
                                    + " is unusable: " + (error.empty() ? "game over" : error),
                               kExitFault);
        // The same table contents for every position keep each count
        // independent of the positions before it.
        CTableSource::Install(table);
        const CEngineRunner::Result result =
            CEngineRunner::Choose(state, static_cast<int>(depth), 0);
        if (!result.found)
            return ReportError(err, "bench: no move in suite position " + std::to_string(i + 1),
                               kExitFault);
        nodes += result.nodes;
        ms += result.ms;
        if (result.ms > slowest)
            slowest = result.ms;
        ++positions;
    }

    char buf[64];
    out << "positions " << positions << '\n';
    out << "nodes " << nodes << '\n';
    std::snprintf(buf, sizeof buf, "%.1f", ms);
    out << "ms " << buf << '\n';
    out << "nps " << (ms > 0.0 ? static_cast<uint64_t>(nodes * 1000.0 / ms) : 0) << '\n';
    std::snprintf(buf, sizeof buf, "%.2f", slowest);
    out << "slowest-ms " << buf << '\n';
    return kExitOk;
}
