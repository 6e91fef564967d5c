// The sprite atlas packing: size order, guillotine split, one-pixel gaps.
#include "graphics/CSpritePacker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

namespace {

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

::testing::AssertionResult Placed(const SpriteImage& s, size_t entry, Rect at, bool turned = false)
{
    if (s.placed && s.entry == entry && s.x == at.x && s.y == at.y && s.w == at.w && s.h == at.h && s.turned == turned)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "entry " << s.entry << (s.placed ? " at " : " unplaced, ") << s.x << ","
                                         << s.y << " " << s.w << "x" << s.h << (s.turned ? " turned" : "");
}

TEST(SpritePacker, worked_example_to_the_coordinate)
{
    std::vector<SpriteImage> images = Images({{64, 64}, {32, 48}, {128, 16}, {48, 32}});   // A, B, C, D
    CSpritePacker packer;
    EXPECT_EQ(packer.PackSprites(images), 128);
    EXPECT_TRUE(Placed(images[0], 1, {65, 17, 32, 48}));   // B
    EXPECT_TRUE(Placed(images[1], 3, {0, 82, 48, 32}));    // D
    EXPECT_TRUE(Placed(images[2], 0, {0, 17, 64, 64}));    // A
    EXPECT_TRUE(Placed(images[3], 2, {0, 0, 128, 16}));    // C
    const std::vector<Rect> expected{{129, 0, 895, 16}, {49, 82, 15, 32}, {0, 115, 64, 909},
                                     {65, 66, 32, 958}, {98, 17, 926, 1007}};
    ASSERT_EQ(packer.GetFreeRects().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const Rect& f = packer.GetFreeRects()[i];
        EXPECT_TRUE(f.x == expected[i].x && f.y == expected[i].y && f.w == expected[i].w && f.h == expected[i].h)
            << "free rectangle " << i;
    }
}

TEST(SpritePacker, choice_of_place_follows_the_rules)
{
    {   // Equal larger sides keep file order; an unloaded entry sorts but takes no place.
        std::vector<SpriteImage> images = Images({{40, 10}, {0, 0}, {20, 40}, {3, 5}, {10, 40}});
        images[1].loaded = false;
        CSpritePacker().PackSprites(images);
        std::vector<size_t> order;
        for (const SpriteImage& image : images)
            order.push_back(image.entry);
        EXPECT_EQ(order, (std::vector<size_t>{1, 3, 0, 2, 4}));
        EXPECT_FALSE(images[0].placed);
        EXPECT_TRUE(Placed(images[4], 4, {0, 0, 10, 40}));   // the later of equals goes first
    }
    {   // A later free rectangle needing no growth beats an earlier one that would.
        std::vector<SpriteImage> images = Images({{128, 16}, {100, 16}});
        EXPECT_EQ(CSpritePacker().PackSprites(images), 128);
        EXPECT_TRUE(Placed(images[0], 1, {0, 17, 100, 16}));
    }
    {   // The first leaves a strip 23 high: 16 x 64 fits only lying.
        std::vector<SpriteImage> images = Images({{1024, 1000}, {16, 64}});
        EXPECT_EQ(CSpritePacker().PackSprites(images), 1024);
        EXPECT_TRUE(Placed(images[0], 1, {0, 1001, 64, 16}, true));
    }
    {   // Sizes no image has must not wrap round into a place.
        std::vector<SpriteImage> images = Images({{INT32_MAX, 1}, {1, INT32_MAX}, {-5, 10}, {0, 7}, {1025, 1}});
        EXPECT_EQ(CSpritePacker().PackSprites(images), 1);
        for (const SpriteImage& image : images)
            EXPECT_FALSE(image.placed) << image.entry;
    }
}

// Random lists: the table is in size order (file order among equals); each
// placed image keeps its size (or lies turned), stays inside the area and the
// atlas, keeps a free pixel to every other image; nothing still free lies
// under an image; the atlas side is the smallest power of two holding all.
TEST(SpritePacker, random_lists_keep_every_placement_sound)
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

        int32_t needed = 1;
        for (size_t i = 0; i < images.size(); ++i) {
            const SpriteImage& a = images[i];
            const auto size = sizes[a.entry];
            const auto key = [&sizes](const SpriteImage& s) { return std::max(sizes[s.entry].first, sizes[s.entry].second); };
            if (i > 0) {
                const SpriteImage& prev = images[i - 1];
                EXPECT_TRUE(key(prev) < key(a) || (key(prev) == key(a) && prev.entry < a.entry)) << trial;
            }
            if (!a.placed)
                continue;
            EXPECT_TRUE(a.loaded);
            EXPECT_TRUE(a.turned ? a.w == size.second && a.h == size.first : a.w == size.first && a.h == size.second);
            EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.x + a.w <= std::min(area, atlas) && a.y + a.h <= std::min(area, atlas))
                << "trial " << trial;
            needed = std::max({needed, NextPowerOfTwo(a.x + a.w), NextPowerOfTwo(a.y + a.h)});
            for (size_t j = 0; j < i; ++j) {
                const SpriteImage& b = images[j];
                EXPECT_TRUE(!b.placed || a.x + a.w + 1 <= b.x || b.x + b.w + 1 <= a.x || a.y + a.h + 1 <= b.y ||
                            b.y + b.h + 1 <= a.y)
                    << "trial " << trial << " entries " << a.entry << ", " << b.entry;
            }
            for (const Rect& f : packer.GetFreeRects())
                EXPECT_TRUE(f.w <= 0 || f.h <= 0 || a.x + a.w <= f.x || f.x + f.w <= a.x || a.y + a.h <= f.y ||
                            f.y + f.h <= a.y)
                    << "trial " << trial;
        }
        EXPECT_EQ(atlas, needed) << "trial " << trial;
    }
}

} // namespace
