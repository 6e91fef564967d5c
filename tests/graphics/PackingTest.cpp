// The glyph packer and the sprite atlas packer: worked examples to the
// coordinate, and random sets checked for overlap, gaps and bounds.
#include "graphics/CRectPacker.h"
#include "graphics/CSpritePacker.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <random>
#include <vector>

bool operator==(const Rect& a, const Rect& b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}
std::ostream& operator<<(std::ostream& out, const Rect& r)
{
    return out << "{" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << "}";
}

namespace {

int64_t SlowPowerOfTwo(int64_t n)   // independent reference: doubling
{
    int64_t p = 1;
    while (p < n)
        p *= 2;
    return n <= 0 ? 0 : p;
}

template <class A, class B>
bool Overlap(const A& a, const B& b, int gap)
{
    return a.x < b.x + b.w + gap && b.x < a.x + a.w + gap && a.y < b.y + b.h + gap && b.y < a.y + a.h + gap;
}

TEST(NextPowerOfTwo, matches_doubling_and_says_does_not_fit_beyond_two_to_the_thirty)
{
    for (int32_t v : {0, 1, 3, 1023, 1024, 1025, -1, INT32_MIN, kMaxPowerOfTwo})
        EXPECT_EQ(NextPowerOfTwo(v), SlowPowerOfTwo(v)) << v;
    EXPECT_EQ(NextPowerOfTwo(kMaxPowerOfTwo + 1), 0);
    EXPECT_EQ(NextPowerOfTwoOfSum(INT32_MAX, INT32_MAX), 0);   // no wrap round
}

TEST(RectPacker, worked_example_to_the_coordinate)
{
    Rect a{0, 0, 10, 20}, b{0, 0, 20, 10}, c{0, 0, 5, 5};
    CRectPacker packer;
    for (Rect* r : {&a, &b, &c})
        packer.AddRect(r);
    packer.AddFreeRect({1, 1, 62, 62});
    EXPECT_TRUE(packer.Pack(1));
    EXPECT_EQ(packer.GetSize(), 32);
    EXPECT_EQ(b, (Rect{1, 1, 20, 10}));   // equal areas: the later added first
    EXPECT_EQ(a, (Rect{1, 12, 10, 20}));
    EXPECT_EQ(c, (Rect{22, 1, 5, 5}));
    EXPECT_EQ(packer.GetFreeRects(), (std::vector<Rect>{{22, 12, 41, 51}, {12, 12, 9, 20}, {1, 33, 10, 30}, {12, 33, 9, 30},
                                       {28, 1, 35, 5}, {22, 7, 5, 4}, {28, 7, 35, 4}}));

    // What fits nowhere keeps its position; a gap too large to add must not
    // wrap round into a piece over the first rectangle.
    Rect big{7, 9, 2000, 10}, r{0, 0, 10, 10}, t{0, 0, 5, 5};
    CRectPacker failing;
    for (Rect* p : {&big, &r, &t})
        failing.AddRect(p);
    failing.AddFreeRect({100, 100, 1000, 1000});
    EXPECT_FALSE(failing.Pack(INT_MAX));
    EXPECT_EQ(big, (Rect{7, 9, 2000, 10}));
    EXPECT_EQ(r, (Rect{100, 100, 10, 10}));
    EXPECT_EQ(t, (Rect{0, 0, 5, 5}));
    EXPECT_TRUE(failing.GetFreeRects().empty());
}

// Whatever is placed lies inside a free area, keeps the gap to every other
// placed rectangle, and the size is the smallest power of two holding all.
TEST(RectPacker, random_sets_keep_gaps_and_bounds)
{
    std::mt19937 rng(20240611);
    auto uniform = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int trial = 0; trial < 400 && !HasFailure(); ++trial) {
        const int gap = uniform(0, 3), maxSide = uniform(1, trial % 4 ? 40 : 300);
        std::vector<Rect> rects(uniform(0, 60)), areas(uniform(1, 3));
        int32_t left = uniform(0, 5);
        for (Rect& a : areas) {   // side by side, apart
            a = {left, uniform(0, 9), uniform(0, 200), uniform(0, 300)};
            left += a.w + gap + uniform(0, 4);
        }
        CRectPacker packer;
        for (Rect& r : rects) {
            r = {INT32_MIN, INT32_MIN, uniform(0, maxSide), uniform(0, maxSide)};
            packer.AddRect(&r);
        }
        for (const Rect& a : areas)
            packer.AddFreeRect(a);
        const bool ok = packer.Pack(gap);
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
            for (size_t j = 0; j < i && r.w > 0 && r.h > 0; ++j)
                EXPECT_FALSE(rects[j].x != INT32_MIN && rects[j].w > 0 && rects[j].h > 0 && Overlap(r, rects[j], gap))
                    << "trial " << trial << " rects " << j << ", " << i;
        }
        EXPECT_EQ(ok, allPlaced) << "trial " << trial;
        EXPECT_EQ(packer.GetSize(), needed) << "trial " << trial;
    }
}

std::vector<SpriteImage> Images(const std::vector<std::pair<int32_t, int32_t>>& sizes)
{
    std::vector<SpriteImage> images(sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        images[i].entry = i;
        images[i].loaded = true;
        images[i].w = sizes[i].first;
        images[i].h = sizes[i].second;
    }
    return images;
}

// Entry, place and size, "turned" when lying, "-" when not placed.
std::string Where(const SpriteImage& s)
{
    return !s.placed ? "-" : std::to_string(s.entry) + " at " + std::to_string(s.x) + "," + std::to_string(s.y) + " " +
                                 std::to_string(s.w) + "x" + std::to_string(s.h) + (s.turned ? " turned" : "");
}

TEST(SpritePacker, worked_example_to_the_coordinate)
{
    std::vector<SpriteImage> images = Images({{64, 64}, {32, 48}, {128, 16}, {48, 32}});   // A, B, C, D
    CSpritePacker packer;
    EXPECT_EQ(packer.PackSprites(images), 128);
    EXPECT_EQ(Where(images[0]), "1 at 65,17 32x48");   // B
    EXPECT_EQ(Where(images[1]), "3 at 0,82 48x32");    // D
    EXPECT_EQ(Where(images[2]), "0 at 0,17 64x64");    // A
    EXPECT_EQ(Where(images[3]), "2 at 0,0 128x16");    // C
    EXPECT_EQ(packer.GetFreeRects(), (std::vector<Rect>{{129, 0, 895, 16}, {49, 82, 15, 32}, {0, 115, 64, 909},
                                       {65, 66, 32, 958}, {98, 17, 926, 1007}}));

    // The first leaves a strip 23 high: 16 x 64 fits only lying.
    images = Images({{1024, 1000}, {16, 64}});
    EXPECT_EQ(CSpritePacker().PackSprites(images), 1024);
    EXPECT_EQ(Where(images[0]), "1 at 0,1001 64x16 turned");
}

// The table is in size order (file order among equals); each placed image
// keeps its size or lies turned, stays inside the atlas, keeps a free pixel
// to every other; nothing still free lies under an image; the atlas side
// is the smallest power of two holding all.
TEST(SpritePacker, random_lists_keep_gaps_and_bounds)
{
    std::mt19937 rng(7051);
    auto uniform = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int trial = 0; trial < 300 && !HasFailure(); ++trial) {
        const int area = 1 << uniform(trial % 3 ? 10 : 4, 10), maxSide = uniform(1, trial % 5 ? 300 : 1100);
        std::vector<std::pair<int32_t, int32_t>> sizes(uniform(0, 40));
        for (auto& s : sizes)
            s = {uniform(1, maxSide), uniform(1, maxSide)};
        std::vector<SpriteImage> images = Images(sizes);
        for (SpriteImage& image : images)
            image.loaded = uniform(0, 9) != 0;
        CSpritePacker packer(area);
        const int32_t atlas = packer.PackSprites(images);
        auto key = [&sizes](const SpriteImage& s) { return std::max(sizes[s.entry].first, sizes[s.entry].second); };
        int32_t needed = 1;
        for (size_t i = 0; i < images.size(); ++i) {
            const SpriteImage& a = images[i];
            const auto size = sizes[a.entry];
            const SpriteImage& prev = images[i > 0 ? i - 1 : i];
            EXPECT_TRUE(i == 0 || key(prev) < key(a) || (key(prev) == key(a) && prev.entry < a.entry)) << trial;
            if (!a.placed)
                continue;
            EXPECT_TRUE(a.loaded);
            EXPECT_TRUE(a.turned ? a.w == size.second && a.h == size.first : a.w == size.first && a.h == size.second);
            EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.x + a.w <= std::min(area, atlas) && a.y + a.h <= std::min(area, atlas))
                << "trial " << trial;
            needed = std::max({needed, NextPowerOfTwo(a.x + a.w), NextPowerOfTwo(a.y + a.h)});
            for (size_t j = 0; j < i; ++j)
                EXPECT_FALSE(images[j].placed && Overlap(a, images[j], 1)) << "trial " << trial << " entries " << a.entry;
            for (const Rect& f : packer.GetFreeRects())
                EXPECT_FALSE(f.w > 0 && f.h > 0 && Overlap(a, f, 0)) << "trial " << trial;
        }
        EXPECT_EQ(atlas, needed) << "trial " << trial;
    }
}

} // namespace
