// The committed data read the way the game reads it (its list reader and
// atlas packing, SDL_image, SDL's WAV and BMP loaders, FreeType), and
// checked to be what the generator makes today.
#include "DataSet.h"
#include "data/DataFile.h"
#include "graphics/CSpritePacker.h"

#include <SDL.h>
#include <SDL_image.h>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

namespace {

const std::string kRoot = VESK_SOURCE_DIR;

std::string FromRoot(const std::string& gamePath) { return kRoot + "/" + HostPath(gamePath); }

// A picture decoded to RGBA bytes, row after row; empty if it cannot load.
std::string Rgba(const std::string& path)
{
    std::string out;
    if (SDL_Surface* s = IMG_Load(path.c_str()))
    {
        SDL_Surface* rgba = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0xff, 0xff00,
                                                 0xff0000, 0xff000000);
        if (SDL_Surface* c = SDL_ConvertSurface(s, rgba->format, SDL_SWSURFACE))
        {
            out = std::to_string(c->w) + "x" + std::to_string(c->h) + ":";
            for (int y = 0; y < c->h; ++y)
                out.append(static_cast<const char*>(c->pixels) + y * c->pitch, size_t(c->w) * 4);
            SDL_FreeSurface(c);
        }
        SDL_FreeSurface(rgba);
        SDL_FreeSurface(s);
    }
    return out;
}

std::string Bytes(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// The list order is the sprite id order the game draws with.
TEST(ShippedData, sprites_load_and_pack_as_silver_gold_background)
{
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadListFile(kRoot + "/Data/sprites.dat", lines));
    ASSERT_EQ(lines.size(), 3u);
    std::vector<SpriteImage> images(3);
    for (size_t i = 0; i < 3; ++i)
    {
        images[i].name = lines[i];
        images[i].entry = i;
        SDL_Surface* s = IMG_Load(FromRoot(lines[i]).c_str());
        ASSERT_NE(s, nullptr) << lines[i] << ": " << IMG_GetError();
        images[i].loaded = true;
        images[i].w = s->w;
        images[i].h = s->h;
        // The tokens need alpha for their round edges.
        EXPECT_TRUE(i == 2 || s->format->Amask != 0) << lines[i];
        SDL_FreeSurface(s);
    }
    EXPECT_EQ(CSpritePacker().PackSprites(images), 1024);
    const char* names[] = { "silver", "gold", "background" };
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_NE(images[i].name.find(names[i]), std::string::npos) << images[i].name;
        EXPECT_TRUE(images[i].placed) << images[i].name;
    }
    EXPECT_EQ(images[0].w, images[1].w);
    EXPECT_EQ(images[2].w, 1024);
    EXPECT_EQ(images[2].h, 768);
}

// Hover tick, placement, game over, pass: the sound ids the game plays.
TEST(ShippedData, sound_list_names_four_audible_samples_in_use_order)
{
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadListFile(kRoot + "/Data/sounds.dat", lines));
    ASSERT_EQ(lines.size(), 4u);
    const char* names[] = { "tick", "clack", "chime", "whoosh" };
    for (size_t i = 0; i < 4; ++i)
    {
        EXPECT_NE(lines[i].find(names[i]), std::string::npos) << lines[i];
        SDL_AudioSpec wav;
        Uint8* buf = nullptr;
        Uint32 len = 0;
        ASSERT_TRUE(SDL_LoadWAV(FromRoot(lines[i]).c_str(), &wav, &buf, &len)) << lines[i];
        EXPECT_EQ(wav.freq, 44100);
        EXPECT_EQ(wav.format, AUDIO_S16LSB);
        int peak = 0;
        for (Uint32 k = 0; k + 1 < len; k += 2)
        {
            int16_t v;
            std::memcpy(&v, buf + k, 2);
            peak = std::max(peak, std::abs(int(v)));
        }
        EXPECT_GT(peak, 3000) << lines[i] << " is nearly silent";
        SDL_FreeWAV(buf);
    }
}

// As the engine takes it: 32 by 32 with a palette, the top-left index the
// transparent key, the corners keyed and the middle not.
TEST(ShippedData, icon_is_a_keyed_32_pixel_palette_bitmap)
{
    SDL_Surface* s = SDL_LoadBMP((kRoot + "/Vesk.bmp").c_str());
    ASSERT_NE(s, nullptr) << SDL_GetError();
    EXPECT_EQ(s->w, 32);
    EXPECT_EQ(s->h, 32);
    ASSERT_NE(s->format->palette, nullptr);
    const uint8_t* px = static_cast<const uint8_t*>(s->pixels);
    EXPECT_EQ(px[31], px[0]);
    EXPECT_EQ(px[31 * s->pitch], px[0]);
    EXPECT_NE(px[16 * s->pitch + 14], px[0]);
    SDL_FreeSurface(s);
}

TEST(ShippedData, font_has_every_character_the_game_writes)
{
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&lib), 0);
    ASSERT_EQ(FT_New_Face(lib, FromRoot("Data\\36DAYSAG.TTF").c_str(), 0, &face), 0);
    ASSERT_EQ(FT_Set_Char_Size(face, 0, 40 * 64, 72, 0), 0);
    for (const char* c = " 0123456789:ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"; *c; ++c)
    {
        FT_UInt index = FT_Get_Char_Index(face, FT_ULong(*c));
        EXPECT_NE(index, 0u) << "'" << *c << "'";
        EXPECT_EQ(FT_Load_Glyph(face, index, FT_LOAD_RENDER), 0) << "'" << *c << "'";
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
}

// Pictures are compared decoded, so only their pixels count.
TEST(ShippedData, committed_files_match_the_generator)
{
    std::string dir = (std::filesystem::temp_directory_path() /
                       ("vesk-data-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(dir);
    std::string failed;
    ASSERT_TRUE(gen::GenerateAll(dir, failed)) << failed;
    for (const std::string& file : gen::GeneratedFiles())
    {
        std::string made = dir + "/" + file, shipped = kRoot + "/" + file;
        bool png = file.size() > 4 && file.compare(file.size() - 4, 4, ".png") == 0;
        std::string a = png ? Rgba(made) : Bytes(made), b = png ? Rgba(shipped) : Bytes(shipped);
        EXPECT_FALSE(a.empty()) << file;
        EXPECT_TRUE(a == b) << file << " is stale: run vesk-gendata";
    }
    std::filesystem::remove_all(dir);
}

} // namespace
