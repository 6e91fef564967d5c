#include "CInvariantChecker.h"

#include "game/CGameState.h"

#include <array>
#include <cmath>
#include <map>
#include <vector>

namespace
{
struct Cell { uint32_t row; uint32_t col; };

std::string TeamName(unsigned team)
{
    return team == 0 ? "Gold" : team == 1 ? "Silver" : "team " + std::to_string(team);
}

std::string Where(uint32_t row, uint32_t col)
{
    return "(" + std::to_string(row) + ", " + std::to_string(col) + ")";
}

// The board's cells row after row; depends only on the board's size, so it
// is worked out once per size (the checks run after every move).
const std::vector<Cell>& Cells(const CGameState& state)
{
    static std::map<uint32_t, std::vector<Cell>> bySize;
    std::vector<Cell>& cells = bySize[state.GetNumRows()];
    if (cells.empty())
        for (uint32_t r = 0; r < state.GetNumRows(); ++r)
            for (uint32_t c = 0; c < state.GetRowLength(r); ++c)
                cells.push_back({ r, c });
    return cells;
}

// Every triangle of the board, as indices into Cells(); depends only on the
// board's size, so it is worked out once per size.
const std::vector<std::array<size_t, 3>>& Triangles(const CGameState& state)
{
    static std::map<uint32_t, std::vector<std::array<size_t, 3>>> bySize;
    std::vector<std::array<size_t, 3>>& triangles = bySize[state.GetNumRows()];
    if (!triangles.empty() || state.GetNumRows() == 1)
        return triangles;
    const std::vector<Cell>& cells = Cells(state);
    std::vector<double> x, y;
    for (const Cell& cell : cells)
    {
        x.push_back(state.GetRowOffset(cell.row) + cell.col);
        y.push_back(cell.row * std::sqrt(3.0) / 2);
    }
    auto touch = [&](size_t a, size_t b) { return std::fabs(std::hypot(x[a] - x[b], y[a] - y[b]) - 1) < 1e-6; };
    for (size_t a = 0; a < cells.size(); ++a)
        for (size_t b = a + 1; b < cells.size(); ++b)
            for (size_t c = b + 1; c < cells.size() && touch(a, b); ++c)
                if (touch(b, c) && touch(a, c))
                    triangles.push_back({ a, b, c });
    return triangles;
}

// Whether two states hold the same cells; else how many differ, and where
// the last of them is.
bool SameBoard(const CGameState& a, const CGameState& b, uint32_t& row, uint32_t& col, int& changed)
{
    changed = 0;
    for (const Cell& cell : Cells(a))
        if (a.GetCellTokens(cell.row, cell.col) != b.GetCellTokens(cell.row, cell.col)
            || a.GetCellOwner(cell.row, cell.col) != b.GetCellOwner(cell.row, cell.col))
        {
            row = cell.row;
            col = cell.col;
            ++changed;
        }
    return changed == 0;
}

bool TurnMovedOn(const CGameState& before, const CGameState& after, unsigned passes, std::string& error)
{
    if (before.IsGameDone())
        error = "a move was made after the game was over";
    else if (after.GetCurTeam() != (before.GetCurTeam() + 1) % before.GetNumTeams())
        error = "the turn did not pass to the next team";
    else if (after.GetNumPasses() != passes)
        error = std::to_string(after.GetNumPasses()) + " passes in a row after the move, expected "
              + std::to_string(passes);
    else
        return true;
    return false;
}
} // namespace

bool CInvariantChecker::IsLegal(const CGameState& state, uint32_t row, uint32_t col, unsigned tokens)
{
    if (state.GetNumPasses() >= state.GetNumTeams())
        return false;
    const unsigned held = state.GetCellTokens(row, col);
    const unsigned mover = state.GetCurTeam();
    const unsigned own = state.GetCellOwner(row, col) == mover ? held : 0;
    return tokens > held && state.GetTeamTokens(mover) + own >= tokens;
}

int CInvariantChecker::CountTriangles(const CGameState& state, uint8_t team)
{
    const std::vector<Cell>& cells = Cells(state);
    int count = 0;
    for (const auto& t : Triangles(state))
    {
        bool all = true;
        for (size_t i : t)
            all = all && state.GetCellOwner(cells[i].row, cells[i].col) == team;
        count += all;
    }
    return count;
}

bool CInvariantChecker::CheckState(const CGameState& state, std::string& error)
{
    const unsigned teams = state.GetNumTeams();
    if (state.GetCurTeam() >= teams || state.GetNumPasses() > teams)
    {
        error = "team " + std::to_string(state.GetCurTeam()) + " to move after "
              + std::to_string(state.GetNumPasses()) + " passes, with " + std::to_string(teams) + " teams";
        return false;
    }
    std::vector<unsigned> onBoard(teams, 0);
    for (const Cell& cell : Cells(state))
    {
        const unsigned tokens = state.GetCellTokens(cell.row, cell.col);
        const unsigned owner = state.GetCellOwner(cell.row, cell.col);
        if ((tokens == 0) != (owner == teams) || owner > teams)
        {
            error = "cell " + Where(cell.row, cell.col) + " holds " + std::to_string(tokens)
                  + " tokens and has owner " + std::to_string(owner);
            return false;
        }
        if (owner < teams)
            onBoard[owner] += tokens;
    }
    for (unsigned team = 0; team < teams; ++team)
    {
        const unsigned stock = state.GetTeamTokens(team);
        const int triangles = CountTriangles(state, static_cast<uint8_t>(team));
        const unsigned expected = stock + 4 * triangles;
        if (stock + onBoard[team] != CGameState::kStartTokens)
            error = TeamName(team) + " holds " + std::to_string(stock) + " and has "
                  + std::to_string(onBoard[team]) + " on the board, not 19 in all";
        else if (state.GetTeamScore(static_cast<uint8_t>(team)) != expected)
            error = TeamName(team) + " scores " + std::to_string(state.GetTeamScore(static_cast<uint8_t>(team)))
                  + ", but stock " + std::to_string(stock) + " and " + std::to_string(triangles)
                  + " triangles make " + std::to_string(expected);
        else
            continue;
        return false;
    }
    return true;
}

bool CInvariantChecker::CheckPass(const CGameState& before, const CGameState& after, std::string& error)
{
    if (!TurnMovedOn(before, after, before.GetNumPasses() + 1u, error))
        return false;
    uint32_t row = 0, col = 0;
    int changed = 0;
    if (!SameBoard(before, after, row, col, changed))
    {
        error = "a pass changed cell " + Where(row, col);
        return false;
    }
    for (unsigned team = 0; team < before.GetNumTeams(); ++team)
        if (before.GetTeamTokens(team) != after.GetTeamTokens(team)
            || before.GetTeamScore(static_cast<uint8_t>(team)) != after.GetTeamScore(static_cast<uint8_t>(team)))
        {
            error = "a pass changed " + TeamName(team) + "'s stock or score";
            return false;
        }
    return CheckState(after, error);
}

bool CInvariantChecker::CheckPlacement(const CGameState& before, uint32_t row, uint32_t col, uint8_t tokens,
                                       const CGameState& after, std::string& error)
{
    const unsigned mover = before.GetCurTeam();
    if (!IsLegal(before, row, col, tokens))
    {
        error = TeamName(mover) + " placed " + std::to_string(tokens) + " on " + Where(row, col)
              + ", which the rules forbid";
        return false;
    }
    if (!TurnMovedOn(before, after, 0, error))
        return false;
    uint32_t changedRow = row, changedCol = col;
    int changed = 0;
    SameBoard(before, after, changedRow, changedCol, changed);
    if (changed != 1 || changedRow != row || changedCol != col
        || after.GetCellTokens(row, col) != tokens || after.GetCellOwner(row, col) != mover)
    {
        error = "placing " + std::to_string(tokens) + " on " + Where(row, col) + " changed "
              + std::to_string(changed) + " cells, leaving it " + std::to_string(after.GetCellTokens(row, col))
              + " tokens of team " + std::to_string(after.GetCellOwner(row, col));
        return false;
    }
    // The tokens that lay there go back to their owner; the mover pays.
    std::vector<int> expected;
    for (unsigned team = 0; team < before.GetNumTeams(); ++team)
        expected.push_back(before.GetTeamTokens(team));
    if (before.GetCellOwner(row, col) < before.GetNumTeams())
        expected[before.GetCellOwner(row, col)] += before.GetCellTokens(row, col);
    expected[mover] -= tokens;
    for (unsigned team = 0; team < before.GetNumTeams(); ++team)
        if (after.GetTeamTokens(team) != expected[team])
        {
            error = TeamName(team) + "'s stock is " + std::to_string(after.GetTeamTokens(team))
                  + " after the placement on " + Where(row, col) + ", expected " + std::to_string(expected[team]);
            return false;
        }
    return CheckState(after, error);
}
