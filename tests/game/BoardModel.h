#ifndef VESK_TESTS_BOARDMODEL_H
#define VESK_TESTS_BOARDMODEL_H

#include "game/CGameState.h"

#include <string>
#include <utility>
#include <vector>

// An independent picture of a board for the tests: cells found by their
// position on screen, neighbours by distance, triangles by brute force.
struct BoardModel
{
    explicit BoardModel(const CGameState& state);

    std::vector<std::pair<int, int>> cells;     // (row, col) in storage order
    std::vector<std::vector<int>>    triangles; // three cell numbers each
    int CellNumber(int row, int col) const;
    int TrianglesOwnedBy(const CGameState& state, int team) const;
};

// The assertion text as a death-test pattern that matches it literally.
std::string Literal(const std::string& text);

#endif
