#ifndef VESK_LAB_CINVARIANTCHECKER_H
#define VESK_LAB_CINVARIANTCHECKER_H

#include <cstdint>
#include <string>

class CGameState;

// The rules as stated, modelled apart from the rules' own code to check it:
// on a board of any size, for any number of teams. Tokens are conserved,
// empty cells have no owner, each score is the stock plus 4 for every
// triangle the team owns, and a move changes exactly what the rules say.
// Triangles come from the cells' places on the hexagon (three cells whose
// centres are one cell apart), never from the scoring code. Used by
// `vesk-lab match --check`, the rules' tests, the world's random-input test
// and the notation fuzzer. Checks return false with a one-line reason.
class CInvariantChecker
{
public:
    // Whether placing so that (row, col) holds `tokens` is legal in state.
    static bool IsLegal(const CGameState& state, uint32_t row, uint32_t col, unsigned tokens);

    static int CountTriangles(const CGameState& state, uint8_t team);

    static bool CheckState(const CGameState& state, std::string& error);

    // after must be before with the move played, and hold the invariants.
    static bool CheckPass(const CGameState& before, const CGameState& after, std::string& error);
    static bool CheckPlacement(const CGameState& before, uint32_t row, uint32_t col, uint8_t tokens,
                               const CGameState& after, std::string& error);
};

#endif
