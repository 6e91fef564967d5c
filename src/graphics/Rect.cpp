#include "graphics/Rect.h"

int32_t NextPowerOfTwo(int32_t n)
{
    // Beyond 2^30 the smeared value plus one would overflow.
    if (n <= 0 || n > kMaxPowerOfTwo)
        return 0;
    int32_t v = n - 1;
    v |= v >> 1;
    v |= v >> 2;
    v |= v >> 4;
    v |= v >> 8;
    v |= v >> 16;
    return v + 1;
}

int32_t NextPowerOfTwoOfSum(int32_t a, int32_t b)
{
    const int64_t sum = int64_t(a) + int64_t(b);
    if (sum <= 0 || sum > kMaxPowerOfTwo)
        return 0;
    return NextPowerOfTwo(static_cast<int32_t>(sum));
}
