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

std::vector<std::string> List(const char* name)
{
    std::vector<std::string> lines;
    EXPECT_TRUE(ReadListFile(kRoot + "/" + HostPath(name), lines)) << name;
    for (std::string& line : lines)
        line = kRoot + "/" + HostPath(line);
    return lines;
}

// The list order is the sprite id order the game draws with: Silver's token,
// Gold's, the background; the tokens have alpha for their round edges.
TEST(ShippedData, sprites_load_and_pack_as_silver_gold_background)
{
    std::vector<SpriteImage> images;
    for (const std::string& path : List("Data\\sprites.dat")) {
        SDL_Surface* s = IMG_Load(path.c_str());
        ASSERT_NE(s, nullptr) << path << ": " << IMG_GetError();
        EXPECT_TRUE(images.size() == 2 || s->format->Amask != 0) << path;
        images.push_back(SpriteImage{path, images.size(), true, 0, 0, s->w, s->h});
        SDL_FreeSurface(s);
    }
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(CSpritePacker().PackSprites(images), 1024);
    const char* names[] = {"silver", "gold", "background"};
    for (size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(images[i].name.find(names[i], images[i].name.rfind('/')) != std::string::npos && images[i].placed) << images[i].name;
    EXPECT_EQ(images[0].w, images[1].w);
    EXPECT_EQ(images[2].w * 1000 + images[2].h, 1024768);
}

// Hover tick, placement, game over, pass: the sound ids the game plays, each
// loud enough to hear.
TEST(ShippedData, sound_list_names_four_audible_samples_in_use_order)
{
    const std::vector<std::string> paths = List("Data\\sounds.dat");
    ASSERT_EQ(paths.size(), 4u);
    const char* names[] = {"tick", "clack", "chime", "whoosh"};
    for (size_t i = 0; i < 4; ++i) {
        SDL_AudioSpec wav;
        Uint8* buf = nullptr;
        Uint32 len = 0;
        ASSERT_TRUE(SDL_LoadWAV(paths[i].c_str(), &wav, &buf, &len)) << paths[i];
        EXPECT_NE(paths[i].find(names[i], paths[i].rfind('/')), std::string::npos) << paths[i];
        EXPECT_TRUE(wav.freq == 44100 && wav.format == AUDIO_S16LSB) << paths[i];
        int peak = 0;
        for (Uint32 k = 0; k + 1 < len; k += 2)
            peak = std::max(peak, std::abs(int(int16_t(buf[k] | buf[k + 1] << 8))));
        EXPECT_GT(peak, 3000) << paths[i] << " is nearly silent";
        SDL_FreeWAV(buf);
    }
}

// As the engine takes it: 32 by 32 with a palette, the top-left index the
// transparent key, the corners keyed and the middle not; and the font has
// every character the game writes.
TEST(ShippedData, keyed_32_pixel_icon_and_a_font_for_every_text)
{
    SDL_Surface* s = SDL_LoadBMP((kRoot + "/Vesk.bmp").c_str());
    ASSERT_NE(s, nullptr) << SDL_GetError();
    ASSERT_TRUE(s->w == 32 && s->h == 32 && s->format->palette);
    const uint8_t* px = static_cast<const uint8_t*>(s->pixels);
    EXPECT_TRUE(px[31] == px[0] && px[31 * s->pitch] == px[0] && px[16 * s->pitch + 14] != px[0]);
    SDL_FreeSurface(s);

    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&lib), 0);
    ASSERT_EQ(FT_New_Face(lib, (kRoot + "/Data/36DAYSAG.TTF").c_str(), 0, &face), 0);
    ASSERT_EQ(FT_Set_Char_Size(face, 0, 40 * 64, 72, 0), 0);
    for (const char* c = " 0123456789:ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"; *c; ++c) {
        const FT_UInt index = FT_Get_Char_Index(face, FT_ULong(*c));
        EXPECT_TRUE(index != 0 && FT_Load_Glyph(face, index, FT_LOAD_RENDER) == 0) << "'" << *c << "'";
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
}

// A picture decoded to its size and RGBA bytes; empty if it cannot load.
std::string Rgba(const std::string& path)
{
    SDL_Surface* s = IMG_Load(path.c_str());
    SDL_PixelFormat rgba{nullptr, 32, 4, 0, 0, 0, 0, 0, 8, 16, 24, 0xff, 0xff00, 0xff0000, 0xff000000, 0, 255};
    SDL_Surface* c = s ? SDL_ConvertSurface(s, &rgba, SDL_SWSURFACE) : nullptr;
    std::string out = c ? std::to_string(c->w) + "x" + std::to_string(c->h) + ":" : "";
    for (int y = 0; c && y < c->h; ++y)
        out.append(static_cast<const char*>(c->pixels) + y * c->pitch, size_t(c->w) * 4);
    SDL_FreeSurface(c);
    SDL_FreeSurface(s);
    return out;
}

// Pictures are compared decoded, so only their pixels count.
TEST(ShippedData, committed_files_match_the_generator)
{
    const std::string dir = (std::filesystem::temp_directory_path() / ("vesk-data-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(dir);
    std::string failed;
    ASSERT_TRUE(gen::GenerateAll(dir, failed)) << failed;
    for (const std::string& file : gen::GeneratedFiles()) {
        const std::string made = dir + "/" + file, shipped = kRoot + "/" + file;
        const bool png = file.size() > 4 && file.compare(file.size() - 4, 4, ".png") == 0;
        auto bytes = [](const std::string& path) {
            std::ifstream f(path, std::ios::binary);
            return std::string(std::istreambuf_iterator<char>(f), {});
        };
        const std::string a = png ? Rgba(made) : bytes(made), b = png ? Rgba(shipped) : bytes(shipped);
        EXPECT_TRUE(!a.empty() && a == b) << file << " is stale: run vesk-gendata";
    }
    std::filesystem::remove_all(dir);
}

} // namespace
