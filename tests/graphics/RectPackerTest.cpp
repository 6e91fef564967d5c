// The glyph packer: largest first, power-of-two square, gaps kept free.
#include "graphics/CRectPacker.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <vector>

namespace {

// Independent reference: doubling until the value is reached.
int64_t SlowPowerOfTwo(int64_t n)
{
    if (n <= 0)
        return 0;
    int64_t p = 1;
    while (p < n)
        p *= 2;
    return p;
}

TEST(NextPowerOfTwo, matches_doubling_and_stays_defined_beyond_two_to_the_thirty)
{
    std::vector<int64_t> values{0, 1, 2, 3, 4, 5, 7, 8, 9, 1023, 1024, 1025, -1, -1024, INT32_MIN, INT32_MIN + 1};
    for (int k = 2; k <= 30; ++k)
        for (int d = -1; d <= 1; ++d)
            values.push_back((int64_t(1) << k) + d);
    for (int64_t v : values) {
        if (v > kMaxPowerOfTwo)
            continue;
        EXPECT_EQ(NextPowerOfTwo(int32_t(v)), SlowPowerOfTwo(v)) << v;
    }
    // No 32-bit signed power of two holds these: reported as "no fit".
    EXPECT_EQ(NextPowerOfTwo(kMaxPowerOfTwo + 1), 0);
    EXPECT_EQ(NextPowerOfTwo(INT32_MAX), 0);

    EXPECT_EQ(NextPowerOfTwoOfSum(1000, 24), 1024);
    EXPECT_EQ(NextPowerOfTwoOfSum(INT32_MAX, INT32_MAX), 0);
    EXPECT_EQ(NextPowerOfTwoOfSum(INT32_MAX, -INT32_MAX + 5), 8);
    EXPECT_EQ(NextPowerOfTwoOfSum(INT32_MIN, INT32_MIN), 0);
}

bool SameRect(const Rect& a, const Rect& b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

void ExpectFreeList(const CRectPacker& packer, const std::vector<Rect>& expected)
{
    const std::vector<Rect>& got = packer.GetFreeRects();
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_TRUE(SameRect(got[i], expected[i]))
            << "free " << i << ": " << got[i].x << "," << got[i].y << "," << got[i].w << "," << got[i].h;
}

TEST(RectPacker, worked_example_to_the_coordinate)
{
    Rect a{0, 0, 10, 20}, b{0, 0, 20, 10}, c{0, 0, 5, 5};
    CRectPacker packer;
    EXPECT_EQ(packer.GetSize(), 0);
    packer.AddRect(&a);
    packer.AddFreeRect({1, 1, 62, 62});
    packer.AddRect(&b);
    packer.AddRect(&c);
    EXPECT_TRUE(packer.Pack(1));
    EXPECT_EQ(packer.GetSize(), 32);
    EXPECT_TRUE(SameRect(b, {1, 1, 20, 10}));
    EXPECT_TRUE(SameRect(a, {1, 12, 10, 20}));
    EXPECT_TRUE(SameRect(c, {22, 1, 5, 5}));
    // c cut {22, 1, 41, 10}: right {28, 1, 35, 5}, below {22, 7, 5, 4}, corner {28, 7, 35, 4}.
    ExpectFreeList(packer, {{22, 12, 41, 51}, {12, 12, 9, 20}, {1, 33, 10, 30}, {12, 33, 9, 30},
                            {28, 1, 35, 5}, {22, 7, 5, 4}, {28, 7, 35, 4}});
}

TEST(RectPacker, split_leaves_only_pieces_with_room)
{
    {   // Exactly as large as the free area: no piece at all.
        Rect r{0, 0, 16, 8};
        CRectPacker packer;
        packer.AddRect(&r);
        packer.AddFreeRect({4, 2, 16, 8});
        EXPECT_TRUE(packer.Pack(0));
        EXPECT_TRUE(SameRect(r, {4, 2, 16, 8}));
        EXPECT_TRUE(packer.GetFreeRects().empty());
        EXPECT_EQ(packer.GetSize(), 32);
    }
    {   // The gap column uses up the width: only the piece below.
        Rect r{0, 0, 10, 10};
        CRectPacker packer;
        packer.AddRect(&r);
        packer.AddFreeRect({0, 0, 11, 30});
        EXPECT_TRUE(packer.Pack(1));
        ExpectFreeList(packer, {{0, 11, 10, 19}});
        EXPECT_EQ(packer.GetSize(), 16);
    }
    {   // A wider gap is given up to the right and below.
        Rect r{0, 0, 4, 6};
        CRectPacker packer;
        packer.AddRect(&r);
        packer.AddFreeRect({0, 0, 20, 20});
        EXPECT_TRUE(packer.Pack(3));
        ExpectFreeList(packer, {{7, 0, 13, 6}, {0, 9, 4, 11}, {7, 9, 13, 11}});
    }
}

TEST(RectPacker, zero_size_rectangles_cost_their_corner)
{
    Rect empty{-5, -5, 0, 0};
    {
        CRectPacker packer;
        packer.AddRect(&empty);
        packer.AddFreeRect({0, 0, 64, 64});
        EXPECT_FALSE(packer.Pack(1));   // cost 0 at the origin: never chosen
        EXPECT_EQ(empty.x, -5);
        EXPECT_EQ(empty.y, -5);
    }
    {
        CRectPacker packer;
        packer.AddRect(&empty);
        packer.AddFreeRect({0, 0, 64, 64});
        packer.AddFreeRect({3, 5, 0, 0});   // a zero-size area holds a zero-size rectangle
        EXPECT_TRUE(packer.Pack(1));
        EXPECT_EQ(empty.x, 3);
        EXPECT_EQ(empty.y, 5);
        EXPECT_EQ(packer.GetSize(), 8);
    }
}

TEST(RectPacker, equal_areas_place_the_later_one_first)
{
    Rect first{0, 0, 8, 2}, second{0, 0, 4, 4}, third{0, 0, 2, 8};
    CRectPacker packer;
    packer.AddFreeRect({0, 0, 64, 64});
    packer.AddRect(&first);
    packer.AddRect(&second);
    packer.AddRect(&third);
    EXPECT_TRUE(packer.Pack(0));
    EXPECT_EQ(third.x, 0);
    EXPECT_EQ(third.y, 0);
    // third cut {0, 0, 64, 64}: right {2, 0, 62, 8}, below {0, 8, 2, 56}, corner.
    EXPECT_EQ(second.x, 2);
    EXPECT_EQ(second.y, 0);
    // Every place left for first grows the square to 16; the earliest such
    // free area, the corner piece {2, 8, 62, 56}, wins the tie.
    EXPECT_EQ(first.x, 2);
    EXPECT_EQ(first.y, 8);
    EXPECT_EQ(packer.GetSize(), 16);
}

TEST(RectPacker, first_free_area_needing_no_growth_wins)
{
    // big makes the square 64; small then takes the first area that needs no
    // growth, not the one nearest the origin further down the list.
    Rect big{0, 0, 60, 30}, small{0, 0, 4, 4};
    CRectPacker packer;
    packer.AddRect(&small);
    packer.AddRect(&big);
    packer.AddFreeRect({0, 32, 64, 32});
    packer.AddFreeRect({50, 0, 8, 8});
    packer.AddFreeRect({0, 0, 8, 8});
    EXPECT_TRUE(packer.Pack(1));
    EXPECT_TRUE(SameRect(big, {0, 32, 60, 30}));
    EXPECT_TRUE(SameRect(small, {50, 0, 4, 4}));
    EXPECT_EQ(packer.GetSize(), 64);
}

TEST(RectPacker, failures_leave_positions_and_go_on)
{
    {   // One too large: the others are still placed.
        Rect big{7, 9, 100, 10}, small{0, 0, 10, 10}, tiny{0, 0, 3, 3};
        CRectPacker packer;
        packer.AddRect(&small);
        packer.AddRect(&big);
        packer.AddRect(&tiny);
        packer.AddFreeRect({0, 0, 64, 64});
        EXPECT_FALSE(packer.Pack(1));
        EXPECT_EQ(big.x, 7);
        EXPECT_EQ(big.y, 9);
        EXPECT_TRUE(SameRect(small, {0, 0, 10, 10}));
        EXPECT_TRUE(SameRect(tiny, {11, 0, 3, 3}));
        EXPECT_EQ(packer.GetSize(), 16);
    }
    {   // No free area, or one that reaches no further than the origin.
        Rect r{1, 2, 1, 1};
        CRectPacker none;
        none.AddRect(&r);
        EXPECT_FALSE(none.Pack(0));
        CRectPacker flat;
        flat.AddRect(&r);
        flat.AddFreeRect({0, 0, 0, 0});
        flat.AddFreeRect({-8, -8, 8, 8});
        EXPECT_FALSE(flat.Pack(0));
        EXPECT_EQ(flat.GetSize(), 0);
        EXPECT_EQ(r.x, 1);
        EXPECT_EQ(r.y, 2);
    }
}

TEST(RectPacker, huge_values_neither_wrap_nor_overlap)
{
    {   // A huge free area still packs ordinary rectangles as usual.
        Rect r{0, 0, 10, 10}, s{0, 0, 3, 3};
        CRectPacker packer;
        packer.AddRect(&r);
        packer.AddRect(&s);
        packer.AddFreeRect({0, 0, INT32_MAX, INT32_MAX});
        EXPECT_TRUE(packer.Pack(1));
        EXPECT_TRUE(SameRect(r, {0, 0, 10, 10}));
        EXPECT_TRUE(SameRect(s, {11, 0, 3, 3}));
        EXPECT_EQ(packer.GetSize(), 16);
    }
    {   // Nothing wider than the largest power of two is placed.
        Rect r{0, 0, INT32_MAX, 1}, s{0, 0, kMaxPowerOfTwo, 1};
        CRectPacker packer;
        packer.AddRect(&r);
        packer.AddRect(&s);
        packer.AddFreeRect({0, 0, INT32_MAX, INT32_MAX});
        EXPECT_FALSE(packer.Pack(0));
        EXPECT_EQ(r.x, 0);
        EXPECT_EQ(s.x, 0);
        EXPECT_EQ(packer.GetSize(), kMaxPowerOfTwo);
    }
    {   // A gap too large to add must not wrap into a piece over the rectangle.
        Rect r{0, 0, 10, 10}, s{0, 0, 5, 5};
        CRectPacker packer;
        packer.AddRect(&r);
        packer.AddRect(&s);
        packer.AddFreeRect({100, 100, 1000, 1000});
        EXPECT_FALSE(packer.Pack(INT_MAX));
        EXPECT_EQ(r.x, 100);
        EXPECT_TRUE(packer.GetFreeRects().empty());
    }
    {   // Negative sizes fit nowhere; a negative gap counts as none.
        Rect neg{0, 0, -4, 4}, r{0, 0, 4, 4}, s{0, 0, 4, 4};
        CRectPacker packer;
        packer.AddRect(&neg);
        packer.AddRect(&r);
        packer.AddRect(&s);
        packer.AddFreeRect({0, 0, 8, 4});
        EXPECT_FALSE(packer.Pack(-3));
        EXPECT_EQ(s.x, 0);
        EXPECT_EQ(r.x, 4);
    }
}

TEST(RectPackerDeathTest, null_rectangle_is_refused)
{
    CRectPacker packer;
    EXPECT_DEATH(packer.AddRect(nullptr), "pRect");
}

// Random sets: whatever is placed lies inside one of the given free areas,
// keeps the gap to every other placed rectangle, and lies inside the reported
// square, which is the smallest power of two that holds it.
TEST(RectPacker, random_sets_keep_every_placement_sound)
{
    std::mt19937 rng(20240611);
    const int32_t kUnplaced = INT32_MIN;
    for (int trial = 0; trial < 400; ++trial) {
        const int gap = std::uniform_int_distribution<int>(0, 3)(rng);
        const int maxSide = std::uniform_int_distribution<int>(1, trial % 4 == 0 ? 300 : 40)(rng);
        std::uniform_int_distribution<int> side(0, maxSide);
        std::vector<Rect> rects(std::uniform_int_distribution<int>(0, 60)(rng));
        for (Rect& r : rects)
            r = {kUnplaced, kUnplaced, side(rng), side(rng)};

        // Free areas side by side, apart from each other.
        std::vector<Rect> areas;
        const int nAreas = std::uniform_int_distribution<int>(1, 3)(rng);
        int32_t left = std::uniform_int_distribution<int>(0, 5)(rng);
        for (int i = 0; i < nAreas; ++i) {
            const int32_t w = std::uniform_int_distribution<int>(0, 200)(rng);
            areas.push_back({left, std::uniform_int_distribution<int>(0, 9)(rng), w,
                             std::uniform_int_distribution<int>(0, 300)(rng)});
            left += w + gap + std::uniform_int_distribution<int>(0, 4)(rng);
        }

        CRectPacker packer;
        for (Rect& r : rects)
            packer.AddRect(&r);
        for (const Rect& a : areas)
            packer.AddFreeRect(a);
        const bool ok = packer.Pack(gap);

        bool allPlaced = true;
        int64_t needed = 0;
        for (size_t i = 0; i < rects.size(); ++i) {
            const Rect& r = rects[i];
            if (r.x == kUnplaced) {
                EXPECT_EQ(r.y, kUnplaced);
                allPlaced = false;
                continue;
            }
            bool inside = false;
            for (const Rect& a : areas)
                inside |= r.x >= a.x && r.y >= a.y && r.x + r.w <= a.x + a.w && r.y + r.h <= a.y + a.h;
            EXPECT_TRUE(inside) << "trial " << trial << " rect " << i;
            EXPECT_LE(r.x + r.w, packer.GetSize());
            EXPECT_LE(r.y + r.h, packer.GetSize());
            needed = std::max(needed, SlowPowerOfTwo(std::max(r.x + r.w, r.y + r.h)));
            if (r.w == 0 || r.h == 0)
                continue;
            for (size_t j = 0; j < i; ++j) {
                const Rect& o = rects[j];
                if (o.x == kUnplaced || o.w == 0 || o.h == 0)
                    continue;
                const bool apart = r.x + r.w + gap <= o.x || o.x + o.w + gap <= r.x ||
                                   r.y + r.h + gap <= o.y || o.y + o.h + gap <= r.y;
                EXPECT_TRUE(apart) << "trial " << trial << " rects " << j << " and " << i;
            }
        }
        EXPECT_EQ(ok, allPlaced) << "trial " << trial;
        if (needed > 0) {
            EXPECT_EQ(packer.GetSize(), needed) << "trial " << trial;
        }
        if (HasFailure())
            break;
    }
}

} // namespace
