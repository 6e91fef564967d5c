// The position notation of vesk-lab on arbitrary text. The parser must never
// crash or stop on an assertion; a text it accepts must print back to a text
// that parses to the same position; and a position it builds through the
// rules must satisfy the rules, checked here from scratch: tokens conserved,
// scores equal stock plus 4 for each triangle owned, empty cells owned by
// nobody, and every legal move (and only those) keeping all of that.
#include "Notation.h"
#include "game/CGameState.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const uint32_t kRows = 5;
const uint32_t kLength[kRows] = { 3, 4, 5, 4, 3 };
const float    kOffset[kRows] = { 1.0f, 0.5f, 0.0f, 0.5f, 1.0f };   // in cell widths
const uint8_t  kTeams = 2;
const uint8_t  kNobody = kTeams;

[[noreturn]] void Fail(const char* what, const std::string& text)
{
    std::fprintf(stderr, "notation: %s\n  position: \"%s\"\n", what, text.c_str());
    std::abort();
}

bool Same(const NotationPosition& a, const NotationPosition& b)
{
    for (uint32_t i = 0; i < NotationPosition::kCells; ++i)
        if (a.tokens[i] != b.tokens[i] || a.owner[i] != b.owner[i])
            return false;
    return a.toMove == b.toMove && a.passes == b.passes;
}

struct Cell { uint32_t row, col; float x, y; };

// The board's cells and its triangles, from the cell centres alone: two
// cells touch when their centres are one cell width apart.
const std::vector<Cell>& Cells()
{
    static std::vector<Cell> cells;
    if (cells.empty())
        for (uint32_t r = 0; r < kRows; ++r)
            for (uint32_t c = 0; c < kLength[r]; ++c)
                cells.push_back({ r, c, c + kOffset[r], r * std::sqrt(3.0f) / 2 });
    return cells;
}

bool Touch(const Cell& a, const Cell& b)
{
    return std::fabs(std::hypot(a.x - b.x, a.y - b.y) - 1.0f) < 1e-3f;
}

const std::vector<std::vector<size_t>>& Triangles()
{
    static std::vector<std::vector<size_t>> triangles;
    if (triangles.empty()) {
        const std::vector<Cell>& cells = Cells();
        for (size_t i = 0; i < cells.size(); ++i)
            for (size_t j = i + 1; j < cells.size(); ++j)
                for (size_t k = j + 1; k < cells.size(); ++k)
                    if (Touch(cells[i], cells[j]) && Touch(cells[j], cells[k]) && Touch(cells[i], cells[k]))
                        triangles.push_back({ i, j, k });
        if (triangles.size() != 24)
            Fail("the board model does not have 24 triangles", "");
    }
    return triangles;
}

void CheckInvariants(const CGameState& state, const std::string& text)
{
    if (state.GetNumRows() != kRows || state.GetNumTeams() != kTeams)
        Fail("not the standard board", text);
    for (uint32_t r = 0; r < kRows; ++r)
        if (state.GetRowLength(r) != kLength[r] || state.GetRowOffset(r) != kOffset[r])
            Fail("row layout differs from the standard board", text);

    const std::vector<Cell>& cells = Cells();
    unsigned onBoard[kTeams] = { 0, 0 };
    std::vector<uint8_t> owner(cells.size());
    for (size_t i = 0; i < cells.size(); ++i) {
        const uint8_t tokens = state.GetCellTokens(cells[i].row, cells[i].col);
        owner[i] = state.GetCellOwner(cells[i].row, cells[i].col);
        if ((tokens == 0) != (owner[i] == kNobody) || owner[i] > kNobody)
            Fail("an empty cell has an owner, or a stack has none", text);
        if (owner[i] < kTeams)
            onBoard[owner[i]] += tokens;
    }
    for (uint8_t team = 0; team < kTeams; ++team) {
        if (state.GetTeamTokens(team) + onBoard[team] != CGameState::kStartTokens)
            Fail("tokens not conserved", text);
        unsigned score = state.GetTeamTokens(team);
        for (const std::vector<size_t>& t : Triangles())
            if (owner[t[0]] == team && owner[t[1]] == team && owner[t[2]] == team)
                score += 4;
        if (state.GetTeamScore(team) != score)
            Fail("score is not stock plus 4 per triangle", text);
    }
    if (state.GetCurTeam() >= kTeams || state.GetNumPasses() > kTeams ||
        state.IsGameDone() != (state.GetNumPasses() >= kTeams))
        Fail("turn or pass count out of range", text);
}

// Legality as the rules state it, asked of every cell and count; every legal
// placement is then made on a copy, which must keep the invariants.
void CheckMoves(const CGameState& state, const std::string& text)
{
    const uint8_t team = state.GetCurTeam();
    for (const Cell& cell : Cells()) {
        const uint8_t here = state.GetCellTokens(cell.row, cell.col);
        const bool own = state.GetCellOwner(cell.row, cell.col) == team;
        for (unsigned t = 0; t < 256; ++t) {
            const unsigned purse = state.GetTeamTokens(team) + (own ? here : 0);
            const bool legal = !state.IsGameDone() && t > here && purse >= t;
            if (state.IsMoveLegal(cell.row, cell.col, uint8_t(t)) != legal)
                Fail("IsMoveLegal disagrees with the rules", text);
            if (!legal)
                continue;
            CGameState after(state);
            after.MakeMove(cell.row, cell.col, uint8_t(t));
            CheckInvariants(after, text);
            if (after.GetCellTokens(cell.row, cell.col) != t || after.GetCellOwner(cell.row, cell.col) != team ||
                after.GetCurTeam() != (team + 1) % kTeams || after.GetNumPasses() != 0)
                Fail("a placement did not leave the cell, the turn and the passes as the rules say", text);
        }
    }
    if (!state.IsGameDone()) {
        CGameState after(state);
        after.Pass();
        CheckInvariants(after, text);
        if (after.GetNumPasses() != state.GetNumPasses() + 1)
            Fail("a pass did not count", text);
    }
}

bool OneLine(const std::string& error)
{
    return !error.empty() && error.find('\n') == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    NotationPosition pos;
    std::string error;
    if (!CNotation::Parse(text, pos, error)) {
        if (!OneLine(error))
            Fail("a rejection without a one-line reason", text);
        return 0;
    }

    const std::string printed = CNotation::Format(pos);
    NotationPosition again;
    if (!CNotation::Parse(printed, again, error) || !Same(pos, again))
        Fail("the printed position does not parse back to itself", printed);
    if (CNotation::Format(again) != printed)
        Fail("printing is not canonical", printed);

    CGameState state(3, kTeams);
    if (!CNotation::ToState(pos, state, error)) {
        if (!OneLine(error))
            Fail("an unreachable position without a one-line reason", printed);
        return 0;
    }
    CheckInvariants(state, printed);
    if (!Same(CNotation::FromState(state), pos) || CNotation::Format(state) != printed)
        Fail("the state built from the position reads back differently", printed);
    CheckMoves(state, printed);
    return 0;
}
