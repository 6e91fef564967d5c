// The committed data are what the generator makes and, read as the game reads them, what the game expects.
#include "DataSet.h"
#include "data/DataFile.h"

#include <SDL.h>
#include <SDL_image.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

namespace {

const std::string kRoot = VESK_SOURCE_DIR "/";

// A picture decoded to its size and RGBA bytes (empty if it does not load), another file's bytes.
std::string Contents(const std::string& path)
{
    if (path.compare(path.size() - 4, 4, ".png") != 0)
        return std::string(std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {});
    SDL_PixelFormat rgba{nullptr, 32, 4, 0, 0, 0, 0, 0, 8, 16, 24, 0xff, 0xff00, 0xff0000, 0xff000000, 0, 255};
    SDL_Surface* s = IMG_Load(path.c_str());
    SDL_Surface* c = s ? SDL_ConvertSurface(s, &rgba, SDL_SWSURFACE) : nullptr;
    std::string out = c ? std::to_string(c->w) + "x" + std::to_string(c->h) + ":" : "";
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
