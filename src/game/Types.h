#ifndef VESK_GAME_TYPES_H
#define VESK_GAME_TYPES_H

#include <cstdint>

// Team numbers. A cell's owner field holds the number of teams when empty;
// kNoTeam stands for no team at all (nothing selected on screen).
enum Team : uint8_t
{
    kGold   = 0,     // the human player, moves first
    kSilver = 1,     // the computer opponent
    kNoTeam = 255
};

// Board sizes (cells along one side of the hexagon). The 8-bit row records
// (first-cell index and length) cannot describe a board larger than 9.
const uint32_t kStandardBoardSize = 3;
const uint32_t kMaxBoardSize      = 9;

// Points a team earns for each triangle of three mutually adjacent cells it owns.
const uint8_t kTrianglePoints = 4;

#endif
