// The glyph packer: largest first, power-of-two square, gaps kept free.
#include "graphics/CRectPacker.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

namespace {

int64_t SlowPowerOfTwo(int64_t n)   // independent reference: doubling
{
    int64_t p = 1;
    while (p < n)
        p *= 2;
    return n <= 0 ? 0 : p;
}

::testing::AssertionResult Is(const Rect& r, Rect e)
{
    if (r.x == e.x && r.y == e.y && r.w == e.w && r.h == e.h)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "{" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << "}";
}

void ExpectFree(const CRectPacker& packer, const std::vector<Rect>& expected)
{
    ASSERT_EQ(packer.GetFreeRects().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(Is(packer.GetFreeRects()[i], expected[i])) << "free rectangle " << i;
}

// Packs `rects` (added in order, after `free`) and returns Pack's result.
bool Pack(CRectPacker& packer, std::vector<Rect*> rects, std::vector<Rect> free, int gap)
{
    for (Rect* r : rects)
        packer.AddRect(r);
    for (const Rect& f : free)
        packer.AddFreeRect(f);
    return packer.Pack(gap);
}

TEST(NextPowerOfTwo, matches_doubling_and_stays_defined_beyond_two_to_the_thirty)
{
    for (int64_t v : {0LL, 1LL, 2LL, 3LL, 5LL, 1023LL, 1024LL, 1025LL, -1LL, -1024LL, (long long)INT32_MIN})
        EXPECT_EQ(NextPowerOfTwo(int32_t(v)), SlowPowerOfTwo(v)) << v;
    for (int k = 2; k <= 30; ++k)
        for (int64_t v = (int64_t(1) << k) - 1; v <= std::min<int64_t>((int64_t(1) << k) + 1, kMaxPowerOfTwo); ++v)
            EXPECT_EQ(NextPowerOfTwo(int32_t(v)), SlowPowerOfTwo(v)) << v;
    // No 32-bit signed power of two holds these: "does not fit".
    EXPECT_EQ(NextPowerOfTwo(kMaxPowerOfTwo + 1), 0);
    EXPECT_EQ(NextPowerOfTwo(INT32_MAX), 0);
    EXPECT_EQ(NextPowerOfTwoOfSum(1000, 24), 1024);
    EXPECT_EQ(NextPowerOfTwoOfSum(INT32_MAX, INT32_MAX), 0);
    EXPECT_EQ(NextPowerOfTwoOfSum(INT32_MAX, -INT32_MAX + 5), 8);
}

TEST(RectPacker, worked_example_to_the_coordinate)
{
    Rect a{0, 0, 10, 20}, b{0, 0, 20, 10}, c{0, 0, 5, 5};
    CRectPacker packer;
    EXPECT_EQ(packer.GetSize(), 0);
    EXPECT_TRUE(Pack(packer, {&a, &b, &c}, {{1, 1, 62, 62}}, 1));
    EXPECT_EQ(packer.GetSize(), 32);
    EXPECT_TRUE(Is(b, {1, 1, 20, 10}));
    EXPECT_TRUE(Is(a, {1, 12, 10, 20}));
    EXPECT_TRUE(Is(c, {22, 1, 5, 5}));
    // c cut {22, 1, 41, 10} into right, below and corner pieces.
    ExpectFree(packer, {{22, 12, 41, 51}, {12, 12, 9, 20}, {1, 33, 10, 30}, {12, 33, 9, 30},
                        {28, 1, 35, 5}, {22, 7, 5, 4}, {28, 7, 35, 4}});
}

TEST(RectPacker, split_and_choice_follow_the_rules)
{
    {   // Exactly as large as the free area: no piece at all.
        Rect r{0, 0, 16, 8};
        CRectPacker packer;
        EXPECT_TRUE(Pack(packer, {&r}, {{4, 2, 16, 8}}, 0));
        EXPECT_TRUE(Is(r, {4, 2, 16, 8}));
        ExpectFree(packer, {});
        EXPECT_EQ(packer.GetSize(), 32);
    }
    {   // The gap column uses up the width: only the piece below.
        Rect r{0, 0, 10, 10};
        CRectPacker packer;
        EXPECT_TRUE(Pack(packer, {&r}, {{0, 0, 11, 30}}, 1));
        ExpectFree(packer, {{0, 11, 10, 19}});
    }
    {   // A 0 x 0 rectangle costs its free area's corner: never the origin.
        Rect empty{-5, -5, 0, 0};
        CRectPacker packer;
        EXPECT_TRUE(Pack(packer, {&empty}, {{0, 0, 64, 64}, {3, 5, 0, 0}}, 1));
        EXPECT_TRUE(Is(empty, {3, 5, 0, 0}));
        EXPECT_EQ(packer.GetSize(), 8);
    }
    {   // Equal areas: the one added later first. Then the earliest area that
        // needs no growth wins, even with one nearer the origin further on.
        Rect first{0, 0, 8, 2}, second{0, 0, 4, 4}, third{0, 0, 2, 8};
        CRectPacker packer;
        EXPECT_TRUE(Pack(packer, {&first, &second, &third}, {{0, 0, 64, 64}}, 0));
        EXPECT_TRUE(Is(third, {0, 0, 2, 8}));
        EXPECT_TRUE(Is(second, {2, 0, 4, 4}));
        EXPECT_TRUE(Is(first, {2, 8, 8, 2}));   // every place grows to 16: first area wins the tie
        Rect big{0, 0, 60, 30}, small{0, 0, 4, 4};
        CRectPacker other;
        EXPECT_TRUE(Pack(other, {&small, &big}, {{0, 32, 64, 32}, {50, 0, 8, 8}, {0, 0, 8, 8}}, 1));
        EXPECT_TRUE(Is(small, {50, 0, 4, 4}));
    }
}

TEST(RectPacker, failures_leave_positions_and_go_on)
{
    Rect big{7, 9, 100, 10}, small{0, 0, 10, 10}, tiny{0, 0, 3, 3}, neg{1, 2, -4, 4};
    CRectPacker packer;
    EXPECT_FALSE(Pack(packer, {&small, &big, &tiny, &neg}, {{0, 0, 64, 64}}, 1));
    EXPECT_TRUE(Is(big, {7, 9, 100, 10}));
    EXPECT_TRUE(Is(neg, {1, 2, -4, 4}));   // a negative size fits nowhere
    EXPECT_TRUE(Is(small, {0, 0, 10, 10}));
    EXPECT_TRUE(Is(tiny, {11, 0, 3, 3}));
    EXPECT_EQ(packer.GetSize(), 16);

    CRectPacker none, flat;
    EXPECT_FALSE(Pack(none, {&tiny}, {}, 0));
    EXPECT_FALSE(Pack(flat, {&tiny}, {{0, 0, 0, 0}, {-8, -8, 8, 8}}, 0));
    EXPECT_EQ(flat.GetSize(), 0);
    EXPECT_TRUE(Is(tiny, {11, 0, 3, 3}));
}

TEST(RectPacker, huge_values_neither_wrap_nor_overlap)
{
    Rect r{0, 0, 10, 10}, s{0, 0, 3, 3}, wide{0, 0, INT32_MAX, 1};
    CRectPacker huge;
    EXPECT_FALSE(Pack(huge, {&r, &s, &wide}, {{0, 0, INT32_MAX, INT32_MAX}}, 1));
    EXPECT_TRUE(Is(r, {0, 0, 10, 10}));   // ordinary rectangles pack as usual
    EXPECT_TRUE(Is(s, {11, 0, 3, 3}));
    EXPECT_EQ(wide.x, 0);
    EXPECT_EQ(huge.GetSize(), 16);

    // A gap too large to add must not wrap round into a piece over r.
    Rect t{0, 0, 5, 5};
    CRectPacker gap;
    EXPECT_FALSE(Pack(gap, {&r, &t}, {{100, 100, 1000, 1000}}, INT_MAX));
    EXPECT_EQ(r.x, 100);
    ExpectFree(gap, {});
}

TEST(RectPackerDeathTest, null_rectangle_is_refused)
{
    CRectPacker packer;
    EXPECT_DEATH(packer.AddRect(nullptr), "pRect");
}

// Random sets: whatever is placed lies inside a free area, keeps the gap to
// every other placed rectangle and lies in the reported square, which is the
// smallest power of two that holds them all; Pack is true iff all were placed.
TEST(RectPacker, random_sets_keep_every_placement_sound)
{
    std::mt19937 rng(20240611);
    auto uniform = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int trial = 0; trial < 400 && !HasFailure(); ++trial) {
        const int gap = uniform(0, 3), maxSide = uniform(1, trial % 4 ? 40 : 300);
        std::vector<Rect> rects(uniform(0, 60)), areas(uniform(1, 3));
        for (Rect& r : rects)
            r = {INT32_MIN, INT32_MIN, uniform(0, maxSide), uniform(0, maxSide)};
        int32_t left = uniform(0, 5);
        for (Rect& a : areas) {   // side by side, apart
            a = {left, uniform(0, 9), uniform(0, 200), uniform(0, 300)};
            left += a.w + gap + uniform(0, 4);
        }
        CRectPacker packer;
        std::vector<Rect*> pointers;
        for (Rect& r : rects)
            pointers.push_back(&r);
        const bool ok = Pack(packer, pointers, areas, gap);

        bool allPlaced = true;
        int64_t needed = 0;
        for (size_t i = 0; i < rects.size(); ++i) {
            const Rect& r = rects[i];
            if (r.x == INT32_MIN) {
                allPlaced = false;
                continue;
            }
            bool inside = false;
            for (const Rect& a : areas)
                inside |= r.x >= a.x && r.y >= a.y && r.x + r.w <= a.x + a.w && r.y + r.h <= a.y + a.h;
            EXPECT_TRUE(inside) << "trial " << trial << " rect " << i;
            needed = std::max<int64_t>(needed, SlowPowerOfTwo(std::max(r.x + r.w, r.y + r.h)));
            for (size_t j = 0; j < i && r.w > 0 && r.h > 0; ++j) {
                const Rect& o = rects[j];
                const bool apart = o.x == INT32_MIN || o.w <= 0 || o.h <= 0 || r.x + r.w + gap <= o.x ||
                                   o.x + o.w + gap <= r.x || r.y + r.h + gap <= o.y || o.y + o.h + gap <= r.y;
                EXPECT_TRUE(apart) << "trial " << trial << " rects " << j << ", " << i;
            }
        }
        EXPECT_EQ(ok, allPlaced) << "trial " << trial;
        EXPECT_EQ(packer.GetSize(), needed) << "trial " << trial;
    }
}

} // namespace
