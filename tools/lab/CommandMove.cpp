#include "Commands.h"

#include "Notation.h"
#include "game/CGameState.h"
#include "opponent/Search.h"

#include <ostream>

int RunMove(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CCommandLine cmd("move", out, err);
    long long depth = 0, noise = 0;
    if (!cmd.Parse(args, { "pos", "depth", "noise", "table" }))
        return cmd.Exit();
    if (!cmd.Has("pos"))
        return cmd.Fail("missing option --pos");
    if (!cmd.GetInt("depth", 1, kMaxDepth, true, depth) || !cmd.GetInt("noise", 0, kMaxNoise, true, noise))
        return cmd.Exit();

    CGameState state(3, 2);
    std::string error;
    if (!CNotation::ParseState(cmd.Get("pos"), state, error))
        return cmd.Fail("bad position: " + error);
    if (state.IsGameDone())
        return cmd.Fail("the game in this position is over (2 passes in a row), there is no move to choose");
    if (!cmd.InstallTable())
        return cmd.Exit();

    const OpponentMove move = FindMove(state, static_cast<int>(depth), static_cast<int>(noise));
    if (!move.found)
        return cmd.Fail("the search returned no move", kExitFault);
    if (move.isPass)
        out << "move pass\n";
    else
        out << "move " << int(move.row) << ' ' << int(move.col) << '\n';
    out << "nodes " << move.nodes << '\n';
    out << "draws " << move.draws << '\n';
    return kExitOk;
}
