// A start with a real SDL, audio device and OpenGL window, a failed one, and what Shutdown releases.
#include "engine/CEngineSettings.h"
#include "engine/CGameEngine.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>
#include <unistd.h>

namespace {

bool AudioOpen()   // as the game opens it: CD-quality stereo, 64 channels to mix
{
    int rate = 0, channels = 0; Uint16 format = 0;
    return Mix_QuerySpec(&rate, &format, &channels) && rate == 44100 && format == AUDIO_S16LSB && channels == 2 &&
           Mix_AllocateChannels(-1) == 64;
}

// A BMP icon, of 8 bits with a palette unless told otherwise; top-left index `key`.
void WriteIcon(const std::string& path, int w, int h, Uint8 key = 0, int bits = 8)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, bits, 0, 0, 0, 0);
    ASSERT_NE(s, nullptr);
    for (int i = 0; i < h * s->pitch; ++i) static_cast<Uint8*>(s->pixels)[i] = i == 0 ? key : Uint8(1 + i % 5);
    EXPECT_EQ(SDL_SaveBMP(s, path.c_str()), 0);
    SDL_FreeSurface(s);
}

class EngineSetup : public ::testing::Test
{
protected:
    void SetUp() override { settings.m_IconFile = testing::TempDir() + "vesk-" + std::to_string(getpid()) + ".bmp"; }
    void TearDown() override { engine->Shutdown(), std::remove(settings.m_IconFile.c_str()); }

    // Nothing is held after Shutdown, and a second Shutdown is harmless.
    void ExpectShutdownReleasesAll()
    {
        for (int pass = 1; pass <= 2; ++pass) {
            engine->Shutdown();
            EXPECT_TRUE(SDL_WasInit(0) == 0 && !AudioOpen() && !engine->GetIcon() && !SDL_GetVideoSurface()) << pass;
        }
    }

    CGameEngine* engine = CGameEngine::GetInstance();
    CEngineSettings settings = CEngineSettings::DefaultSettings();
};

// A start holds a 1024 by 768 OpenGL window, the audio device and the icon, its top-left index transparent; after
// Shutdown it starts again. An icon not 32 by 32 or without a palette fails the start, saying so, holding nothing.
TEST_F(EngineSetup, starts_and_shuts_down)
{
    for (const auto& [w, h, bits, fault] : {std::tuple{32, 16, 8, "is 32 by 16 pixels; it must be 32 by 32"},
                                            {16, 16, 8, "is 16 by 16 pixels; it must be 32 by 32"},
                                            {32, 32, 24, "has 24 bits per pixel and no palette; it must be a palette image (8 bits per pixel or fewer)"}}) {
        WriteIcon(settings.m_IconFile, w, h, 0, bits);
        EXPECT_EQ(engine->Init(settings) ? "started" : engine->GetInitError(), "the window icon \"" + settings.m_IconFile + "\" " + fault);
        ExpectShutdownReleasesAll();
    }
    WriteIcon(settings.m_IconFile, 32, 32, 9);
    for (int start = 1; start <= 2; ++start) {
        ASSERT_TRUE(engine->Init(settings)) << engine->GetInitError();
        const SDL_Surface *screen = SDL_GetVideoSurface(), *icon = engine->GetIcon();
        ASSERT_TRUE(screen && icon);
        EXPECT_EQ(std::make_tuple(screen->w, screen->h, int(screen->format->BitsPerPixel)), std::make_tuple(1024, 768, 32));
        EXPECT_TRUE((screen->flags & SDL_OPENGL) && AudioOpen() && (icon->flags & SDL_SRCCOLORKEY) && icon->format->colorkey == 9);
        ExpectShutdownReleasesAll();
    }
}

// "-fullscreen" counts as a whole, case-sensitive argument, anywhere (argument 0 too), repeated; the count bounds it.
TEST(StartupSettings, fullscreen_option)
{
    const char* args[] = {"./vesk", "-Fullscreen", "--fullscreen", "-fullscreen=1", "-fullscree", "", "-fullscreen", "-fullscreen"};
    for (const auto& [first, count] : {std::pair{0, 6}, {6, 1}, {0, 8}, {0, 0}}) {
        CEngineSettings s = CEngineSettings::DefaultSettings();
        s.ScanCommandLine(count, args + first);
        EXPECT_EQ(s.m_Fullscreen, first == 6 || count == 8) << first << " " << count;
    }
}

} // namespace
