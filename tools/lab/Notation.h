#ifndef VESK_LAB_NOTATION_H
#define VESK_LAB_NOTATION_H

#include <cstdint>
#include <string>

class CGameState;

// A position written as text: "CELLS TOMOVE PASSES", for example the start
// "---/----/-----/----/--- g 0". CELLS lists the rows from row 0 to row 4,
// separated by '/'; a cell is '-' (empty), 'g<n>' or 's<n>' (n tokens of Gold
// or Silver). Stocks are not written: each team holds 19 minus its tokens on
// the board, and the scores follow from the rules.
struct NotationPosition
{
    static const uint32_t kRows  = 5;
    static const uint32_t kCells = 19;
    static const uint8_t  kEmpty = 2;        // owner of an empty cell

    uint8_t tokens[kCells] = {};             // row after row, as CGameState stores them
    uint8_t owner[kCells]  = { kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty,
                               kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty,
                               kEmpty, kEmpty, kEmpty, kEmpty, kEmpty };
    uint8_t toMove = 0;                      // 0 Gold, 1 Silver
    uint8_t passes = 0;                      // passes in a row, 0..2
};

class CNotation
{
public:
    static const char* const kStart;

    // Row geometry of the standard board (the only board the game builds).
    static uint32_t RowLength(uint32_t row);
    static uint32_t RowIndex(uint32_t row);

    // Text to position. Checks the syntax, the token counts (1..19 a cell, at
    // most 19 a team) and the range of TOMOVE and PASSES; on failure returns
    // false with a one-line description of the first fault in error.
    static bool Parse(const std::string& text, NotationPosition& pos, std::string& error);

    // Position to canonical text.
    static std::string Format(const NotationPosition& pos);
    static std::string Format(const CGameState& state);
    static NotationPosition FromState(const CGameState& state);

    // Builds a state on the standard board by playing the position's
    // placements through the rules, so stocks and scores are the rules' own.
    // Fails (with a reason) when no game can reach the position, for example
    // two passes in a row with an empty board and Silver to move.
    static bool ToState(const NotationPosition& pos, CGameState& state, std::string& error);

    // Parse and ToState together; state must be a standard board.
    static bool ParseState(const std::string& text, CGameState& state, std::string& error);
};

#endif
