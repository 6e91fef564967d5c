#ifndef VESK_GAME_CGAMESTATE_H
#define VESK_GAME_CGAMESTATE_H

#include <cassert>
#include <cstdint>

// One complete position: board geometry, cells, stocks, scores, the team to
// move and the passes in a row. Copies are deep; the opponent copies it into
// every search node, so it stays small and self-contained.
class CGameState
{
public:
    // Every team's stock at the start of a game; not derived from the board.
    static const uint8_t kStartTokens = 19;

    struct Row  { uint8_t offset; uint8_t index; uint8_t length; };
    struct Cell { uint8_t numTokens; uint8_t owner; };
    struct Team { uint8_t tokens; uint8_t score; };

    // Construction and lifetime
    CGameState(uint32_t size, uint8_t nTeams);
    CGameState(const CGameState& other);             // inline below: the opponent copies one per node
    CGameState& operator=(const CGameState& other);   // same dimensions only; never reallocates
    ~CGameState();
    void Reset();

    // Read-only accessors
    uint32_t GetNumRows() const { return m_nRows; }
    float    GetRowOffset(uint32_t row) const;
    uint8_t  GetRowLength(uint32_t row) const;
    uint8_t  GetCellTokens(uint32_t row, uint32_t col) const { return CellAt(row, col).numTokens; }
    uint8_t  GetCellOwner(uint32_t row, uint32_t col) const { return CellAt(row, col).owner; }
    uint8_t  GetNumTeams() const { return m_nTeams; }
    uint8_t  GetTeamTokens(uint32_t team) const;
    uint8_t  GetTeamScore(uint8_t team) const;
    uint8_t  GetCurTeam() const { return m_curTeam; }
    uint8_t  GetNumPasses() const { return static_cast<uint8_t>(m_nPasses); }
    bool     IsGameDone() const { return m_nPasses >= m_nTeams; }

    // Moves
    bool IsMoveLegal(uint32_t row, uint32_t col, uint8_t tokens) const;
    void MakeMove(uint32_t row, uint32_t col, uint8_t tokens);
    void Pass();

private:
    const Cell& CellAt(uint32_t row, uint32_t col) const;
    void UpdateScores();
    void UpdateScoresFromCells();   // boards larger than the standard one
    void NextTeam();
    uint32_t OwnedBit(uint32_t row, uint32_t col) const;
    void AllocateArrays();
    void CopyArrays(const CGameState& other);   // a board larger than the standard one

    // The small fields first: a node of the opponent's tree is smaller so.
    uint32_t m_nRows;
    uint32_t m_nCells;
    uint8_t  m_nTeams;
    uint8_t  m_curTeam;
    uint32_t m_nPasses;
    Row*     m_rows;
    Cell*    m_cells;
    Team*    m_teams;

    // The opponent copies a state into every search node and scores it after
    // every placement. So a board no larger than the standard one (5 rows, 19
    // cells, 2 teams) keeps its records inside the object, where a copy is a
    // few moves and allocates nothing, and with them each team's cells as
    // bits (OwnedBit), from which scoring counts the triangles in a few
    // steps. Larger boards use owned arrays and count from the cells.
    struct Records { uint32_t owned[2]; Row rows[5]; Cell cells[19]; Team teams[2]; };
    Records m_inline;
};

// A standard board's copy is the object's own fields; a larger board's
// arrays are allocated and filled as the assignment does.
inline CGameState::CGameState(const CGameState& other)
    : m_nRows(other.m_nRows), m_nCells(other.m_nCells), m_nTeams(other.m_nTeams), m_curTeam(other.m_curTeam),
      m_nPasses(other.m_nPasses), m_rows(m_inline.rows), m_cells(m_inline.cells), m_teams(m_inline.teams),
      m_inline(other.m_inline)
{
    if (other.m_rows != other.m_inline.rows)
        CopyArrays(other);
}

// The search reads these for every node it makes: inline, checks kept.
inline uint8_t CGameState::GetRowLength(uint32_t row) const
{
    assert(m_rows);
    assert(row < m_nRows);
    return m_rows[row].length;
}

inline const CGameState::Cell& CGameState::CellAt(uint32_t row, uint32_t col) const
{
    assert(m_rows);
    assert(m_cells);
    assert(row < m_nRows);
    assert(col < m_rows[row].length);
    return m_cells[m_rows[row].index + col];
}

inline uint8_t CGameState::GetTeamTokens(uint32_t team) const
{
    assert(m_teams);
    assert(team < m_nTeams);
    return m_teams[team].tokens;
}

inline uint8_t CGameState::GetTeamScore(uint8_t team) const
{
    assert(m_teams);
    assert(team < m_nTeams);
    return m_teams[team].score;
}

#endif
