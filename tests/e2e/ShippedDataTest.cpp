// The committed data are what the generator makes and, read as the game reads them, what the game expects.
#include "DataSet.h"
#include "data/DataFile.h"
#include "windows/PngImage.h"

#include <SDL.h>
#include <SDL_image.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <png.h>
#include <unistd.h>

namespace {

const std::string kRoot = VESK_SOURCE_DIR "/";

// A picture decoded to its size, depth and RGBA bytes (empty if it does not load), another file's bytes.
std::string Contents(const std::string& path, SDL_Surface* (*load)(const char*) = IMG_Load)
{
    if (path.compare(path.size() - 4, 4, ".png") != 0)
        return std::string(std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {});
    SDL_PixelFormat rgba{nullptr, 32, 4, 0, 0, 0, 0, 0, 8, 16, 24, 0xff, 0xff00, 0xff0000, 0xff000000, 0, 255};
    SDL_Surface* s = load(path.c_str());
    SDL_Surface* c = s ? SDL_ConvertSurface(s, &rgba, SDL_SWSURFACE) : nullptr;
    std::string out = c ? std::to_string(c->w) + "x" + std::to_string(c->h) + "x" + std::to_string(s->format->BitsPerPixel) + ":" : "";
    for (int y = 0; c && y < c->h; ++y) out.append(static_cast<const char*>(c->pixels) + y * c->pitch, size_t(c->w) * 4);
    SDL_FreeSurface(c), SDL_FreeSurface(s);
    return out;
}

TEST(ShippedData, committed_files_match_the_generator)
{
    const std::string dir = (std::filesystem::temp_directory_path() / ("vesk-data-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(dir);
    std::string failed;
    ASSERT_TRUE(gen::GenerateAll(dir, failed)) << failed;
    for (const std::string& file : gen::GeneratedFiles()) {
        const std::string made = Contents(dir + "/" + file);
        EXPECT_TRUE(!made.empty() && made == Contents(kRoot + file)) << file << " is stale: run vesk-gendata";
    }
    std::filesystem::remove_all(dir);
}

// The Windows build's IMG_Load, its own on libpng: SDL_image's pixels and depth on every shipped
// picture and on rows that SDL pads (3 RGB pixels); nothing from a file that is no whole PNG or none.
TEST(ShippedData, windows_png_loader_gives_what_sdl_image_gives)
{
    const unsigned char odd[18] = { 255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 99, 199, 1, 2, 3, 250, 251, 252 };
    png_image image{ nullptr, PNG_IMAGE_VERSION, 3, 2, PNG_FORMAT_RGB, 0, 0, 0, {} };
    ASSERT_TRUE(png_image_write_to_file(&image, "odd.png", 0, odd, 0, nullptr));
    std::vector<std::string> pictures = { "odd.png" };
    for (const std::string& file : gen::GeneratedFiles())
        if (file.compare(file.size() - 4, 4, ".png") == 0)
            pictures.push_back(kRoot + file);
    for (const std::string& file : pictures)
        EXPECT_EQ(Contents(file, windows::LoadPng), Contents(file)) << file;
    const std::string png(std::istreambuf_iterator<char>(std::ifstream(kRoot + "Data/silver.png", std::ios::binary).rdbuf()), {});
    EXPECT_EQ(windows::LoadPng("absent.png"), nullptr);
    for (const std::string& bytes : { std::string(), png.substr(0, png.size() / 2),
                                      std::string(png).replace(300, 8, "rubbish!"), png.substr(0, 8) + std::string(500, 'x') }) {
        std::ofstream("bad.png", std::ios::binary) << bytes;
        EXPECT_EQ(windows::LoadPng("bad.png"), nullptr) << bytes.size();
    }
    std::remove("bad.png"), std::remove("odd.png");
}

// The sound ids the game plays, each audible (the sprites' order shows in the end-to-end game's colours).
TEST(ShippedData, sounds_in_the_order_the_game_uses_them)
{
    std::vector<std::string> lines;
    std::string names;
    ASSERT_TRUE(ReadListFile(kRoot + "Data/sounds.dat", lines));
    for (const std::string& line : lines) {
        const std::string path = kRoot + HostPath(line);
        SDL_AudioSpec wav;
        Uint8* buf = nullptr;
        Uint32 len = 0, peak = 0;
        ASSERT_TRUE(SDL_LoadWAV(path.c_str(), &wav, &buf, &len)) << path;
        for (Uint32 k = 0; wav.format == AUDIO_S16LSB && k + 1 < len; k += 2)
            peak = std::max(peak, Uint32(std::abs(int(int16_t(buf[k] | buf[k + 1] << 8)))));
        EXPECT_GT(peak, 3000u) << path << " is nearly silent";
        SDL_FreeWAV(buf);
        names += path.substr(path.rfind('/') + 1) + " ";
    }
    EXPECT_EQ(names, "tick.wav clack.wav chime.wav whoosh.wav ");
}

} // namespace
