#include "Commands.h"

#include "CArgs.h"
#include "CEngineRunner.h"
#include "CInvariantChecker.h"
#include "CMatchStats.h"
#include "CTableSource.h"
#include "Notation.h"
#include "game/CGameState.h"

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

std::string MoveText(const LabMove& move)
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

int RunMatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CArgs opts({ "gold", "silver", "games", "seed" }, { "check", "trace", "help" });
    std::string error;
    if (!opts.Parse(args, error))
        return ReportError(err, "match: " + error);
    if (opts.Has("help"))
    {
        out << kUsage;
        return kExitOk;
    }

    const Strength* sides[2] = { nullptr, nullptr };
    const char* optionNames[2] = { "gold", "silver" };
    for (int team = 0; team < 2; ++team)
    {
        if (!opts.Has(optionNames[team]))
            return ReportError(err, std::string("match: missing option --") + optionNames[team]);
        sides[team] = FindStrength(opts.Get(optionNames[team]));
        if (!sides[team])
            return ReportError(err, std::string("match: --") + optionNames[team]
                                    + " must be very-easy, easy, normal or hard, got '"
                                    + opts.Get(optionNames[team]) + "'");
    }
    long long games = 0, seed = CTableSource::kDefaultSeed;
    if (!opts.GetInt("games", 1, 1000000, true, games, error)
        || !opts.GetInt("seed", 0, 4294967295LL, false, seed, error))
        return ReportError(err, "match: " + error);
    const bool check = opts.Has("check");
    const bool trace = opts.Has("trace");

    CMatchStats stats;
    uint64_t movesChecked = 0;
    for (long long game = 0; game < games; ++game)
    {
        // Each game its own table, so games differ and any one can be replayed.
        CTableSource::InstallSeed(static_cast<unsigned>(seed + game));
        CGameState state(3, 2);
        if (check && !CInvariantChecker::CheckState(state, error))
            return ReportError(err, "match: game " + std::to_string(game + 1)
                                    + ", start position: " + error, kExitFault);

        int plies = 0;
        while (!state.IsGameDone())
        {
            if (++plies > kMaxPlies)
                return ReportError(err, "match: game " + std::to_string(game + 1)
                                        + " did not end after " + std::to_string(kMaxPlies)
                                        + " moves", kExitFault);
            const uint8_t team = state.GetCurTeam();
            const CEngineRunner::Result result =
                CEngineRunner::Choose(state, sides[team]->depth, sides[team]->noise);
            const std::string where = "game " + std::to_string(game + 1) + ", move "
                                    + std::to_string(plies) + " ("
                                    + (team == 0 ? "Gold " : "Silver ")
                                    + (result.found ? MoveText(result.move) : "none")
                                    + " in " + CNotation::Format(state) + ")";
            if (!result.found)
                return ReportError(err, "match: the search returned no move in " + where,
                                   kExitFault);
            if (check)
            {
                const LabMove& m = result.move;
                // Refuse before playing: the rules would stop the program on it.
                if (!m.isPass && (m.row >= state.GetNumRows() || m.col >= state.GetRowLength(m.row)
                                  || !state.IsMoveLegal(m.row, m.col,
                                         static_cast<uint8_t>(state.GetCellTokens(m.row, m.col) + 1))))
                    return ReportError(err, "match: illegal move chosen, " + where, kExitFault);
                const CGameState before(state);
                CEngineRunner::Apply(state, m);
                if (!CInvariantChecker::CheckMove(before, m, state, error))
                    return ReportError(err, "match: " + where + ": " + error, kExitFault);
                ++movesChecked;
            }
            else
                CEngineRunner::Apply(state, result.move);

            if (trace)
                out << "game " << game + 1 << " move " << plies << ' '
                    << (team == 0 ? "gold " : "silver ") << MoveText(result.move) << " -> "
                    << CNotation::Format(state) << '\n';
        }
        stats.Add(CMatchStats::ResultOf(state.GetTeamScore(0), state.GetTeamScore(1)));
    }

    double low = 0, high = 0;
    stats.GetInterval(low, high);
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
