#include "Commands.h"

#include "Notation.h"
#include "game/CGameState.h"
#include "opponent/Search.h"

#include <istream>
#include <ostream>
#include <sstream>

namespace
{
// Row 4 on top, as on screen; each cell is six characters wide and rows are
// indented by half a cell per missing cell, so neighbours sit diagonally.
void DrawBoard(const CGameState& state, uint8_t human, std::ostream& out)
{
    out << '\n';
    for (int row = static_cast<int>(state.GetNumRows()) - 1; row >= 0; --row)
    {
        const uint32_t len = state.GetRowLength(row);
        std::string line = "  row " + std::to_string(row) + "   ";
        line += std::string((5 - len) * 3, ' ');
        for (uint32_t col = 0; col < len; ++col)
        {
            std::string cell = CNotation::FormatCell(state, row, col);
            const size_t left = (6 - cell.size()) / 2;
            line += std::string(left, ' ') + cell + std::string(6 - left - cell.size(), ' ');
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out << line << '\n';
    }
    out << "  (columns count from 0 at the left end of each row)\n";
    for (uint8_t team = 0; team < 2; ++team)
        out << "  " << kTeamNames[team] << (team == human ? " (you)" : " (opponent)")
            << ": " << int(state.GetTeamTokens(team)) << " in hand, score "
            << int(state.GetTeamScore(team)) << '\n';
    out << "  position: " << CNotation::Format(state) << '\n';
}

void ShowResult(const CGameState& state, std::ostream& out)
{
    const int gold = state.GetTeamScore(0);
    const int silver = state.GetTeamScore(1);
    out << "Game over: " << (gold > silver ? "Gold Wins" : gold < silver ? "Silver Wins" : "Tie")
        << " (" << gold << " to " << silver << ")\n";
}

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return "";
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

const char* const kHelp =
    "Type R C COUNT to add COUNT tokens to the cell in row R, column C (for example\n"
    "'2 2 1'); the cell must end with more tokens than it holds now. Raising your\n"
    "own cell gets its tokens back first. Type 'pass' to pass, 'quit' to stop.\n"
    "Two passes in a row end the game; the score is tokens in hand plus 4 for\n"
    "every triangle of three touching cells you own.\n";

// Reads the human's move; false when input ends or the player quits.
// Explains every refusal and asks again.
bool ReadHumanMove(const CGameState& state, std::istream& in, std::ostream& out,
                   bool& isPass, uint32_t& row, uint32_t& col, uint8_t& total)
{
    const uint8_t team = state.GetCurTeam();
    while (true)
    {
        out << kTeamNames[team] << " to move (R C COUNT, pass, help, quit)> " << std::flush;
        std::string line;
        if (!std::getline(in, line))
        {
            out << "\nInput ended; the game is left unfinished.\n";
            return false;
        }
        line = Trim(line);
        if (line.empty())
            continue;
        if (line == "quit" || line == "exit")
            return false;
        if (line == "help" || line == "?")
        {
            out << kHelp;
            continue;
        }
        if (line == "pass")
        {
            isPass = true;
            return true;
        }

        std::istringstream words(line);
        std::string w[4];
        int n = 0;
        while (n < 4 && words >> w[n])
            ++n;
        long long r = 0, c = 0, count = 0;
        if (n != 3 || !ParseInteger(w[0], r) || !ParseInteger(w[1], c) || !ParseInteger(w[2], count))
        {
            out << "Type three numbers R C COUNT (for example 2 2 1), or pass, help, quit.\n";
            continue;
        }
        if (r < 0 || r >= static_cast<long long>(state.GetNumRows()))
        {
            out << "There is no row " << r << ": rows go from 0 to "
                << state.GetNumRows() - 1 << ".\n";
            continue;
        }
        const long long len = state.GetRowLength(static_cast<uint32_t>(r));
        if (c < 0 || c >= len)
        {
            out << "Row " << r << " has columns 0 to " << len - 1 << ".\n";
            continue;
        }
        if (count < 1)
        {
            out << "COUNT is the number of tokens to add: at least 1.\n";
            continue;
        }
        row = static_cast<uint32_t>(r);
        col = static_cast<uint32_t>(c);
        const long long onCell = state.GetCellTokens(row, col);
        const bool own = onCell > 0 && state.GetCellOwner(row, col) == team;
        const long long stock = state.GetTeamTokens(team);
        const long long available = stock + (own ? onCell : 0);
        // Any count beyond all tokens of the game is refused before adding.
        const long long wanted = onCell + (count > 38 ? 39 : count);
        if (wanted > available
            || !state.IsMoveLegal(row, col, static_cast<uint8_t>(wanted)))
        {
            out << "You cannot add " << count << (count == 1 ? " token" : " tokens")
                << " there: you have " << stock << " in hand"
                << (own ? " plus the " + std::to_string(onCell) + " on your own cell" : "")
                << ".\n";
            continue;
        }
        isPass = false;
        total = static_cast<uint8_t>(wanted);
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
    const uint8_t human = side == "gold" ? 0 : 1;

    CGameState state = cmd.Position();
    cmd.InstallTable();

    std::istream& in = cmd.in;
    std::ostream& out = cmd.out;
    out << "You play " << kTeamNames[human] << " against the opponent at depth " << depth
        << ", noise " << noise << ". Type 'help' for how to move.\n";
    while (true)
    {
        DrawBoard(state, human, out);
        if (state.IsGameDone())
        {
            ShowResult(state, out);
            return kExitOk;
        }
        const uint8_t team = state.GetCurTeam();
        if (team == human)
        {
            if (state.GetTeamTokens(team) == 0)
            {
                // With nothing in hand no placement is legal: pass for the player.
                out << "You have no tokens in hand, so you pass.\n";
                state.Pass();
                continue;
            }
            bool isPass = false;
            uint32_t row = 0, col = 0;
            uint8_t total = 0;
            if (!ReadHumanMove(state, in, out, isPass, row, col, total))
                return kExitOk;
            if (isPass)
                state.Pass();
            else
                state.MakeMove(row, col, total);
        }
        else
        {
            const OpponentMove move = FindMove(state, static_cast<int>(depth), static_cast<int>(noise));
            if (!move.found)
                throw LabError{ "the opponent found no move", kExitFault };
            if (move.isPass)
                out << kTeamNames[team] << " passes.\n";
            else
            {
                const int now = state.GetCellTokens(move.row, move.col) + 1;
                out << kTeamNames[team] << " places on " << int(move.row) << ' ' << int(move.col)
                    << " (now " << now << (now == 1 ? " token" : " tokens") << ").\n";
            }
            PlayMove(state, move);
        }
    }
}
