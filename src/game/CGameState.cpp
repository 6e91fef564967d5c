#include "game/CGameState.h"
#include "game/Types.h"

#include <algorithm>
#include <cassert>
#include <iterator>
#include <vector>

// Defined here as well, for callers that bind it to a reference.
const uint8_t CGameState::kStartTokens;

namespace
{
// One pair of touching cells in a row, by the index of its left cell, with
// the cells that would complete a triangle with it in the rows below and
// above (kNoCell where that row does not exist). Every triangle has exactly
// one pair of cells in the same row, so walking the pairs counts it once.
struct RowPair { uint8_t left; uint8_t below; uint8_t above; };
const uint8_t kNoCell = 0xff;   // beyond the 217 cells of the largest board

std::vector<RowPair> MakeRowPairs(const CGameState::Row* rows, uint32_t nRows)
{
    std::vector<RowPair> pairs;
    const uint32_t mid = nRows / 2;
    for (uint32_t r = 0; r < nRows; ++r)
        for (uint32_t c = 0; c + 1 < rows[r].length; ++c)
        {
            RowPair pair = { static_cast<uint8_t>(rows[r].index + c), kNoCell, kNoCell };
            if (r > 0)
                pair.below = static_cast<uint8_t>(rows[r - 1].index + (r <= mid ? c : c + 1));
            if (r + 1 < nRows)
                pair.above = static_cast<uint8_t>(rows[r + 1].index + (r < mid ? c + 1 : c));
            pairs.push_back(pair);
        }
    return pairs;
}
}

// ---------------------------------------------------------------------------
// Construction and lifetime

CGameState::CGameState(uint32_t size, uint8_t nTeams)
    : m_nRows(0), m_nCells(0), m_nTeams(0), m_curTeam(0), m_nPasses(0),
      m_rows(nullptr), m_cells(nullptr), m_teams(nullptr), m_inline()
{
    // A board of side 0 would wrap the row count round; one larger than 9 does
    // not fit the 8-bit row records; a game without teams has nobody to move.
    assert(size >= 1 && size <= kMaxBoardSize);
    assert(nTeams >= 1);

    m_nTeams = nTeams;
    m_nRows = 2 * size - 1;
    m_nCells = m_nRows * m_nRows - (size - 1) * size;
    AllocateArrays();

    uint32_t running = 0;
    for (uint32_t i = 0; i < m_nRows; ++i)
    {
        Row& row = m_rows[i];
        row.length = static_cast<uint8_t>(i < size ? size + i : 3 * size - i - 2);
        row.offset = static_cast<uint8_t>(i < size ? (size - i) / 2 : (i - size + 2) / 2);
        row.index = static_cast<uint8_t>(running);
        running += row.length;
    }
    assert(running == m_nCells);

    Reset();
}

void CGameState::CopyArrays(const CGameState& other)
{
    AllocateArrays();
    *this = other;
}

CGameState& CGameState::operator=(const CGameState& other)
{
    assert(m_nTeams == other.m_nTeams);
    assert(m_nRows == other.m_nRows);
    assert(m_nCells == other.m_nCells);

    if (m_rows == m_inline.rows)
    {
        m_inline = other.m_inline;
    }
    else
    {
        std::copy(other.m_teams, other.m_teams + m_nTeams, m_teams);
        std::copy(other.m_cells, other.m_cells + m_nCells, m_cells);
        std::copy(other.m_rows, other.m_rows + m_nRows, m_rows);
    }
    m_nPasses = other.m_nPasses;
    m_curTeam = other.m_curTeam;
    return *this;
}

CGameState::~CGameState()
{
    if (m_rows != m_inline.rows)
    {
        delete[] m_rows;
        delete[] m_cells;
        delete[] m_teams;
    }
}

void CGameState::AllocateArrays()
{
    if (m_nRows <= std::size(m_inline.rows) && m_nCells <= std::size(m_inline.cells)
        && m_nTeams <= std::size(m_inline.teams))
    {
        m_rows = m_inline.rows;
        m_cells = m_inline.cells;
        m_teams = m_inline.teams;
        return;
    }
    m_rows = new Row[m_nRows];
    m_cells = new Cell[m_nCells];
    m_teams = new Team[m_nTeams];
}

void CGameState::Reset()
{
    for (uint32_t i = 0; i < m_nTeams; ++i)
    {
        m_teams[i].tokens = kStartTokens;
        m_teams[i].score = kStartTokens;
    }
    m_curTeam = 0;
    m_nPasses = 0;
    m_inline.owned[0] = m_inline.owned[1] = 0;
    for (uint32_t i = 0; i < m_nCells; ++i)
    {
        m_cells[i].numTokens = 0;
        m_cells[i].owner = m_nTeams;
    }
}

// ---------------------------------------------------------------------------
// Read-only accessors

float CGameState::GetRowOffset(uint32_t row) const
{
    assert(m_rows);
    assert(row < m_nRows);
    // The stored offset is the indent rounded up; rows whose length differs
    // from the middle row's by an odd number sit half a cell further left.
    float offset = static_cast<float>(m_rows[row].offset);
    if (((m_nRows + 1) / 2 + row) % 2 == 0)
        offset -= 0.5f;
    return offset;
}

// ---------------------------------------------------------------------------
// Moves

bool CGameState::IsMoveLegal(uint32_t row, uint32_t col, uint8_t tokens) const
{
    const Cell& cell = CellAt(row, col);
    if (IsGameDone())
        return false;
    if (cell.numTokens >= tokens)
        return false;
    // The mover's own tokens on the cell come back to it before it pays.
    unsigned stock = m_teams[m_curTeam].tokens;
    if (cell.owner == m_curTeam)
        stock += cell.numTokens;
    return stock >= tokens;
}

void CGameState::MakeMove(uint32_t row, uint32_t col, uint8_t tokens)
{
    assert(m_rows);
    assert(m_cells);
    assert(row < m_nRows);
    assert(col < m_rows[row].length);
    assert(!IsGameDone());
    assert(m_cells[m_rows[row].index + col].numTokens < tokens);

    Cell& cell = m_cells[m_rows[row].index + col];
    const bool inlineRecords = m_rows == m_inline.rows;
    const uint32_t bit = inlineRecords ? OwnedBit(row, col) : 0;
    if (cell.owner < m_nTeams)
    {
        m_teams[cell.owner].tokens = static_cast<uint8_t>(m_teams[cell.owner].tokens + cell.numTokens);
        if (inlineRecords)
            m_inline.owned[cell.owner] &= ~bit;
    }
    if (inlineRecords)
        m_inline.owned[m_curTeam] |= bit;

    assert(m_teams[m_curTeam].tokens >= tokens);
    m_teams[m_curTeam].tokens = static_cast<uint8_t>(m_teams[m_curTeam].tokens - tokens);
    cell.numTokens = tokens;
    cell.owner = m_curTeam;

    m_nPasses = 0;
    NextTeam();
    UpdateScores();
}

void CGameState::Pass()
{
    assert(m_nPasses < m_nTeams);
    NextTeam();
    ++m_nPasses;
}

// The turn goes round the teams: (m_curTeam + 1) mod m_nTeams, without the
// division, which costs the search more than the rest of a pass.
void CGameState::NextTeam()
{
    m_curTeam = static_cast<uint8_t>(m_curTeam + 1 == m_nTeams ? 0 : m_curTeam + 1);
}

// Each row of the bits is m_nRows + 1 long (one bit spare, so that rows never
// run into each other) and the cell (r, c) sits at c + max(0, r - mid) in it.
// Cells touching in a row are then one bit apart, and the cell completing a
// triangle with the pair (r, c), (r, c + 1) lies m_nRows + 2 bits above or
// m_nRows + 1 bits below the pair's left cell, on every board. The standard
// board takes 30 bits.
uint32_t CGameState::OwnedBit(uint32_t row, uint32_t col) const
{
    const uint32_t mid = m_nRows / 2;
    return 1u << (row * (m_nRows + 1) + col + (row > mid ? row - mid : 0));
}

namespace
{
int CountBits(uint64_t bits)
{
    bits -= (bits >> 1) & 0x5555555555555555ull;
    bits = (bits & 0x3333333333333333ull) + ((bits >> 2) & 0x3333333333333333ull);
    bits = (bits + (bits >> 4)) & 0x0f0f0f0f0f0f0f0full;
    return static_cast<int>((bits * 0x0101010101010101ull) >> 56);
}
}

// Recomputed from scratch: a capture can break the loser's triangles and
// complete the mover's at the same time.
void CGameState::UpdateScores()
{
    assert(m_teams);
    if (m_rows != m_inline.rows)
    {
        UpdateScoresFromCells();
        return;
    }
    // Kept in locals: every store to a score may alias the members otherwise.
    Team* const teams = m_teams;
    const uint32_t* const owned = m_inline.owned;
    const uint32_t up = m_nRows + 2, down = m_nRows + 1;   // see OwnedBit
    for (uint32_t t = 0, n = m_nTeams; t < n; ++t)
    {
        const uint32_t pairs = owned[t] & (owned[t] >> 1);
        const int triangles = CountBits(static_cast<uint64_t>(pairs & (owned[t] >> up)) << 32
                                        | (pairs & (owned[t] << down)));
        teams[t].score = static_cast<uint8_t>(teams[t].tokens + triangles * kTrianglePoints);
    }
}

// Each triangle has exactly one pair of cells in the same row, so walking
// those pairs counts it once.
void CGameState::UpdateScoresFromCells()
{
    Team* const teams = m_teams;
    const Cell* const cells = m_cells;
    const uint8_t nTeams = m_nTeams;
    for (uint32_t t = 0; t < nTeams; ++t)
        teams[t].score = teams[t].tokens;

    // The pairs depend only on the board's geometry: each list is made once.
    static std::vector<RowPair> lists[2 * kMaxBoardSize];
    std::vector<RowPair>& pairs = lists[m_nRows];
    if (pairs.empty())
        pairs = MakeRowPairs(m_rows, m_nRows);
    for (const RowPair& pair : pairs)
    {
        const uint8_t owner = cells[pair.left].owner;
        if (owner >= nTeams || cells[pair.left + 1].owner != owner)
            continue;
        if (pair.below != kNoCell && cells[pair.below].owner == owner)
            teams[owner].score = static_cast<uint8_t>(teams[owner].score + kTrianglePoints);
        if (pair.above != kNoCell && cells[pair.above].owner == owner)
            teams[owner].score = static_cast<uint8_t>(teams[owner].score + kTrianglePoints);
    }
}
