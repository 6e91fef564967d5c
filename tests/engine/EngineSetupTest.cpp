// Set-up and teardown with a real SDL, audio device and OpenGL window: what a
// start holds, what each failed start leaves, and that Shutdown releases it.

#include "TestFiles.h"

#include "engine/CGameEngine.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

namespace {

bool AudioOpen()
{
    int freq = 0, channels = 0;
    Uint16 format = 0;
    return Mix_QuerySpec(&freq, &format, &channels) != 0;
}

class EngineSetup : public ::testing::Test
{
protected:
    void SetUp() override { settings.m_IconFile = dir.File("Vesk.bmp"); }
    void TearDown() override { engine->Shutdown(); }

    // Nothing is held after Shutdown, and a second Shutdown is harmless.
    void ExpectShutdownReleasesAll()
    {
        for (int pass = 1; pass <= 2; ++pass)
        {
            engine->Shutdown();
            EXPECT_EQ(SDL_WasInit(0), 0u) << "Shutdown " << pass;
            EXPECT_FALSE(AudioOpen()) << "Shutdown " << pass;
            EXPECT_EQ(engine->GetIcon(), nullptr) << "Shutdown " << pass;
            EXPECT_EQ(SDL_GetVideoSurface(), nullptr) << "Shutdown " << pass;
        }
    }

    testfiles::TempDir dir;
    CGameEngine* engine = CGameEngine::GetInstance();
    CEngineSettings settings = CEngineSettings::DefaultSettings();
};

// A start holds an OpenGL window, the audio device and the icon, whose
// top-left palette index is transparent; after Shutdown it starts again.
TEST_F(EngineSetup, starts_and_shuts_down)
{
    ASSERT_TRUE(testfiles::WriteIcon(settings.m_IconFile, 32, 32, true, 9));
    for (int start = 1; start <= 2; ++start)
    {
        ASSERT_TRUE(engine->Init(settings)) << engine->GetInitError();
        const SDL_Surface* screen = SDL_GetVideoSurface();
        ASSERT_NE(screen, nullptr);
        EXPECT_EQ(screen->w, 1024);
        EXPECT_EQ(screen->h, 768);
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
    struct Case
    {
        const char* audioDriver;
        int iconSide;   // 0: no icon file
        bool palette;
        std::string message;   // how the error starts
        bool sdlHeld, audioHeld;
    };
    const std::string icon = "the window icon \"" + settings.m_IconFile + "\"";
    const Case cases[] = {
        {"dummy", 0, true, "cannot open " + icon + ": ", true, true},
        {"dummy", 32, false, icon + " has 24 bits per pixel and no palette", true, true},
        {"dummy", 16, true, icon + " is 16 by 16 pixels; it must be 32 by 32", true, true},
        // Last: after a failed SDL_Init this SDL's SDL_WasInit reports nothing.
        {"no-such-driver", 32, true, "no audio device: ", false, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.message);
        std::remove(settings.m_IconFile.c_str());
        if (c.iconSide > 0) {
            ASSERT_TRUE(testfiles::WriteIcon(settings.m_IconFile, c.iconSide, c.iconSide, c.palette));
        }
        setenv("SDL_AUDIODRIVER", c.audioDriver, 1);
        EXPECT_FALSE(engine->Init(settings));
        EXPECT_EQ(engine->GetInitError().rfind(c.message, 0), 0u) << engine->GetInitError();
        EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO) != 0, c.sdlHeld);
        EXPECT_EQ(AudioOpen(), c.audioHeld);
        EXPECT_EQ(engine->GetIcon(), nullptr);
        ExpectShutdownReleasesAll();
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

// Programming errors stop the program, naming the tested expression.
TEST(EngineSetupDeathTest, misuse_is_caught_by_assertions)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(CGameEngine::GetInstance()->Run(), "m_SDLInitialized");
    CEngineSettings s = CEngineSettings::DefaultSettings();
    s.m_IconFile.clear();
    EXPECT_DEATH(CGameEngine::GetInstance()->Init(s) && CGameEngine::GetInstance()->Init(s), "!m_SDLInitialized");
}

} // namespace
