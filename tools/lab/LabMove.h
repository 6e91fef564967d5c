#ifndef VESK_LAB_LABMOVE_H
#define VESK_LAB_LABMOVE_H

#include <cstdint>

// One opponent move as the tools handle it: a pass, or raising the cell
// (row, col) by one token, the only placement the search considers.
struct LabMove
{
    bool    isPass = false;
    uint8_t row = 0;
    uint8_t col = 0;
};

#endif
