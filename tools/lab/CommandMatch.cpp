#include "Commands.h"

#include "CInvariantChecker.h"
#include "CMatchStats.h"
#include "Notation.h"
#include "game/CGameState.h"
#include "opponent/CRandomTable.h"
#include "opponent/Search.h"

#include <cstdio>
#include <ostream>

namespace
{
// The menu's strengths: search depth and evaluation noise.
struct Strength { const char* name; int depth; int noise; };
const Strength kStrengths[] = {
    { "very-easy", 1, 6 },
    { "easy",      1, 4 },
    { "normal",    2, 2 },
    { "hard",      4, 0 },
};

const Strength* FindStrength(const std::string& name)
{
    for (const Strength& s : kStrengths)
        if (name == s.name)
            return &s;
    return nullptr;
}

// A game can hold at most 19 * 19 placements (each raises a cell, and a cell
// stops at 19) plus a pass before each and two at the end.
const int kMaxPlies = 2 * 19 * 19 + 2;

std::string MoveText(const OpponentMove& move)
{
    if (move.isPass)
        return "pass";
    return std::to_string(move.row) + " " + std::to_string(move.col);
}

std::string Percent(double fraction)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f %%", 100.0 * fraction);
    return buf;
}
} // namespace

int RunMatch(CCommandLine& cmd)
{
    const Strength* sides[2] = { nullptr, nullptr };
    const char* optionNames[2] = { "gold", "silver" };
    for (int team = 0; team < 2; ++team)
    {
        sides[team] = FindStrength(cmd.Require(optionNames[team]));
        if (!sides[team])
            throw LabError{ std::string("--") + optionNames[team] + " must be very-easy, easy, normal or hard, got '"
                            + cmd.Get(optionNames[team]) + "'" };
    }
    const long long games = cmd.Int("games", 1, 1000000), seed = cmd.Int("seed", 0, 4294967295LL, kDefaultSeed);
    const bool check = cmd.Has("check");
    const bool trace = cmd.Has("trace");

    CMatchStats stats;
    uint64_t movesChecked = 0;
    for (long long game = 0; game < games; ++game)
    {
        // Each game its own table, so games differ and any one can be replayed.
        CRandomTable::GetInstance()->FillFromSeed(static_cast<unsigned>(seed + game));
        CGameState state(3, 2);
        const std::string named = "game " + std::to_string(game + 1);
        std::string error;
        if (check && !CInvariantChecker::CheckState(state, error))
            throw LabError{ named + ", start position: " + error, kExitFault };

        int plies = 0;
        while (!state.IsGameDone())
        {
            if (++plies > kMaxPlies)
                throw LabError{ named + " did not end after " + std::to_string(kMaxPlies) + " moves", kExitFault };
            const uint8_t team = state.GetCurTeam();
            const OpponentMove move = FindMove(state, sides[team]->depth, sides[team]->noise);
            const CGameState before(state);
            auto where = [&] {
                return named + ", move " + std::to_string(plies) + " (" + (team == 0 ? "Gold " : "Silver ")
                     + (move.found ? MoveText(move) : "none") + " in " + CNotation::Format(before) + ")";
            };
            if (!move.found)
                throw LabError{ "the search returned no move in " + where(), kExitFault };
            // Refuse before playing: the rules would stop the program on it.
            if (check && !move.isPass
                && (move.row >= state.GetNumRows() || move.col >= state.GetRowLength(move.row)
                    || !state.IsMoveLegal(move.row, move.col, static_cast<uint8_t>(state.GetCellTokens(move.row, move.col) + 1))))
                throw LabError{ "illegal move chosen, " + where(), kExitFault };
            PlayMove(state, move);
            if (check && !(move.isPass ? CInvariantChecker::CheckPass(before, state, error)
                                       : CInvariantChecker::CheckPlacement(before, move.row, move.col,
                                             static_cast<uint8_t>(before.GetCellTokens(move.row, move.col) + 1),
                                             state, error)))
                throw LabError{ where() + ": " + error, kExitFault };
            movesChecked += check;
            if (trace)
                cmd.out << named << " move " << plies << ' ' << (team == 0 ? "gold " : "silver ") << MoveText(move)
                    << " -> " << CNotation::Format(state) << '\n';
        }
        stats.Add(CMatchStats::ResultOf(state.GetTeamScore(0), state.GetTeamScore(1)));
    }

    double low = 0, high = 0;
    stats.GetInterval(low, high);
    std::ostream& out = cmd.out;
    out << "games " << stats.GetGames() << '\n';
    out << "gold " << sides[0]->name << ": wins " << stats.GetGoldWins() << ", losses "
        << stats.GetSilverWins() << ", ties " << stats.GetTies() << '\n';
    out << "silver " << sides[1]->name << ": wins " << stats.GetSilverWins() << ", losses "
        << stats.GetGoldWins() << ", ties " << stats.GetTies() << '\n';
    out << "gold score " << Percent(stats.GetScore()) << " (95 % interval " << Percent(low)
        << " to " << Percent(high) << ")\n";
    if (check)
        out << "checked " << movesChecked << " moves: every invariant held\n";
    return kExitOk;
}
