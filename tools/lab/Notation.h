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
class CNotation
{
public:
    static const char* const kStart;

    // Text to a state of the standard board, played through the rules so
    // that stocks and scores are the rules' own. On failure returns false
    // with a one-line reason: bad syntax, over 19 tokens on a cell or for a
    // team, or a position no game reaches (Silver to move on the empty board).
    static bool ParseState(const std::string& text, CGameState& state, std::string& error);

    static std::string Format(const CGameState& state);
    static std::string FormatCell(const CGameState& state, uint32_t row, uint32_t col);
};

#endif
