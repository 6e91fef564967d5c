#include "Commands.h"

#include "CArgs.h"
#include "CEngineRunner.h"
#include "CTableSource.h"
#include "Notation.h"
#include "game/CGameState.h"

#include <ostream>

int RunMove(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CArgs opts({ "pos", "depth", "noise", "table" }, { "help" });
    std::string error;
    if (!opts.Parse(args, error))
        return ReportError(err, "move: " + error);
    if (opts.Has("help"))
    {
        out << kUsage;
        return kExitOk;
    }

    long long depth = 0, noise = 0;
    if (!opts.Has("pos"))
        return ReportError(err, "move: missing option --pos");
    if (!opts.GetInt("depth", 1, kMaxDepth, true, depth, error)
        || !opts.GetInt("noise", 0, kMaxNoise, true, noise, error))
        return ReportError(err, "move: " + error);

    CGameState state(3, 2);
    if (!CNotation::ParseState(opts.Get("pos"), state, error))
        return ReportError(err, "move: bad position: " + error);
    if (state.IsGameDone())
        return ReportError(err, "move: the game in this position is over (2 passes in a row), "
                                "there is no move to choose");

    if (!InstallTable(opts, CTableSource::kDefaultSeed, error))
        return ReportError(err, "move: " + error);

    const CEngineRunner::Result result =
        CEngineRunner::Choose(state, static_cast<int>(depth), static_cast<int>(noise));
    if (!result.found)
        return ReportError(err, "move: the search returned no move", kExitFault);

    if (result.move.isPass)
        out << "move pass\n";
    else
        out << "move " << int(result.move.row) << ' ' << int(result.move.col) << '\n';
    out << "nodes " << result.nodes << '\n';
    out << "draws " << result.draws << '\n';
    return kExitOk;
}
