#include "CInvariantChecker.h"

#include "Notation.h"
#include "game/CGameState.h"

#include <cstdlib>

namespace
{
const char* const kTeamNames[2] = { "Gold", "Silver" };

struct CellPlace { uint32_t row; uint32_t col; int x2; int y; };

// Centres in half-cell units: rows are centred on the five-cell middle row.
std::vector<CellPlace> Places()
{
    std::vector<CellPlace> places;
    for (uint32_t r = 0; r < NotationPosition::kRows; ++r)
    {
        const uint32_t len = CNotation::RowLength(r);
        for (uint32_t c = 0; c < len; ++c)
            places.push_back({ r, c, static_cast<int>(2 * c + (NotationPosition::kRows - len)),
                               static_cast<int>(r) });
    }
    return places;
}

bool Touch(const CellPlace& a, const CellPlace& b)
{
    const int dx = std::abs(a.x2 - b.x2);
    const int dy = std::abs(a.y - b.y);
    return (dy == 0 && dx == 2) || (dy == 1 && dx == 1);
}

std::string Where(uint32_t row, uint32_t col)
{
    return "(" + std::to_string(row) + ", " + std::to_string(col) + ")";
}
} // namespace

const std::vector<std::array<int, 3>>& CInvariantChecker::Triangles()
{
    static const std::vector<std::array<int, 3>> triangles = [] {
        std::vector<std::array<int, 3>> out;
        const std::vector<CellPlace> p = Places();
        const int n = static_cast<int>(p.size());
        for (int a = 0; a < n; ++a)
            for (int b = a + 1; b < n; ++b)
                for (int c = b + 1; c < n; ++c)
                    if (Touch(p[a], p[b]) && Touch(p[b], p[c]) && Touch(p[a], p[c]))
                        out.push_back({ a, b, c });
        return out;
    }();
    return triangles;
}

int CInvariantChecker::CountTriangles(const CGameState& state, uint8_t team)
{
    static const std::vector<CellPlace> places = Places();
    int count = 0;
    for (const auto& t : Triangles())
    {
        bool all = true;
        for (int i : t)
            if (state.GetCellOwner(places[i].row, places[i].col) != team)
                all = false;
        if (all)
            ++count;
    }
    return count;
}

bool CInvariantChecker::CheckState(const CGameState& state, std::string& error)
{
    if (state.GetNumRows() != NotationPosition::kRows || state.GetNumTeams() != 2)
    {
        error = "not the standard board of 5 rows and 2 teams";
        return false;
    }
    for (uint32_t r = 0; r < NotationPosition::kRows; ++r)
        if (state.GetRowLength(r) != CNotation::RowLength(r))
        {
            error = "row " + std::to_string(r) + " has " + std::to_string(state.GetRowLength(r))
                  + " cells, expected " + std::to_string(CNotation::RowLength(r));
            return false;
        }
    if (state.GetCurTeam() >= 2)
    {
        error = "team to move is " + std::to_string(state.GetCurTeam());
        return false;
    }
    if (state.GetNumPasses() > 2)
    {
        error = std::to_string(state.GetNumPasses()) + " passes in a row";
        return false;
    }

    unsigned onBoard[2] = { 0, 0 };
    for (uint32_t r = 0; r < NotationPosition::kRows; ++r)
        for (uint32_t c = 0; c < CNotation::RowLength(r); ++c)
        {
            const uint8_t tokens = state.GetCellTokens(r, c);
            const uint8_t owner = state.GetCellOwner(r, c);
            if (tokens == 0 && owner != 2)
            {
                error = "empty cell " + Where(r, c) + " is owned by team " + std::to_string(owner);
                return false;
            }
            if (tokens > 0 && owner >= 2)
            {
                error = "cell " + Where(r, c) + " holds " + std::to_string(tokens)
                      + " tokens but has owner " + std::to_string(owner);
                return false;
            }
            if (tokens > 0)
                onBoard[owner] += tokens;
        }

    for (uint8_t team = 0; team < 2; ++team)
    {
        const unsigned stock = state.GetTeamTokens(team);
        if (stock + onBoard[team] != CGameState::kStartTokens)
        {
            error = std::string(kTeamNames[team]) + " holds " + std::to_string(stock) + " and has "
                  + std::to_string(onBoard[team]) + " on the board: "
                  + std::to_string(stock + onBoard[team]) + " tokens, not 19";
            return false;
        }
        const int expected = static_cast<int>(stock) + 4 * CountTriangles(state, team);
        if (state.GetTeamScore(team) != expected)
        {
            error = std::string(kTeamNames[team]) + " scores " + std::to_string(state.GetTeamScore(team))
                  + ", but stock " + std::to_string(stock) + " and "
                  + std::to_string(CountTriangles(state, team)) + " triangles make "
                  + std::to_string(expected);
            return false;
        }
    }
    return true;
}

bool CInvariantChecker::CheckMove(const CGameState& before, const OpponentMove& move,
                                  const CGameState& after, std::string& error)
{
    if (before.IsGameDone())
    {
        error = "a move was made after the game was over";
        return false;
    }
    const uint8_t mover = before.GetCurTeam();
    if (after.GetCurTeam() != 1 - mover)
    {
        error = "the turn did not pass to the other team";
        return false;
    }

    uint32_t changedRow = 0, changedCol = 0;
    int changed = 0;
    for (uint32_t r = 0; r < NotationPosition::kRows; ++r)
        for (uint32_t c = 0; c < CNotation::RowLength(r); ++c)
            if (before.GetCellTokens(r, c) != after.GetCellTokens(r, c)
                || before.GetCellOwner(r, c) != after.GetCellOwner(r, c))
            {
                changedRow = r;
                changedCol = c;
                ++changed;
            }

    if (move.isPass)
    {
        if (after.GetNumPasses() != before.GetNumPasses() + 1)
        {
            error = "a pass left " + std::to_string(after.GetNumPasses()) + " passes in a row after "
                  + std::to_string(before.GetNumPasses());
            return false;
        }
        if (changed != 0)
        {
            error = "a pass changed cell " + Where(changedRow, changedCol);
            return false;
        }
        for (uint8_t team = 0; team < 2; ++team)
            if (before.GetTeamTokens(team) != after.GetTeamTokens(team)
                || before.GetTeamScore(team) != after.GetTeamScore(team))
            {
                error = std::string("a pass changed ") + kTeamNames[team] + "'s stock or score";
                return false;
            }
    }
    else
    {
        if (move.row >= NotationPosition::kRows || move.col >= CNotation::RowLength(move.row))
        {
            error = "placement on " + Where(move.row, move.col) + ", which is off the board";
            return false;
        }
        const uint8_t old = before.GetCellTokens(move.row, move.col);
        const uint8_t prev = before.GetCellOwner(move.row, move.col);
        const uint8_t placed = static_cast<uint8_t>(old + 1);
        if (!before.IsMoveLegal(move.row, move.col, placed))
        {
            error = std::string(kTeamNames[mover]) + " raised " + Where(move.row, move.col) + " to "
                  + std::to_string(placed) + ", which the rules call illegal";
            return false;
        }
        if (after.GetCellTokens(move.row, move.col) != placed
            || after.GetCellOwner(move.row, move.col) != mover)
        {
            error = "after raising " + Where(move.row, move.col) + " it holds "
                  + std::to_string(after.GetCellTokens(move.row, move.col)) + " tokens of team "
                  + std::to_string(after.GetCellOwner(move.row, move.col)) + ", expected "
                  + std::to_string(placed) + " of team " + std::to_string(mover);
            return false;
        }
        if (changed != 1)
        {
            error = "a placement on " + Where(move.row, move.col) + " changed "
                  + std::to_string(changed) + " cells";
            return false;
        }
        if (after.GetNumPasses() != 0)
        {
            error = "a placement left " + std::to_string(after.GetNumPasses()) + " passes in a row";
            return false;
        }
        int expected[2] = { before.GetTeamTokens(0), before.GetTeamTokens(1) };
        if (prev < 2)
            expected[prev] += old;
        expected[mover] -= placed;
        for (uint8_t team = 0; team < 2; ++team)
            if (after.GetTeamTokens(team) != expected[team])
            {
                error = std::string(kTeamNames[team]) + "'s stock is "
                      + std::to_string(after.GetTeamTokens(team)) + " after the placement on "
                      + Where(move.row, move.col) + ", expected " + std::to_string(expected[team]);
                return false;
            }
    }
    return CheckState(after, error);
}
