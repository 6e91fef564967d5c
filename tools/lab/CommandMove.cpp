#include "Commands.h"

#include "game/CGameState.h"
#include "opponent/Search.h"

#include <ostream>

int RunMove(CCommandLine& cmd)
{
    cmd.Require("pos");
    const long long depth = cmd.Int("depth", 1, kMaxDepth), noise = cmd.Int("noise", 0, kMaxNoise);
    const CGameState state = cmd.Position();
    if (state.IsGameDone())
        throw LabError{ "the game in this position is over (2 passes in a row), there is no move to choose" };
    cmd.InstallTable();

    const OpponentMove move = FindMove(state, static_cast<int>(depth), static_cast<int>(noise));
    if (!move.found)
        throw LabError{ "the search returned no move", kExitFault };
    if (move.isPass)
        cmd.out << "move pass\n";
    else
        cmd.out << "move " << int(move.row) << ' ' << int(move.col) << '\n';
    cmd.out << "nodes " << move.nodes << "\ndraws " << move.draws << '\n';
    return kExitOk;
}
