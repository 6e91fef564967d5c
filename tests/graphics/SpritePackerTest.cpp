// The sprite atlas packing: size order, guillotine split, one-pixel gaps.
#include "graphics/CSpritePacker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <vector>

namespace {

struct Size
{
    int32_t w;
    int32_t h;
};

std::vector<SpriteImage> MakeImages(const std::vector<Size>& sizes)
{
    std::vector<SpriteImage> images;
    for (size_t i = 0; i < sizes.size(); ++i) {
        SpriteImage image;
        image.name = "image" + std::to_string(i);
        image.entry = i;
        image.loaded = true;
        image.w = sizes[i].w;
        image.h = sizes[i].h;
        images.push_back(image);
    }
    return images;
}

void ExpectPlace(const SpriteImage& image, size_t entry, int32_t x, int32_t y, int32_t w, int32_t h, bool turned)
{
    EXPECT_EQ(image.entry, entry);
    EXPECT_TRUE(image.placed) << "entry " << entry;
    EXPECT_EQ(image.x, x) << "entry " << entry;
    EXPECT_EQ(image.y, y) << "entry " << entry;
    EXPECT_EQ(image.w, w) << "entry " << entry;
    EXPECT_EQ(image.h, h) << "entry " << entry;
    EXPECT_EQ(image.turned, turned) << "entry " << entry;
}

TEST(SpritePacker, worked_example_to_the_coordinate)
{
    // A, B, C, D in file order.
    std::vector<SpriteImage> images = MakeImages({{64, 64}, {32, 48}, {128, 16}, {48, 32}});
    CSpritePacker packer;
    EXPECT_EQ(packer.PackSprites(images), 128);
    ASSERT_EQ(images.size(), 4u);
    ExpectPlace(images[0], 1, 65, 17, 32, 48, false);  // B
    ExpectPlace(images[1], 3, 0, 82, 48, 32, false);   // D
    ExpectPlace(images[2], 0, 0, 17, 64, 64, false);   // A
    ExpectPlace(images[3], 2, 0, 0, 128, 16, false);   // C

    const std::vector<Rect> expected{{129, 0, 895, 16}, {49, 82, 15, 32}, {0, 115, 64, 909},
                                     {65, 66, 32, 958}, {98, 17, 926, 1007}};
    const std::vector<Rect>& free = packer.GetFreeRects();
    ASSERT_EQ(free.size(), expected.size());
    for (size_t i = 0; i < free.size(); ++i) {
        EXPECT_EQ(free[i].x, expected[i].x) << i;
        EXPECT_EQ(free[i].y, expected[i].y) << i;
        EXPECT_EQ(free[i].w, expected[i].w) << i;
        EXPECT_EQ(free[i].h, expected[i].h) << i;
    }
}

TEST(SpritePacker, equal_larger_sides_keep_file_order_and_unloaded_take_no_place)
{
    std::vector<SpriteImage> images = MakeImages({{40, 10}, {0, 0}, {20, 40}, {40, 40}, {3, 5}, {10, 40}});
    images[1].loaded = false;
    CSpritePacker packer;
    packer.PackSprites(images);
    std::vector<size_t> order;
    for (const SpriteImage& image : images)
        order.push_back(image.entry);
    EXPECT_EQ(order, (std::vector<size_t>{1, 4, 0, 2, 3, 5}));
    EXPECT_FALSE(images[0].placed);
    // Among equal keys the one later in the file is placed first.
    ExpectPlace(images[5], 5, 0, 0, 10, 40, false);
}

TEST(SpritePacker, atlas_side_is_the_smallest_power_of_two)
{
    {
        std::vector<SpriteImage> images = MakeImages({{1024, 1024}});
        EXPECT_EQ(CSpritePacker().PackSprites(images), 1024);
        ExpectPlace(images[0], 0, 0, 0, 1024, 1024, false);
    }
    {
        std::vector<SpriteImage> images = MakeImages({{1, 1}});
        EXPECT_EQ(CSpritePacker().PackSprites(images), 1);
        ExpectPlace(images[0], 0, 0, 0, 1, 1, false);
    }
    {
        std::vector<SpriteImage> none;
        EXPECT_EQ(CSpritePacker().PackSprites(none), 1);
    }
    {   // A later free rectangle that needs no growth beats an earlier one that would.
        std::vector<SpriteImage> images = MakeImages({{128, 16}, {100, 16}});
        EXPECT_EQ(CSpritePacker().PackSprites(images), 128);
        ExpectPlace(images[0], 1, 0, 17, 100, 16, false);
    }
    {   // 33 wide needs 64, even though it is only one pixel past 32.
        std::vector<SpriteImage> images = MakeImages({{33, 2}});
        EXPECT_EQ(CSpritePacker().PackSprites(images), 64);
    }
}

TEST(SpritePacker, image_that_fits_only_turned_is_turned)
{
    // The first leaves a strip 1024 wide and 23 high: 16 x 64 fits only lying.
    std::vector<SpriteImage> images = MakeImages({{1024, 1000}, {16, 64}});
    CSpritePacker packer;
    EXPECT_EQ(packer.PackSprites(images), 1024);
    ExpectPlace(images[0], 1, 0, 1001, 64, 16, true);
    ExpectPlace(images[1], 0, 0, 0, 1024, 1000, false);
}

TEST(SpritePacker, images_without_room_stay_unplaced)
{
    {
        std::vector<SpriteImage> images = MakeImages({{1025, 4}, {8, 8}, {4, 2000}});
        CSpritePacker packer;
        EXPECT_EQ(packer.PackSprites(images), 8);
        EXPECT_TRUE(images[0].placed);
        EXPECT_FALSE(images[1].placed);
        EXPECT_FALSE(images[2].placed);
    }
    {   // The second of two large images finds no room either way.
        std::vector<SpriteImage> images = MakeImages({{1024, 600}, {1024, 600}});
        CSpritePacker packer;
        EXPECT_EQ(packer.PackSprites(images), 1024);
        EXPECT_FALSE(images[0].placed);
        ExpectPlace(images[1], 1, 0, 0, 1024, 600, false);
    }
    {   // Sizes no image has must not wrap round into a place.
        std::vector<SpriteImage> images = MakeImages({{INT32_MAX, 1}, {1, INT32_MAX}, {INT32_MAX, INT32_MAX},
                                                      {-5, 10}, {0, 7}});
        EXPECT_EQ(CSpritePacker().PackSprites(images), 1);
        for (const SpriteImage& image : images)
            EXPECT_FALSE(image.placed) << image.entry;
    }
}

// Random lists: the table is in size order (file order among equals), every
// placed image keeps its size (or lies turned), stays inside the area and the
// atlas, keeps a free pixel to every other image, and the atlas side is the
// smallest power of two that holds them all.
TEST(SpritePacker, random_lists_keep_every_placement_sound)
{
    std::mt19937 rng(7051);
    for (int trial = 0; trial < 300; ++trial) {
        const int area = 1 << std::uniform_int_distribution<int>(trial % 3 == 0 ? 4 : 10, 10)(rng);
        const int maxSide = std::uniform_int_distribution<int>(1, trial % 5 == 0 ? 1100 : 300)(rng);
        std::uniform_int_distribution<int> side(1, maxSide);
        std::vector<Size> sizes(std::uniform_int_distribution<int>(0, 40)(rng));
        for (Size& s : sizes)
            s = {side(rng), side(rng)};
        std::vector<SpriteImage> images = MakeImages(sizes);
        for (SpriteImage& image : images)
            image.loaded = std::uniform_int_distribution<int>(0, 9)(rng) != 0;

        CSpritePacker packer(area);
        const int32_t atlas = packer.PackSprites(images);
        ASSERT_EQ(images.size(), sizes.size());

        int32_t needed = 1;
        for (size_t i = 0; i < images.size(); ++i) {
            const SpriteImage& a = images[i];
            const Size& s = sizes[a.entry];
            if (i > 0) {
                const SpriteImage& prev = images[i - 1];
                const int32_t key = std::max(s.w, s.h);
                const int32_t prevKey = std::max(sizes[prev.entry].w, sizes[prev.entry].h);
                EXPECT_TRUE(prevKey < key || (prevKey == key && prev.entry < a.entry)) << "trial " << trial;
            }
            if (!a.placed)
                continue;
            EXPECT_TRUE(a.loaded);
            if (a.turned)
                EXPECT_TRUE(a.w == s.h && a.h == s.w) << "trial " << trial;
            else
                EXPECT_TRUE(a.w == s.w && a.h == s.h) << "trial " << trial;
            EXPECT_GE(a.x, 0);
            EXPECT_GE(a.y, 0);
            EXPECT_LE(a.x + a.w, std::min(area, atlas)) << "trial " << trial;
            EXPECT_LE(a.y + a.h, std::min(area, atlas)) << "trial " << trial;
            needed = std::max({needed, NextPowerOfTwo(a.x + a.w), NextPowerOfTwo(a.y + a.h)});
            for (size_t j = 0; j < i; ++j) {
                const SpriteImage& b = images[j];
                if (!b.placed)
                    continue;
                const bool apart = a.x + a.w + 1 <= b.x || b.x + b.w + 1 <= a.x ||
                                   a.y + a.h + 1 <= b.y || b.y + b.h + 1 <= a.y;
                EXPECT_TRUE(apart) << "trial " << trial << " entries " << a.entry << ", " << b.entry;
            }
        }
        EXPECT_EQ(atlas, needed) << "trial " << trial;

        // What is still free lies in the area and under no image.
        for (const Rect& f : packer.GetFreeRects()) {
            if (f.w <= 0 || f.h <= 0)
                continue;
            EXPECT_TRUE(f.x >= 0 && f.y >= 0 && f.x + f.w <= area && f.y + f.h <= area) << "trial " << trial;
            for (const SpriteImage& a : images) {
                if (a.placed) {
                    EXPECT_TRUE(a.x + a.w <= f.x || f.x + f.w <= a.x || a.y + a.h <= f.y || f.y + f.h <= a.y)
                        << "trial " << trial;
                }
            }
        }
        if (HasFailure())
            break;
    }
}

} // namespace
