// The shared resources come in at the end of a start and go out at the start
// of Shutdown, each through its own singleton. Runs in a scratch folder with
// made-up sprites and sounds and the game's own font.

#include "RecordingWorld.h"
#include "TestFiles.h"

#include "engine/CEngineSettings.h"
#include "engine/CGameEngine.h"
#include "graphics/CSpriteSheet.h"
#include "sound/CSound.h"
#include "sound/CSoundManager.h"
#include "text/CFontManager.h"
#include "text/CTextureFont.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using testfiles::TempDir;

namespace {

class ResourceLoading : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.IsValid());
        ASSERT_EQ(mkdir(dir.File("Data").c_str(), 0755), 0);
        ASSERT_TRUE(testfiles::WriteTrueColorBmp(dir.File("Data/big.bmp"), 40, 40));
        ASSERT_TRUE(testfiles::WriteTrueColorBmp(dir.File("Data/small.bmp"), 8, 8));
        ASSERT_TRUE(testfiles::WriteText(dir.File("Data/sprites.dat"),
                                         "Data\\big.bmp\nData\\missing.bmp\nData\\small.bmp\n"));
        ASSERT_TRUE(testfiles::WriteWav(dir.File("Data/a.wav"), 2000));
        ASSERT_TRUE(testfiles::WriteWav(dir.File("Data/b.wav"), 500));
        ASSERT_TRUE(testfiles::WriteText(dir.File("Data/sounds.dat"),
                                         "Data\\a.wav\nData\\nothing.wav\nData\\b.wav\n"));
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        oldDir = cwd;
        ASSERT_EQ(chdir(dir.Path().c_str()), 0);

        engine = CGameEngine::GetInstance();
        settings = CEngineSettings::DefaultSettings();
        settings.m_IconFile.clear();
    }
    void TearDown() override
    {
        engine->Shutdown();
        if (!oldDir.empty())
        {
            EXPECT_EQ(chdir(oldDir.c_str()), 0);
        }
    }

    static bool CopyGameFont(const std::string& to)
    {
        const std::string font = testfiles::ReadText(VESK_SOURCE_DIR "/Data/36DAYSAG.TTF");
        return !font.empty() && testfiles::WriteText(to, font);
    }

    TempDir dir;
    std::string oldDir;
    CGameEngine* engine = nullptr;
    CEngineSettings settings;
};

// Everything present: a sprite per loadable image, a sound entry per list
// line (loaded where the file is), and the font as font 0. Shutdown empties
// the fonts and sounds while the context and the device still exist.
TEST_F(ResourceLoading, start_loads_and_shutdown_releases)
{
    ASSERT_TRUE(CopyGameFont(dir.File("Data/36DAYSAG.TTF"))) << "the game's font is missing from Data/";
    ASSERT_TRUE(engine->Init(settings)) << engine->GetInitError();

    EXPECT_EQ(CSpriteSheet::GetInstance()->GetNumSprites(), 2u);
    CSoundManager* sounds = CSoundManager::GetInstance();
    ASSERT_EQ(sounds->GetNumSounds(), 3);
    EXPECT_TRUE(sounds->GetSound(0)->IsLoaded());
    EXPECT_FALSE(sounds->GetSound(1)->IsLoaded());
    EXPECT_TRUE(sounds->GetSound(2)->IsLoaded());
    const CTextureFont* font = CFontManager::GetInstance()->GetFont(0);
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(font->IsLoaded());
    EXPECT_EQ(CFontManager::GetInstance()->GetFont(1), nullptr);

    engine->Shutdown();
    EXPECT_EQ(sounds->GetNumSounds(), 0);
    EXPECT_EQ(CFontManager::GetInstance()->GetFont(0), nullptr);
    EXPECT_EQ(SDL_WasInit(0), 0u);
}

// Missing resources never fail the start; a missing font leaves the list empty.
TEST_F(ResourceLoading, missing_font_and_lists_do_not_fail_the_start)
{
    ASSERT_TRUE(engine->Init(settings)) << engine->GetInitError();
    EXPECT_EQ(CFontManager::GetInstance()->GetFont(0), nullptr);
    EXPECT_EQ(CSoundManager::GetInstance()->GetNumSounds(), 3);
    engine->Shutdown();

    ASSERT_EQ(std::remove("Data/sprites.dat"), 0);
    ASSERT_EQ(std::remove("Data/sounds.dat"), 0);
    ASSERT_TRUE(engine->Init(settings)) << engine->GetInitError();
    EXPECT_EQ(CSoundManager::GetInstance()->GetNumSounds(), 0);
    EXPECT_EQ(CFontManager::GetInstance()->GetFont(0), nullptr);
}

// A start that fails before the resources leaves nothing for Shutdown to
// unload, and unloading it anyway is harmless.
TEST_F(ResourceLoading, failed_start_loads_no_resources)
{
    ASSERT_TRUE(CopyGameFont(dir.File("Data/36DAYSAG.TTF"))) << "the game's font is missing from Data/";
    settings.m_IconFile = "Vesk.bmp";   // not in the folder
    EXPECT_FALSE(engine->Init(settings));
    EXPECT_EQ(CSoundManager::GetInstance()->GetNumSounds(), 0);
    EXPECT_EQ(CFontManager::GetInstance()->GetFont(0), nullptr);
    engine->Shutdown();
    engine->Shutdown();
    EXPECT_EQ(SDL_WasInit(0), 0u);
}

} // namespace
