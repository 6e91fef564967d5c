#include "Notation.h"

#include "Commands.h"
#include "game/CGameState.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <vector>

const char* const CNotation::kStart = "---/----/-----/----/--- g 0";

namespace
{
bool Refuse(std::string& error, const std::string& why)
{
    error = why;
    return false;
}

// Cells are placed as they are read, after a pass by the other team if need
// be. The team that placed last keeps its first cell back for the end, so
// that the turn and the passes come out as written.
struct Placer
{
    CGameState& state;
    unsigned    last;                     // the team that placed last
    unsigned    onBoard[2] = { 0, 0 };
    struct { uint32_t row = 0, col = 0, tokens = 0; } held;   // no tokens: none held

    Placer(CGameState& state, unsigned last) : state(state), last(last) {}

    void Add(unsigned team, uint32_t row, uint32_t col, unsigned tokens)
    {
        // Over 19 for a team is refused once all is read: placing stops.
        if ((onBoard[team] += tokens) > CGameState::kStartTokens)
            return;
        if (team == last && !held.tokens)
            held = { row, col, tokens };
        else
            Place(team, row, col, tokens);
    }

    void Place(unsigned team, uint32_t row, uint32_t col, unsigned tokens)
    {
        if (state.GetCurTeam() != team)
            state.Pass();
        state.MakeMove(row, col, static_cast<uint8_t>(tokens));
    }
};

// Checks the cells row by row, each cell as it comes, and hands them to placer.
bool ReadCells(const std::string& cells, Placer& placer, std::string& error)
{
    const long rows = std::count(cells.begin(), cells.end(), '/') + 1;
    if (rows != 5)
        return Refuse(error, "the board has 5 rows separated by '/', got " + std::to_string(rows));
    for (uint32_t row = 0, col = 0, at = 0; at <= cells.size();)
    {
        const uint32_t length = placer.state.GetRowLength(row);
        if (at == cells.size() || cells[at] == '/')
        {
            if (col != length)
                return Refuse(error, "row " + std::to_string(row) + " has " + std::to_string(col) + " cells, expected "
                                   + std::to_string(length));
            ++row, ++at, col = 0;
            continue;
        }
        const std::string cell = cells.substr(at, cells.find_first_not_of("0123456789", at + 1) - at);
        const unsigned long tokens = std::strtoul(cell.c_str() + 1, nullptr, 10);   // digits alone: no sign
        const unsigned team = cell[0] == 'g' ? 0 : cell[0] == 's' ? 1 : 2;
        if (cell != "-" && (team == 2 || tokens < 1 || tokens > CGameState::kStartTokens))
            return Refuse(error, "row " + std::to_string(row) + ", column " + std::to_string(col) + ": unknown cell "
                               + Quoted(cell) + " (expected '-', 'g<n>' or 's<n>' with n from 1 to 19)");
        if (team < 2 && col < length)
            placer.Add(team, row, col, tokens);
        at += cell.size(), ++col;
    }
    return true;
}
} // namespace

bool CNotation::ParseState(const std::string& text, CGameState& state, std::string& error)
{
    assert(state.GetNumRows() == 5 && state.GetNumTeams() == 2);
    std::vector<std::string> fields;
    for (size_t at = 0; (at = text.find_first_not_of(" \t\n\r", at)) != std::string::npos;)
    {
        const size_t end = text.find_first_of(" \t\n\r", at);
        fields.push_back(text.substr(at, end - at));
        at = end;
    }
    if (fields.size() != 3)
        return Refuse(error, "a position has three fields 'CELLS TOMOVE PASSES', got " + std::to_string(fields.size()));

    // TOMOVE and PASSES are checked after the cells, but who placed last
    // follows from them: with 1 pass the team to move, else the other.
    const unsigned silver = fields[1] == "s", passes = fields[2][0] - '0';
    state.Reset();
    Placer placer(state, passes == 1 ? silver : !silver);
    if (!ReadCells(fields[0], placer, error))
        return false;
    for (unsigned team = 0; team < 2; ++team)
        if (placer.onBoard[team] > CGameState::kStartTokens)
            return Refuse(error, std::string(kTeamNames[team]) + " has " + std::to_string(placer.onBoard[team])
                               + " tokens on the board, at most 19");
    if (fields[1] != "g" && fields[1] != "s")
        return Refuse(error, "the team to move is 'g' or 's', got " + Quoted(fields[1]));
    if (fields[2].size() != 1 || passes > 2)
        return Refuse(error, "the passes in a row are 0, 1 or 2, got " + Quoted(fields[2]));
    // Without a cell of the team that placed last, only passes were made.
    if (!placer.held.tokens && (placer.onBoard[0] + placer.onBoard[1] > 0 || silver != passes % 2))
        return Refuse(error, std::string("no game reaches this position: with ") + kTeamNames[silver] + " to move and "
                           + fields[2] + (passes == 1 ? " pass, " : " passes, ") + kTeamNames[placer.last]
                           + " placed last but owns no cell");
    if (placer.held.tokens)
        placer.Place(placer.last, placer.held.row, placer.held.col, placer.held.tokens);
    for (unsigned pass = 0; pass < passes; ++pass)
        state.Pass();
    return true;
}

std::string CNotation::Format(const CGameState& state)
{
    std::string out;
    for (uint32_t row = 0; row < state.GetNumRows(); ++row)
        for (uint32_t col = 0; col < state.GetRowLength(row); ++col)
            out += (row && !col ? "/" : "") + FormatCell(state, row, col);
    return out + (state.GetCurTeam() ? " s " : " g ") + std::to_string(state.GetNumPasses());
}

std::string CNotation::FormatCell(const CGameState& state, uint32_t row, uint32_t col)
{
    const unsigned tokens = state.GetCellTokens(row, col);
    return tokens ? (state.GetCellOwner(row, col) ? "s" : "g") + std::to_string(tokens) : "-";
}
