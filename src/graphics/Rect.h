#ifndef VESK_GRAPHICS_RECT_H
#define VESK_GRAPHICS_RECT_H

#include <cstdint>

// A rectangle in image space: left, top (y downwards), width, height.
// A free rectangle with w or h of 0 or less holds nothing of that extent.
struct Rect
{
    int32_t x;
    int32_t y;
    int32_t w;
    int32_t h;
};

// The smallest power of two that is at least n, for n >= 1; 0 for n <= 0.
int32_t NextPowerOfTwo(int32_t n);

#endif
