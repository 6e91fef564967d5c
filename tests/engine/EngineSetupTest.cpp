// Set-up and teardown with a real SDL, audio device and OpenGL window: what a
// start holds, what each failed start leaves, and that Shutdown releases it.
#include "engine/CEngineSettings.h"
#include "engine/CGameEngine.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>
#include <unistd.h>

namespace {

bool AudioOpen() { return Mix_QuerySpec(nullptr, nullptr, nullptr) != 0; }

// A BMP icon, 8 bits with a palette (top-left index `key`) or 24 without.
void WriteIcon(const std::string& path, int w, int h, bool palette, Uint8 key = 0)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, palette ? 8 : 24, 0, 0, 0, 0);
    ASSERT_NE(s, nullptr);
    for (int i = 0; palette && i < h * s->pitch; ++i)
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
TEST_F(EngineSetup, starts_and_shuts_down)
{
    WriteIcon(settings.m_IconFile, 32, 32, true, 9);
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

// Each failed start says what failed and leaves exactly the earlier steps
// held: the audio device comes before the icon.
TEST_F(EngineSetup, failed_starts_leave_what_shutdown_releases)
{
    const std::string icon = "the window icon \"" + settings.m_IconFile + "\"";
    const struct { const char* audioDriver; int w, h; bool palette; std::string message; bool held; } cases[] = {
        {"dummy", 0, 0, true, "cannot open " + icon + ": ", true},   // no icon file
        {"dummy", 32, 32, false, icon + " has 24 bits per pixel and no palette", true},
        {"dummy", 32, 16, true, icon + " is 32 by 16 pixels; it must be 32 by 32", true},
        {"dummy", 16, 32, true, icon + " is 16 by 32 pixels; it must be 32 by 32", true},
        // Last: after a failed SDL_Init this SDL's SDL_WasInit reports nothing.
        {"no-such-driver", 32, 32, true, "no audio device: ", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        std::remove(settings.m_IconFile.c_str());
        if (c.w > 0)
            WriteIcon(settings.m_IconFile, c.w, c.h, c.palette);
        setenv("SDL_AUDIODRIVER", c.audioDriver, 1);
        EXPECT_FALSE(engine->Init(settings));
        EXPECT_EQ(engine->GetInitError().rfind(c.message, 0), 0u) << engine->GetInitError();
        EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO) != 0, c.held);
        EXPECT_EQ(AudioOpen(), c.held);
        EXPECT_EQ(engine->GetIcon(), nullptr);
        ExpectShutdownReleasesAll();
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

} // namespace
