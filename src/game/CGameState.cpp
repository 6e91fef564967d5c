#include "game/CGameState.h"
#include "game/CBlockRecycler.h"
#include "game/Types.h"

#include <algorithm>
#include <cassert>

// Defined here as well, for callers that bind it to a reference.
const uint8_t CGameState::kStartTokens;
const uint32_t CGameState::kInlineRows;
const uint32_t CGameState::kInlineCells;
const uint32_t CGameState::kInlineTeams;

// ---------------------------------------------------------------------------
// Construction and lifetime

CGameState::CGameState(uint32_t size, uint8_t nTeams)
    : m_nRows(0), m_nCells(0), m_rows(nullptr), m_cells(nullptr),
      m_nTeams(0), m_teams(nullptr), m_curTeam(0), m_nPasses(0)
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

CGameState::CGameState(const CGameState& other)
    : m_nRows(other.m_nRows), m_nCells(other.m_nCells), m_rows(nullptr), m_cells(nullptr),
      m_nTeams(other.m_nTeams), m_teams(nullptr), m_curTeam(0), m_nPasses(0)
{
    AllocateArrays();
    *this = other;
}

CGameState& CGameState::operator=(const CGameState& other)
{
    assert(m_nTeams == other.m_nTeams);
    assert(m_nRows == other.m_nRows);
    assert(m_nCells == other.m_nCells);

    std::copy(other.m_teams, other.m_teams + m_nTeams, m_teams);
    std::copy(other.m_cells, other.m_cells + m_nCells, m_cells);
    std::copy(other.m_rows, other.m_rows + m_nRows, m_rows);
    m_nPasses = other.m_nPasses;
    m_curTeam = other.m_curTeam;
    return *this;
}

CGameState::~CGameState()
{
    if (m_rows && m_rows != m_inlineRows)
        delete[] m_rows;
    if (m_cells && m_cells != m_inlineCells)
        delete[] m_cells;
    if (m_teams && m_teams != m_inlineTeams)
        delete[] m_teams;
}

void* CGameState::operator new(std::size_t size)
{
    // A derived class of another size gets the general allocator.
    if (size != sizeof(CGameState))
        return ::operator new(size);
    return CBlockRecycler<sizeof(CGameState)>::Allocate();
}

void CGameState::operator delete(void* memory, std::size_t size)
{
    if (!memory)
        return;
    if (size != sizeof(CGameState))
        ::operator delete(memory);
    else
        CBlockRecycler<sizeof(CGameState)>::Release(memory);
}

void CGameState::AllocateArrays()
{
    m_rows = m_nRows <= kInlineRows ? m_inlineRows : new Row[m_nRows];
    m_cells = m_nCells <= kInlineCells ? m_inlineCells : new Cell[m_nCells];
    m_teams = m_nTeams <= kInlineTeams ? m_inlineTeams : new Team[m_nTeams];
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

uint8_t CGameState::GetRowLength(uint32_t row) const
{
    assert(m_rows);
    assert(row < m_nRows);
    return m_rows[row].length;
}

uint8_t CGameState::GetCellTokens(uint32_t row, uint32_t col) const
{
    assert(m_rows);
    assert(m_cells);
    assert(row < m_nRows);
    assert(col < m_rows[row].length);
    return m_cells[m_rows[row].index + col].numTokens;
}

uint8_t CGameState::GetCellOwner(uint32_t row, uint32_t col) const
{
    assert(m_rows);
    assert(m_cells);
    assert(row < m_nRows);
    assert(col < m_rows[row].length);
    return m_cells[m_rows[row].index + col].owner;
}

uint8_t CGameState::GetTeamTokens(uint32_t team) const
{
    assert(m_teams);
    assert(team < m_nTeams);
    return m_teams[team].tokens;
}

uint8_t CGameState::GetTeamScore(uint8_t team) const
{
    assert(m_teams);
    assert(team < m_nTeams);
    return m_teams[team].score;
}

// ---------------------------------------------------------------------------
// Moves

bool CGameState::IsMoveLegal(uint32_t row, uint32_t col, uint8_t tokens) const
{
    assert(m_rows);
    assert(m_cells);
    assert(row < m_nRows);
    assert(col < m_rows[row].length);

    if (IsGameDone())
        return false;
    const Cell& cell = m_cells[m_rows[row].index + col];
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
    if (cell.owner < m_nTeams)
        m_teams[cell.owner].tokens = static_cast<uint8_t>(m_teams[cell.owner].tokens + cell.numTokens);

    assert(m_teams[m_curTeam].tokens >= tokens);
    m_teams[m_curTeam].tokens = static_cast<uint8_t>(m_teams[m_curTeam].tokens - tokens);
    cell.numTokens = tokens;
    cell.owner = m_curTeam;

    m_nPasses = 0;
    m_curTeam = static_cast<uint8_t>((m_curTeam + 1) % m_nTeams);
    UpdateScores();
}

void CGameState::Pass()
{
    assert(m_nPasses < m_nTeams);
    m_curTeam = static_cast<uint8_t>((m_curTeam + 1) % m_nTeams);
    ++m_nPasses;
}

// Recomputed from scratch: a capture can break the loser's triangles and
// complete the mover's at the same time. Each triangle has exactly one pair of
// cells in the same row, so walking those pairs counts it once.
void CGameState::UpdateScores()
{
    assert(m_teams);

    for (uint32_t t = 0; t < m_nTeams; ++t)
        m_teams[t].score = m_teams[t].tokens;

    const uint32_t mid = m_nRows / 2;
    for (uint32_t r = 0; r < m_nRows; ++r)
    {
        const Row& row = m_rows[r];
        if (row.length < 2)
            continue;
        const Cell* cells = m_cells + row.index;
        for (uint32_t c = 0; c + 1 < row.length; ++c)
        {
            const uint8_t owner = cells[c].owner;
            if (owner >= m_nTeams || cells[c + 1].owner != owner)
                continue;

            // Third cell in the row below (row r - 1).
            if (r > 0)
            {
                const Row& below = m_rows[r - 1];
                const uint32_t third = r <= mid ? c : c + 1;
                if (m_cells[below.index + third].owner == owner)
                    m_teams[owner].score = static_cast<uint8_t>(m_teams[owner].score + kTrianglePoints);
            }
            // Third cell in the row above (row r + 1).
            if (r + 1 < m_nRows)
            {
                const Row& above = m_rows[r + 1];
                const uint32_t third = r < mid ? c + 1 : c;
                if (m_cells[above.index + third].owner == owner)
                    m_teams[owner].score = static_cast<uint8_t>(m_teams[owner].score + kTrianglePoints);
            }
        }
    }
}
