#include "Commands.h"

#include "Notation.h"
#include "game/CGameState.h"
#include "opponent/Search.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <sstream>

namespace
{
// Row 4 on top, as on screen; each cell is six characters wide and rows are
// indented by half a cell per missing cell, so neighbours sit diagonally.
void DrawBoard(const CGameState& state, unsigned human, std::ostream& out)
{
    out << '\n';
    for (uint32_t row = state.GetNumRows(); row-- > 0;)
    {
        const uint32_t length = state.GetRowLength(row);
        std::string line = "  row " + std::to_string(row) + "   " + std::string((5 - length) * 3, ' ');
        for (uint32_t col = 0; col < length; ++col)
        {
            const std::string cell = CNotation::FormatCell(state, row, col);
            const size_t left = (6 - cell.size()) / 2;
            line += std::string(left, ' ') + cell + std::string(6 - left - cell.size(), ' ');
        }
        out << line.erase(line.find_last_not_of(' ') + 1) << '\n';
    }
    out << "  (columns count from 0 at the left end of each row)\n";
    for (unsigned team = 0; team < 2; ++team)
        out << "  " << kTeamNames[team] << (team == human ? " (you)" : " (opponent)") << ": "
            << int(state.GetTeamTokens(team)) << " in hand, score " << int(state.GetTeamScore(team)) << '\n';
    out << "  position: " << CNotation::Format(state) << '\n';
}

const char* const kHelp =
    "Type R C COUNT to add COUNT tokens to the cell in row R, column C (for example\n"
    "'2 2 1'); the cell must end with more tokens than it holds now. Raising your\n"
    "own cell gets its tokens back first. Type 'pass' to pass, 'quit' to stop.\n"
    "Two passes in a row end the game; the score is tokens in hand plus 4 for\n"
    "every triangle of three touching cells you own.\n";

// Plays the placement typed as "R C COUNT"; else says why not.
std::string TryPlacement(CGameState& state, const std::string& line)
{
    std::istringstream words(line);
    std::string w[4];
    int n = 0;
    while (n < 4 && words >> w[n])
        ++n;
    long long r = 0, c = 0, count = 0;
    if (n != 3 || !ParseInteger(w[0], r) || !ParseInteger(w[1], c) || !ParseInteger(w[2], count))
        return "Type three numbers R C COUNT (for example 2 2 1), or pass, help, quit.";
    if (r < 0 || r >= state.GetNumRows())
        return "There is no row " + std::to_string(r) + ": rows go from 0 to " + std::to_string(state.GetNumRows() - 1) + ".";
    if (c < 0 || c >= state.GetRowLength(r))
        return "Row " + std::to_string(r) + " has columns 0 to " + std::to_string(state.GetRowLength(r) - 1) + ".";
    if (count < 1)
        return "COUNT is the number of tokens to add: at least 1.";
    const unsigned team = state.GetCurTeam(), onCell = state.GetCellTokens(r, c);
    const bool own = onCell > 0 && state.GetCellOwner(r, c) == team;
    // Any count beyond all tokens of the game is refused before adding.
    const uint8_t total = static_cast<uint8_t>(onCell + std::min(count, 39LL));
    if (!state.IsMoveLegal(r, c, total))
        return "You cannot add " + std::to_string(count) + (count == 1 ? " token" : " tokens") + " there: you have "
             + std::to_string(state.GetTeamTokens(team)) + " in hand"
             + (own ? " plus the " + std::to_string(onCell) + " on your own cell" : "") + ".";
    state.MakeMove(r, c, total);
    return "";
}

// Asks until the player moves (true), quits or the input ends (false).
bool PlayerMoves(CGameState& state, std::istream& in, std::ostream& out)
{
    for (std::string line;;)
    {
        out << kTeamNames[state.GetCurTeam()] << " to move (R C COUNT, pass, help, quit)> " << std::flush;
        if (!std::getline(in, line))
        {
            out << "\nInput ended; the game is left unfinished.\n";
            return false;
        }
        line.erase(0, line.find_first_not_of(" \t\r\n"));
        line.erase(line.find_last_not_of(" \t\r\n") + 1);
        if (line.empty())
            continue;
        if (line == "quit" || line == "exit")
            return false;
        if (line == "help" || line == "?")
            out << kHelp;
        else if (line == "pass")
            return state.Pass(), true;
        else if (const std::string refusal = TryPlacement(state, line); !refusal.empty())
            out << refusal << '\n';
        else
            return true;
    }
}
} // namespace

int RunPlay(CCommandLine& cmd)
{
    const long long depth = cmd.Int("depth", 1, kMaxDepth), noise = cmd.Int("noise", 0, kMaxNoise);
    if (cmd.Has("table") && cmd.Has("seed"))
        throw LabError{ "give --table or --seed, not both" };
    const std::string side = cmd.Has("side") ? cmd.Get("side") : "gold";
    if (side != "gold" && side != "silver")
        throw LabError{ "--side must be gold or silver, got '" + side + "'" };
    const unsigned human = side == "silver";
    CGameState state = cmd.Position();
    cmd.InstallTable();

    std::ostream& out = cmd.out;
    out << "You play " << kTeamNames[human] << " against the opponent at depth " << depth << ", noise " << noise
        << ". Type 'help' for how to move.\n";
    for (DrawBoard(state, human, out); !state.IsGameDone(); DrawBoard(state, human, out))
    {
        const unsigned team = state.GetCurTeam();
        if (team != human)
        {
            const OpponentMove move = FindMove(state, static_cast<int>(depth), static_cast<int>(noise));
            if (!move.found)
                throw LabError{ "the opponent found no move", kExitFault };
            out << kTeamNames[team];
            if (move.isPass)
                out << " passes.\n";
            else
            {
                const int now = state.GetCellTokens(move.row, move.col) + 1;
                out << " places on " << int(move.row) << ' ' << int(move.col) << " (now " << now
                    << (now == 1 ? " token" : " tokens") << ").\n";
            }
            PlayMove(state, move);
        }
        else if (state.GetTeamTokens(team) == 0)
        {
            // With nothing in hand no placement is legal: pass for the player.
            out << "You have no tokens in hand, so you pass.\n";
            state.Pass();
        }
        else if (!PlayerMoves(state, cmd.in, out))
            return kExitOk;
    }
    const int gold = state.GetTeamScore(0), silver = state.GetTeamScore(1);
    out << "Game over: " << (gold > silver ? "Gold Wins" : gold < silver ? "Silver Wins" : "Tie") << " (" << gold
        << " to " << silver << ")\n";
    return kExitOk;
}
