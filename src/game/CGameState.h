#ifndef VESK_GAME_CGAMESTATE_H
#define VESK_GAME_CGAMESTATE_H

#include <cstddef>
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
    CGameState(const CGameState& other);
    CGameState& operator=(const CGameState& other);   // same dimensions only; never reallocates
    ~CGameState();
    void Reset();

    // The opponent allocates states by the ten thousand per move: their
    // memory is recycled rather than returned to the general allocator.
    static void* operator new(std::size_t size);
    static void  operator delete(void* memory, std::size_t size);

    // Read-only accessors
    uint32_t GetNumRows() const { return m_nRows; }
    float    GetRowOffset(uint32_t row) const;
    uint8_t  GetRowLength(uint32_t row) const;
    uint8_t  GetCellTokens(uint32_t row, uint32_t col) const;
    uint8_t  GetCellOwner(uint32_t row, uint32_t col) const;
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
    void UpdateScores();
    void AllocateArrays();

    uint32_t m_nRows;
    uint32_t m_nCells;
    Row*     m_rows;
    Cell*    m_cells;
    uint8_t  m_nTeams;
    Team*    m_teams;
    uint8_t  m_curTeam;
    uint32_t m_nPasses;

    // The opponent copies a state into every search node, so the standard
    // board (5 rows, 19 cells, 2 teams) keeps its records inside the object:
    // a copy is then one allocation. Larger boards use owned arrays instead.
    static const uint32_t kInlineRows  = 5;
    static const uint32_t kInlineCells = 19;
    static const uint32_t kInlineTeams = 2;
    Row  m_inlineRows[kInlineRows];
    Cell m_inlineCells[kInlineCells];
    Team m_inlineTeams[kInlineTeams];
};

#endif
