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

// The largest power of two NextPowerOfTwo can return.
const int32_t kMaxPowerOfTwo = int32_t(1) << 30;

// The smallest power of two that is at least n, for n >= 1; 0 for n <= 0.
// Also 0 for n > kMaxPowerOfTwo, where no 32-bit signed power of two holds n:
// the packers read 0 as "does not fit".
int32_t NextPowerOfTwo(int32_t n);

// NextPowerOfTwo(a + b), with the sum taken without overflow.
int32_t NextPowerOfTwoOfSum(int32_t a, int32_t b);

#endif
