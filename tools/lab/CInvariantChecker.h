#ifndef VESK_LAB_CINVARIANTCHECKER_H
#define VESK_LAB_CINVARIANTCHECKER_H

#include "opponent/Search.h"

#include <array>
#include <string>
#include <vector>

class CGameState;

// Checks a standard-board position against the rules' invariants, computed
// here independently of the rules' own code: tokens are conserved, empty
// cells have no owner, and each score is the stock plus 4 for every
// triangle of mutually adjacent cells the team owns. The triangles come
// from the cells' positions on the hexagon, not from the scoring walk.
class CInvariantChecker
{
public:
    // Cell indices (row after row) of every triangle; 24 on the standard board.
    static const std::vector<std::array<int, 3>>& Triangles();

    static int CountTriangles(const CGameState& state, uint8_t team);

    // false with a one-line reason for the first broken invariant.
    static bool CheckState(const CGameState& state, std::string& error);

    // Checks that after is before with move played: the move was legal, only
    // the named cell changed (by exactly one token, now the mover's), the
    // refund went to the previous owner, turn and pass count moved on; then
    // checks after itself.
    static bool CheckMove(const CGameState& before, const OpponentMove& move,
                          const CGameState& after, std::string& error);
};

#endif
