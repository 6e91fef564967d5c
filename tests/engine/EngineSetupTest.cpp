// Platform set-up and teardown with a real SDL, audio device and OpenGL
// window: what a start holds, what each failed start leaves for Shutdown,
// and that Shutdown releases exactly that, also twice.

#include "RecordingWorld.h"
#include "TestFiles.h"

#include "engine/CGameEngine.h"
#include "engine/DataFile.h"
#include "sound/CSoundManager.h"
#include "text/CFontManager.h"

#include <SDL_mixer.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <unistd.h>

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
    void SetUp() override
    {
        ASSERT_FALSE(dir.path.empty());
        settings.m_IconFile = dir.File("Vesk.bmp");
    }
    void TearDown() override { engine->Shutdown(); }

    // Starts the engine with `folder` as the working directory.
    bool InitIn(const std::string& folder)
    {
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd) == nullptr || chdir(folder.c_str()) != 0)
            return false;
        const bool started = engine->Init(settings);
        return chdir(cwd) == 0 && started;
    }

    // After Shutdown nothing is held; a second Shutdown finds nothing to release.
    void ExpectShutdownReleasesAll()
    {
        for (int pass = 1; pass <= 2; ++pass)
        {
            engine->Shutdown();
            EXPECT_EQ(SDL_WasInit(0), 0u) << "Shutdown " << pass;
            EXPECT_FALSE(AudioOpen()) << "Shutdown " << pass;
            EXPECT_EQ(engine->GetIcon(), nullptr) << "Shutdown " << pass;
        }
    }

    testfiles::TempDir dir;
    CGameEngine* engine = CGameEngine::GetInstance();
    CEngineSettings settings = CEngineSettings::DefaultSettings();
};

// A full start with the game's data: window, audio device, icon, projection
// and the shared resources; Shutdown gives all of it back.
TEST_F(EngineSetup, start_holds_window_audio_icon_projection_and_resources)
{
    ASSERT_TRUE(testfiles::WriteIcon(settings.m_IconFile, 32, 32, true, 9));
    ASSERT_TRUE(InitIn(VESK_SOURCE_DIR)) << engine->GetInitError();   // where Data/ is
    EXPECT_EQ(engine->GetInitError(), "");

    const SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, 1024);
    EXPECT_EQ(screen->h, 768);
    EXPECT_TRUE(screen->flags & SDL_OPENGL);
    EXPECT_FALSE(screen->flags & SDL_FULLSCREEN);
    int doubleBuffer = 0;
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffer);
    EXPECT_EQ(doubleBuffer, 1);
    char *caption = nullptr, *iconTitle = nullptr;
    SDL_WM_GetCaption(&caption, &iconTitle);
    EXPECT_STREQ(caption, "Vesk");

    int freq = 0, channels = 0;
    Uint16 format = 0;
    EXPECT_NE(Mix_QuerySpec(&freq, &format, &channels), 0);
    EXPECT_EQ(freq, 44100);
    EXPECT_EQ(format, AUDIO_S16LSB);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(Mix_AllocateChannels(-1), 64);

    // The top-left pixel's palette index is the transparent colour.
    ASSERT_NE(engine->GetIcon(), nullptr);
    EXPECT_TRUE(engine->GetIcon()->flags & SDL_SRCCOLORKEY);
    EXPECT_EQ(engine->GetIcon()->format->colorkey, 9u);

    // One unit per pixel, origin bottom-left, y up; modelview left current.
    GLint viewport[4] = {}, mode = 0;
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 0, 1024, 768}));
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLdouble projection[16], modelview[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    const double ortho[16] = {2.0 / 1024, 0, 0, 0, 0, 2.0 / 768, 0, 0, 0, 0, -1, 0, -1, -1, 0, 1};
    for (int i = 0; i < 16; ++i)
    {
        EXPECT_NEAR(projection[i], ortho[i], 1e-9) << i;
        EXPECT_EQ(modelview[i], i % 5 == 0 ? 1.0 : 0.0) << i;
    }

    // The resources, each through its own singleton: the sounds are one
    // entry per line of the list, the font is font 0.
    std::vector<std::string> soundList;
    ASSERT_TRUE(ReadListFile(VESK_SOURCE_DIR "/Data/sounds.dat", soundList));
    EXPECT_EQ(CSoundManager::GetInstance()->GetNumSounds(), int(soundList.size()));
    EXPECT_NE(CFontManager::GetInstance()->GetFont(0), nullptr);

    ExpectShutdownReleasesAll();
    EXPECT_EQ(SDL_GetVideoSurface(), nullptr);
    EXPECT_EQ(CSoundManager::GetInstance()->GetNumSounds(), 0);
    EXPECT_EQ(CFontManager::GetInstance()->GetFont(0), nullptr);

    // Every flag is back to false, so the engine starts again; this time
    // full screen at the same size, and without data the start still succeeds.
    settings.m_Fullscreen = true;
    ASSERT_TRUE(InitIn(dir.path)) << engine->GetInitError();
    EXPECT_TRUE(SDL_GetVideoSurface()->flags & SDL_FULLSCREEN);
    EXPECT_EQ(SDL_GetVideoSurface()->w, 1024);
    EXPECT_EQ(CFontManager::GetInstance()->GetFont(0), nullptr);
    ExpectShutdownReleasesAll();
}

TEST_F(EngineSetup, empty_icon_name_means_no_icon)
{
    settings.m_IconFile.clear();
    ASSERT_TRUE(engine->Init(settings)) << engine->GetInitError();
    EXPECT_EQ(engine->GetIcon(), nullptr);
    EXPECT_NE(SDL_GetVideoSurface(), nullptr);
}

// Each failed start says what failed and leaves exactly the earlier steps
// held: the audio device comes before the icon, the icon before the window.
TEST_F(EngineSetup, failed_starts_leave_what_shutdown_releases)
{
    struct Case
    {
        const char* what;
        const char* audioDriver;   // SDL_AUDIODRIVER for this start
        int iconWidth, iconHeight; // 0: no icon file
        bool palette;
        int bitsPerPixel;
        std::string message;       // how the error starts
        bool sdlHeld, audioHeld, iconHeld;
    };
    const std::string icon = "\"" + settings.m_IconFile + "\"";
    const Case cases[] = {
        {"no icon file", "dummy", 0, 0, true, 32, "cannot open the window icon " + icon + ": ", true, true, false},
        {"24-bit icon", "dummy", 32, 32, false, 32, "the window icon " + icon + " has 24 bits per pixel and no palette", true, true, false},
        {"16 by 16 icon", "dummy", 16, 16, true, 32, "the window icon " + icon + " is 16 by 16 pixels; it must be 32 by 32", true, true, false},
        {"32 by 31 icon", "dummy", 32, 31, true, 32, "the window icon " + icon + " is 32 by 31 pixels", true, true, false},
        {"31 by 32 icon", "dummy", 31, 32, true, 32, "the window icon " + icon + " is 31 by 32 pixels", true, true, false},
        {"audio device fails to open", "disk", 0, 0, true, 32, "no audio device: ", true, false, false},
        {"video mode refused", "dummy", 32, 32, true, 64, "cannot open a window of 1024 by 768 at 64 bits per pixel", true, true, true},
        // Last: once SDL_Init has failed, this SDL's SDL_WasInit reports
        // nothing for the rest of the process.
        {"no such audio driver", "no-such-driver", 0, 0, true, 32, "no audio device: ", false, false, false},
    };
    const std::string driver = getenv("SDL_AUDIODRIVER") ? getenv("SDL_AUDIODRIVER") : "";
    setenv("SDL_DISKAUDIOFILE", dir.File("no-such-folder/out.raw").c_str(), 1);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::remove(settings.m_IconFile.c_str());
        if (c.iconWidth > 0)
        {
            ASSERT_TRUE(testfiles::WriteIcon(settings.m_IconFile, c.iconWidth, c.iconHeight, c.palette));
        }
        setenv("SDL_AUDIODRIVER", c.audioDriver, 1);
        settings.m_BitsPerPixel = c.bitsPerPixel;

        EXPECT_FALSE(engine->Init(settings));
        EXPECT_EQ(engine->GetInitError().rfind(c.message, 0), 0u) << engine->GetInitError();
        EXPECT_EQ(SDL_GetVideoSurface(), nullptr) << "a window is open";
        EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO) != 0, c.sdlHeld);
        EXPECT_EQ(AudioOpen(), c.audioHeld);
        EXPECT_EQ(engine->GetIcon() != nullptr, c.iconHeld);
        ExpectShutdownReleasesAll();
    }
    setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
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
