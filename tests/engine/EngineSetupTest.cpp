// Platform set-up and teardown with a real SDL, audio device and OpenGL
// window: what a successful start holds, what each failed start leaves for
// Shutdown, and that Shutdown releases exactly that, also twice.

#include "RecordingWorld.h"
#include "TestFiles.h"

#include "engine/CEngineSettings.h"
#include "engine/CGameEngine.h"

#include <SDL_mixer.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

using testfiles::TempDir;

namespace {

// Sets an environment variable for one test and puts the old value back.
class EnvOverride
{
public:
    EnvOverride(const char* name, const char* value) : m_Name(name)
    {
        const char* old = std::getenv(name);
        m_HadOld = old != nullptr;
        if (m_HadOld)
            m_Old = old;
        setenv(name, value, 1);
    }
    ~EnvOverride()
    {
        if (m_HadOld)
            setenv(m_Name.c_str(), m_Old.c_str(), 1);
        else
            unsetenv(m_Name.c_str());
    }

private:
    std::string m_Name;
    std::string m_Old;
    bool m_HadOld = false;
};

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
        ASSERT_TRUE(dir.IsValid());
        engine = CGameEngine::GetInstance();
        settings = CEngineSettings::DefaultSettings();
        settings.m_IconFile = dir.File("Vesk.bmp");
    }
    void TearDown() override { engine->Shutdown(); }

    // After Shutdown nothing of the platform is held, and a second Shutdown
    // finds nothing to release.
    void ExpectAllReleased()
    {
        for (int pass = 1; pass <= 2; ++pass)
        {
            SCOPED_TRACE(pass == 1 ? "first Shutdown" : "second Shutdown");
            engine->Shutdown();
            EXPECT_EQ(SDL_WasInit(0), 0u);
            EXPECT_FALSE(AudioOpen()) << "the audio device was not closed";
            EXPECT_EQ(engine->GetIcon(), nullptr);
        }
    }

    TempDir dir;
    CGameEngine* engine = nullptr;
    CEngineSettings settings;
};

TEST_F(EngineSetup, start_opens_window_audio_icon_and_projection)
{
    ASSERT_TRUE(testfiles::WritePaletteIcon(settings.m_IconFile, 32, 32, 9));
    ASSERT_TRUE(engine->Init(settings)) << engine->GetInitError();
    EXPECT_EQ(engine->GetInitError(), "");

    // The window: 1024 by 768, OpenGL, double-buffered, captioned.
    const SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, 1024);
    EXPECT_EQ(screen->h, 768);
    EXPECT_TRUE(screen->flags & SDL_OPENGL);
    EXPECT_FALSE(screen->flags & SDL_FULLSCREEN);
    int doubleBuffer = 0;
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffer);
    EXPECT_EQ(doubleBuffer, 1);
    char* caption = nullptr;
    char* iconTitle = nullptr;
    SDL_WM_GetCaption(&caption, &iconTitle);
    ASSERT_NE(caption, nullptr);
    EXPECT_STREQ(caption, "Vesk");

    // The audio device: 44100 Hz, signed 16-bit little-endian, stereo, 64 channels.
    int freq = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_NE(Mix_QuerySpec(&freq, &format, &channels), 0);
    EXPECT_EQ(freq, 44100);
    EXPECT_EQ(format, AUDIO_S16LSB);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(Mix_AllocateChannels(-1), 64);

    // The icon: the top-left pixel's palette index is the transparent one.
    const SDL_Surface* icon = engine->GetIcon();
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->w, 32);
    EXPECT_TRUE(icon->flags & SDL_SRCCOLORKEY);
    EXPECT_EQ(icon->format->colorkey, 9u);

    // One unit per pixel, origin bottom-left, y up; modelview left current.
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 1024);
    EXPECT_EQ(viewport[3], 768);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLdouble projection[16], modelview[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    const double ortho[16] = {2.0 / 1024, 0, 0, 0, 0, 2.0 / 768, 0, 0, 0, 0, -1, 0, -1, -1, 0, 1};
    for (int i = 0; i < 16; ++i)
    {
        EXPECT_NEAR(projection[i], ortho[i], 1e-9) << "projection element " << i;
        EXPECT_DOUBLE_EQ(modelview[i], i % 5 == 0 ? 1.0 : 0.0) << "modelview element " << i;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    ExpectAllReleased();
    EXPECT_EQ(SDL_GetVideoSurface(), nullptr);

    // Every flag went back to false: the engine starts again from scratch.
    ASSERT_TRUE(engine->Init(settings)) << engine->GetInitError();
    ASSERT_NE(engine->GetIcon(), nullptr);
    EXPECT_EQ(engine->GetIcon()->format->colorkey, 9u);
    ExpectAllReleased();
}

TEST_F(EngineSetup, fullscreen_keeps_the_size)
{
    settings.m_Fullscreen = true;
    settings.m_IconFile.clear();   // no icon is asked for and none is loaded
    ASSERT_TRUE(engine->Init(settings)) << engine->GetInitError();
    const SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->flags & SDL_FULLSCREEN);
    EXPECT_EQ(screen->w, 1024);
    EXPECT_EQ(screen->h, 768);
    EXPECT_EQ(engine->GetIcon(), nullptr);
    ExpectAllReleased();
}

// Each faulty icon fails the start before any window opens, says what is
// wrong, and leaves SDL and the audio device for Shutdown.
TEST_F(EngineSetup, bad_icon_fails_before_the_window)
{
    struct Case
    {
        const char* what;
        std::function<bool(const std::string&)> write;
        std::string message;
    };
    const std::string quoted = "\"" + settings.m_IconFile + "\"";
    const std::vector<Case> cases = {
        {"missing", [](const std::string&) { return true; },
         "cannot open the window icon " + quoted + ": "},
        {"not a BMP", [](const std::string& p) { return testfiles::WriteText(p, "not an image\n"); },
         "cannot read the window icon " + quoted + ": "},
        {"true colour", [](const std::string& p) { return testfiles::WriteTrueColorBmp(p, 32, 32); },
         "the window icon " + quoted + " has 24 bits per pixel and no palette"},
        {"16 by 16", [](const std::string& p) { return testfiles::WritePaletteIcon(p, 16, 16, 0); },
         "the window icon " + quoted + " is 16 by 16 pixels; it must be 32 by 32"},
        {"32 by 31", [](const std::string& p) { return testfiles::WritePaletteIcon(p, 32, 31, 0); },
         "the window icon " + quoted + " is 32 by 31 pixels"},
        {"31 by 32", [](const std::string& p) { return testfiles::WritePaletteIcon(p, 31, 32, 0); },
         "the window icon " + quoted + " is 31 by 32 pixels"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::remove(settings.m_IconFile.c_str());
        ASSERT_TRUE(c.write(settings.m_IconFile));

        EXPECT_FALSE(engine->Init(settings));
        EXPECT_EQ(engine->GetInitError().rfind(c.message, 0), 0u) << engine->GetInitError();
        EXPECT_EQ(SDL_GetVideoSurface(), nullptr) << "a window opened";
        EXPECT_EQ(engine->GetIcon(), nullptr);
        EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
        EXPECT_TRUE(AudioOpen());
        ExpectAllReleased();
    }
}

// SDL refuses the audio part of its start: the message says so even though
// SDL starts both in one call, and nothing is left running.
TEST_F(EngineSetup, unknown_audio_driver_fails_before_icon_and_window)
{
    EnvOverride driver("SDL_AUDIODRIVER", "no-such-driver");
    // No icon file either: a start that looked at it first would say so.
    EXPECT_FALSE(engine->Init(settings));
    EXPECT_EQ(engine->GetInitError().rfind("no audio device: ", 0), 0u) << engine->GetInitError();
    EXPECT_EQ(SDL_WasInit(0), 0u);
    EXPECT_EQ(SDL_GetVideoSurface(), nullptr);
    ExpectAllReleased();
}

// SDL starts but the device cannot be opened: SDL itself is left for Shutdown.
TEST_F(EngineSetup, audio_device_that_cannot_open_fails_with_sdl_held)
{
    EnvOverride driver("SDL_AUDIODRIVER", "disk");
    EnvOverride output("SDL_DISKAUDIOFILE", dir.File("no-such-folder/out.raw").c_str());
    EXPECT_FALSE(engine->Init(settings));
    EXPECT_EQ(engine->GetInitError().rfind("no audio device: ", 0), 0u) << engine->GetInitError();
    EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    EXPECT_FALSE(AudioOpen());
    EXPECT_EQ(SDL_GetVideoSurface(), nullptr);
    ExpectAllReleased();
}

// The video mode is the last thing that can fail: SDL, audio and icon are held.
TEST_F(EngineSetup, refused_video_mode_holds_sdl_audio_and_icon)
{
    ASSERT_TRUE(testfiles::WritePaletteIcon(settings.m_IconFile, 32, 32, 0));
    settings.m_BitsPerPixel = 64;
    EXPECT_FALSE(engine->Init(settings));
    EXPECT_EQ(engine->GetInitError().rfind("cannot open a window of 1024 by 768 at 64 bits per pixel", 0), 0u)
        << engine->GetInitError();
    EXPECT_NE(engine->GetIcon(), nullptr);
    EXPECT_TRUE(AudioOpen());
    EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    ExpectAllReleased();
}

// Teardown of an engine that never started releases nothing and breaks nothing.
TEST_F(EngineSetup, shutdown_without_init_is_harmless)
{
    ExpectAllReleased();
}

// Programming errors stop the program with the tested expression in the report.
TEST(EngineSetupDeathTest, misuse_is_caught_by_assertions)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(CGameEngine::GetInstance()->Run(), "m_SDLInitialized");
    EXPECT_DEATH(
        {
            CEngineSettings s = CEngineSettings::DefaultSettings();
            s.m_IconFile.clear();
            CGameEngine::GetInstance()->Init(s);
            CGameEngine::GetInstance()->Init(s);
        },
        "!m_SDLInitialized");
}

} // namespace
