// A start with a real SDL, audio device and OpenGL window, a failed one, and what Shutdown releases.
#include "engine/CEngineSettings.h"
#include "engine/CGameEngine.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>
#include <unistd.h>

namespace {

bool AudioOpen() { return Mix_QuerySpec(nullptr, nullptr, nullptr) != 0; }

// A BMP icon of 8 bits with a palette, top-left index `key`.
void WriteIcon(const std::string& path, int w, int h, Uint8 key = 0)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 8, 0, 0, 0, 0);
    ASSERT_NE(s, nullptr);
    for (int i = 0; i < h * s->pitch; ++i)
        static_cast<Uint8*>(s->pixels)[i] = i == 0 ? key : Uint8(1 + i % 5);
    EXPECT_EQ(SDL_SaveBMP(s, path.c_str()), 0);
    SDL_FreeSurface(s);
}

class EngineSetup : public ::testing::Test
{
protected:
    void SetUp() override { settings.m_IconFile = testing::TempDir() + "vesk-" + std::to_string(getpid()) + ".bmp"; }
    void TearDown() override
    {
        engine->Shutdown();
        std::remove(settings.m_IconFile.c_str());
    }

    // Nothing is held after Shutdown, and a second Shutdown is harmless.
    void ExpectShutdownReleasesAll()
    {
        for (int pass = 1; pass <= 2; ++pass) {
            engine->Shutdown();
            EXPECT_EQ(SDL_WasInit(0), 0u) << pass;
            EXPECT_FALSE(AudioOpen()) << pass;
            EXPECT_EQ(engine->GetIcon(), nullptr) << pass;
            EXPECT_EQ(SDL_GetVideoSurface(), nullptr) << pass;
        }
    }

    CGameEngine* engine = CGameEngine::GetInstance();
    CEngineSettings settings = CEngineSettings::DefaultSettings();
};

// A start holds a 1024 by 768 OpenGL window (its projection shows in the
// drawing tests: pixels read where the world drew), the audio device and the
// icon, whose top-left palette index is transparent; after Shutdown it starts again.
// An icon of the wrong size fails the start, saying so, and leaves nothing held.
TEST_F(EngineSetup, starts_and_shuts_down)
{
    WriteIcon(settings.m_IconFile, 32, 16);
    EXPECT_FALSE(engine->Init(settings));
    EXPECT_EQ(engine->GetInitError(), "the window icon \"" + settings.m_IconFile + "\" is 32 by 16 pixels; it must be 32 by 32");
    ExpectShutdownReleasesAll();
    WriteIcon(settings.m_IconFile, 32, 32, 9);
    for (int start = 1; start <= 2; ++start) {
        ASSERT_TRUE(engine->Init(settings)) << engine->GetInitError();
        const SDL_Surface* screen = SDL_GetVideoSurface();
        ASSERT_NE(screen, nullptr);
        EXPECT_EQ(std::make_tuple(screen->w, screen->h, int(screen->format->BitsPerPixel)), std::make_tuple(1024, 768, 32));
        EXPECT_TRUE(screen->flags & SDL_OPENGL);
        EXPECT_TRUE(AudioOpen());
        ASSERT_NE(engine->GetIcon(), nullptr);
        EXPECT_TRUE(engine->GetIcon()->flags & SDL_SRCCOLORKEY);
        EXPECT_EQ(engine->GetIcon()->format->colorkey, 9u);
        ExpectShutdownReleasesAll();
    }
}

} // namespace
