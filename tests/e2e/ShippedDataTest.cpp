// The committed data files, read the way the game reads them: the two lists
// through the engine's list reader, images through SDL_image, samples
// through SDL, the icon through SDL's BMP loader and the font through
// FreeType at the game's size. Also checks that the committed files are
// what the generator makes today, so an edit to it cannot go unshipped.
#include "DataSet.h"
#include "SurfaceProbe.h"
#include "engine/DataFile.h"
#include "graphics/CSpritePacker.h"

#include <SDL_image.h>
#include <algorithm>
#include <filesystem>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

namespace {

const std::string kRoot = VESK_SOURCE_DIR;

std::string FromRoot(const std::string& gamePath)
{
    return kRoot + "/" + HostPath(gamePath);
}

// The sprite list through the game's own atlas packing: the returned order
// is the sprites' id order.
std::vector<SpriteImage> PackedSprites(int32_t* side)
{
    std::vector<std::string> lines;
    EXPECT_TRUE(ReadListFile(kRoot + "/Data/sprites.dat", lines));
    std::vector<SpriteImage> images;
    for (size_t i = 0; i < lines.size(); ++i)
    {
        SpriteImage image;
        image.name = lines[i];
        image.entry = i;
        SDL_Surface* s = IMG_Load(FromRoot(lines[i]).c_str());
        EXPECT_NE(s, nullptr) << lines[i] << ": " << IMG_GetError();
        if (s)
        {
            image.loaded = true;
            image.w = s->w;
            image.h = s->h;
            // Alpha is needed for the tokens' round edges.
            EXPECT_TRUE(s->format->Amask != 0 || s->w == 1024) << lines[i];
            SDL_FreeSurface(s);
        }
        images.push_back(image);
    }
    CSpritePacker packer;
    *side = packer.PackSprites(images);
    return images;
}

TEST(ShippedData, sprites_pack_into_the_atlas_as_silver_gold_backdrop)
{
    int32_t side = 0;
    std::vector<SpriteImage> sprites = PackedSprites(&side);
    ASSERT_EQ(sprites.size(), 3u);
    EXPECT_NE(sprites[0].name.find("silver"), std::string::npos);
    EXPECT_NE(sprites[1].name.find("gold"), std::string::npos);
    EXPECT_EQ(sprites[2].w, 1024);
    EXPECT_EQ(sprites[2].h, 768);
    EXPECT_EQ(side, 1024);
    for (const SpriteImage& a : sprites)
    {
        EXPECT_TRUE(a.placed) << a.name << " found no room in the atlas";
        EXPECT_FALSE(a.turned) << a.name;
        EXPECT_LE(a.x + a.w, side);
        EXPECT_LE(a.y + a.h, side);
        for (const SpriteImage& b : sprites)
        {
            bool apart = &a == &b || a.x + a.w <= b.x || b.x + b.w <= a.x ||
                         a.y + a.h <= b.y || b.y + b.h <= a.y;
            EXPECT_TRUE(apart) << a.name << " overlaps " << b.name;
        }
    }
    // Equal sizes, so neither side's token looks bigger; and a token drawn
    // in a stack ring of radius 44 should not reach far past its cell's
    // edge at radius 60.
    EXPECT_EQ(sprites[0].w, sprites[1].w);
    EXPECT_EQ(sprites[0].h, sprites[1].h);
    EXPECT_GE(sprites[0].w, 40);
    EXPECT_LE(sprites[0].w, 48);
}

TEST(ShippedData, sound_list_names_four_playable_samples_in_use_order)
{
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadListFile(kRoot + "/Data/sounds.dat", lines));
    ASSERT_EQ(lines.size(), 4u);
    // Hover tick, placement, game over, pass: the ids the game plays.
    const char* expected[] = { "tick", "clack", "chime", "whoosh" };
    for (size_t i = 0; i < 4; ++i)
    {
        EXPECT_EQ(lines[i].find('/'), std::string::npos) << "Windows separators only";
        EXPECT_NE(lines[i].find(expected[i]), std::string::npos) << lines[i];
        probe::Wave w = probe::LoadWave(FromRoot(lines[i]));
        ASSERT_TRUE(w.loaded) << lines[i];
        EXPECT_EQ(w.spec.freq, 44100);
        EXPECT_EQ(w.spec.format, AUDIO_S16LSB);
        double seconds = double(w.samples.size()) / w.spec.channels / w.spec.freq;
        EXPECT_GT(seconds, 0.01);
        EXPECT_LT(seconds, 2.5);
        int peak = 0;
        for (int16_t v : w.samples)
            peak = std::max(peak, std::abs(int(v)));
        EXPECT_GT(peak, 3000) << lines[i] << " is nearly silent";
    }
}

// The icon as the engine checks it: 32 by 32, with a palette, the top-left
// pixel's index as the transparent key, and a mark that is neither all key
// nor without any.
TEST(ShippedData, icon_is_a_keyed_32_pixel_palette_bitmap)
{
    SDL_Surface* s = SDL_LoadBMP((kRoot + "/Vesk.bmp").c_str());
    ASSERT_NE(s, nullptr) << SDL_GetError();
    EXPECT_EQ(s->w, 32);
    EXPECT_EQ(s->h, 32);
    ASSERT_NE(s->format->palette, nullptr);
    EXPECT_LE(s->format->BitsPerPixel, 8);
    const uint8_t* px = static_cast<const uint8_t*>(s->pixels);
    const uint8_t key = px[0];
    int keyed = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            keyed += px[y * s->pitch + x] == key;
    EXPECT_GT(keyed, 32 * 32 / 5);
    EXPECT_LT(keyed, 32 * 32 * 3 / 5);
    // The other corners are background too, the middle is not.
    EXPECT_EQ(px[31], key);
    EXPECT_EQ(px[31 * s->pitch], key);
    EXPECT_NE(px[16 * s->pitch + 14], key);
    SDL_FreeSurface(s);
}

class ShippedFont : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(FT_Init_FreeType(&m_lib), 0);
        ASSERT_EQ(FT_New_Face(m_lib, FromRoot("Data\\36DAYSAG.TTF").c_str(), 0, &m_face), 0);
        ASSERT_EQ(FT_Set_Char_Size(m_face, 0, 40 * 64, 72, 0), 0);
    }
    void TearDown() override
    {
        if (m_face)
            FT_Done_Face(m_face);
        if (m_lib)
            FT_Done_FreeType(m_lib);
    }

    // Pen advance of a text in pixels, as the game draws it (no kerning),
    // and the highest row above the baseline.
    int Width(const char* text, int* top = nullptr)
    {
        int w = 0, t = 0;
        for (const char* p = text; *p; ++p)
        {
            EXPECT_EQ(FT_Load_Char(m_face, FT_ULong(static_cast<unsigned char>(*p)), FT_LOAD_RENDER), 0);
            w += int(m_face->glyph->advance.x >> 6);
            t = std::max(t, m_face->glyph->bitmap_top);
        }
        if (top)
            *top = t;
        return w;
    }

    FT_Library m_lib = nullptr;
    FT_Face m_face = nullptr;
};

// Every glyph is rendered twice at start-up: a display face of a few
// hundred glyphs keeps that quick; and everything the game writes is there.
TEST_F(ShippedFont, maps_the_game_texts_with_few_glyphs)
{
    FT_UInt index = 0;
    FT_ULong code = FT_Get_First_Char(m_face, &index);
    int count = 0;
    while (index != 0)
    {
        count += code < 65536;
        code = FT_Get_Next_Char(m_face, code, &index);
    }
    EXPECT_GT(count, 95);
    EXPECT_LT(count, 1000);
    for (const char* c = " 0123456789:ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"; *c; ++c)
        EXPECT_NE(FT_Get_Char_Index(m_face, FT_ULong(*c)), 0u) << "'" << *c << "'";
}

// The texts at the game's fixed origins fit where they go: the menu labels
// inside their click rectangles (159 by 34 units, "Exit" 59), the right-hand
// labels inside the window, and the result texts roughly centred by their
// fixed offsets from x = 512.
TEST_F(ShippedFont, texts_fit_the_screen_layout)
{
    for (const char* label : { "Very Easy", "Easy", "Normal", "Hard" })
    {
        int top = 0;
        EXPECT_LE(Width(label, &top), 159) << label;
        EXPECT_LE(top, 34) << label;
    }
    EXPECT_LE(Width("Exit"), 59);
    EXPECT_LE(874 + Width("Opponent"), 1024);
    EXPECT_LE(874 + Width("Score: 115"), 1024);
    EXPECT_LE(944 + Width("Move"), 1024);
    EXPECT_LE(914 + Width("Passed"), 1024);
    EXPECT_NEAR(512 - 50 + Width("Gold Wins") / 2.0, 512, 40);
    EXPECT_NEAR(512 - 60 + Width("Silver Wins") / 2.0, 512, 40);
    EXPECT_NEAR(512 - 15 + Width("Tie") / 2.0, 512, 40);
    EXPECT_NEAR(467 + Width("VESK") / 2.0, 512, 40);
}

TEST(ShippedData, font_licence_names_the_font_and_its_package)
{
    std::vector<uint8_t> bytes = probe::ReadBytes(kRoot + "/Data/36DAYSAG.LICENSE");
    std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("Routed Gothic"), std::string::npos);
    EXPECT_NE(text.find("fonts-routed-gothic"), std::string::npos);
    EXPECT_NE(text.find("Open Font License"), std::string::npos);
}

// The committed pictures, sounds, lists and icon are what the generator
// makes now. Pictures are compared decoded, so only their pixels count.
TEST(ShippedData, committed_files_match_the_generator)
{
    std::string dir = probe::MakeTempDir();
    ASSERT_FALSE(dir.empty());
    std::string failed;
    ASSERT_TRUE(gen::GenerateAll(dir, failed)) << failed;
    for (const std::string& file : gen::GeneratedFiles())
    {
        std::string made = dir + "/" + file, shipped = kRoot + "/" + file;
        if (file.size() > 4 && file.compare(file.size() - 4, 4, ".png") == 0)
        {
            SDL_Surface* a = IMG_Load(made.c_str());
            SDL_Surface* b = IMG_Load(shipped.c_str());
            ASSERT_NE(a, nullptr) << made;
            ASSERT_NE(b, nullptr) << shipped;
            ASSERT_EQ(a->w, b->w) << file;
            ASSERT_EQ(a->h, b->h) << file;
            int differing = 0;
            for (int y = 0; y < a->h; ++y)
                for (int x = 0; x < a->w; ++x)
                {
                    gen::Rgba p = probe::PixelAt(a, x, y), q = probe::PixelAt(b, x, y);
                    differing += p.r != q.r || p.g != q.g || p.b != q.b || p.a != q.a;
                }
            EXPECT_EQ(differing, 0) << file << " is stale: run vesk-gendata";
            SDL_FreeSurface(a);
            SDL_FreeSurface(b);
        }
        else
        {
            EXPECT_TRUE(probe::ReadBytes(made) == probe::ReadBytes(shipped))
                << file << " is stale: run vesk-gendata";
        }
    }
    std::filesystem::remove_all(dir);
}

} // namespace
