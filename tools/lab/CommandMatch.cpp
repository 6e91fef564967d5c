#include "Commands.h"

#include "CInvariantChecker.h"
#include "Notation.h"
#include "game/CGameState.h"
#include "opponent/CRandomTable.h"
#include "opponent/Search.h"

#include <algorithm>
#include <cmath>
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

const Strength& GetStrength(const CCommandLine& cmd, const std::string& side)
{
    const std::string name = cmd.Require(side);
    for (const Strength& s : kStrengths)
        if (name == s.name)
            return s;
    throw LabError{ "--" + side + " must be very-easy, easy, normal or hard, got '" + name + "'" };
}

// A game can hold at most 19 * 19 placements (each raises a cell, and a cell
// stops at 19) plus a pass before each and two at the end.
const int kMaxPlies = 2 * 19 * 19 + 2;

std::string MoveText(const OpponentMove& move)
{
    return move.isPass ? "pass" : std::to_string(move.row) + " " + std::to_string(move.col);
}

std::string Percent(double fraction)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %%", 100.0 * fraction);
    return text;
}

// One game of a match, the table already filled: to its end, checking every
// move with check (counted in checked), tracing with trace. Returns 0 when
// Gold wins, 1 when Silver does, 2 on a tie.
int PlayGame(const std::string& named, const Strength* const sides[2], bool check, std::ostream* trace,
             uint64_t& checked)
{
    CGameState state(3, 2);
    std::string error;
    if (check && !CInvariantChecker::CheckState(state, error))
        throw LabError{ named + ", start position: " + error, kExitFault };
    for (int plies = 1; !state.IsGameDone(); ++plies)
    {
        if (plies > kMaxPlies)
            throw LabError{ named + " did not end after " + std::to_string(kMaxPlies) + " moves", kExitFault };
        const uint8_t team = state.GetCurTeam();
        const OpponentMove move = FindMove(state, sides[team]->depth, sides[team]->noise);
        const CGameState before(state);
        const auto where = [&] {
            return named + ", move " + std::to_string(plies) + " (" + kTeamNames[team] + " "
                 + (move.found ? MoveText(move) : "none") + " in " + CNotation::Format(before) + ")";
        };
        if (!move.found)
            throw LabError{ "the search returned no move in " + where(), kExitFault };
        const auto tokens = [&] { return static_cast<uint8_t>(before.GetCellTokens(move.row, move.col) + 1); };
        // Refused before playing: the rules would stop the program on it.
        if (check && !move.isPass && (move.row >= before.GetNumRows() || move.col >= before.GetRowLength(move.row)
                                      || !before.IsMoveLegal(move.row, move.col, tokens())))
            throw LabError{ "illegal move chosen, " + where(), kExitFault };
        PlayMove(state, move);
        if (check && !(move.isPass ? CInvariantChecker::CheckPass(before, state, error)
                                   : CInvariantChecker::CheckPlacement(before, move.row, move.col, tokens(), state, error)))
            throw LabError{ where() + ": " + error, kExitFault };
        checked += check;
        if (trace)
            *trace << named << " move " << plies << ' ' << (team ? "silver " : "gold ") << MoveText(move) << " -> "
                   << CNotation::Format(state) << '\n';
    }
    const int gold = state.GetTeamScore(0), silver = state.GetTeamScore(1);
    return gold > silver ? 0 : gold < silver ? 1 : 2;
}
} // namespace

int RunMatch(CCommandLine& cmd)
{
    const Strength* sides[2] = { &GetStrength(cmd, "gold"), &GetStrength(cmd, "silver") };
    const long long games = cmd.Int("games", 1, 1000000), seed = cmd.Int("seed", 0, 4294967295LL, kDefaultSeed);
    const bool check = cmd.Has("check");

    unsigned results[3] = { 0, 0, 0 };   // Gold's wins, Silver's wins, ties
    uint64_t checked = 0;
    for (long long game = 0; game < games; ++game)
    {
        // Each game its own table, so games differ and any one can be replayed.
        CRandomTable::GetInstance()->FillFromSeed(static_cast<unsigned>(seed + game));
        ++results[PlayGame("game " + std::to_string(game + 1), sides, check, cmd.Has("trace") ? &cmd.out : nullptr, checked)];
    }

    // Gold's score counts a tie as half a win. Wilson's interval, unlike mean
    // +- 1.96 sd, stays meaningful at 0 % and 100 %; treating ties as half a
    // win with binomial variance overstates the spread a little, so the
    // interval errs on the wide side.
    const double n = static_cast<double>(games), p = (results[0] + 0.5 * results[2]) / n;
    const double z = 1.959964, z2n = z * z / n, centre = (p + z2n / 2.0) / (1.0 + z2n);
    const double half = z / (1.0 + z2n) * std::sqrt(p * (1.0 - p) / n + z2n / (4.0 * n));
    cmd.out << "games " << games << '\n'
            << "gold " << sides[0]->name << ": wins " << results[0] << ", losses " << results[1] << ", ties " << results[2] << '\n'
            << "silver " << sides[1]->name << ": wins " << results[1] << ", losses " << results[0] << ", ties " << results[2] << '\n'
            << "gold score " << Percent(p) << " (95 % interval " << Percent(std::max(0.0, centre - half)) << " to "
            << Percent(std::min(1.0, centre + half)) << ")\n";
    if (check)
        cmd.out << "checked " << checked << " moves: every invariant held\n";
    return kExitOk;
}
