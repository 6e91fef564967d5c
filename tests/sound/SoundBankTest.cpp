// The sound bank against a real mixer: SDL's disk driver writes the mixed
// output to a file, so a test can tell whether a sound was heard.
#include "sound/CSound.h"
#include "sound/CSoundManager.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Works in a fresh folder holding Data/a.wav and "Data/b c.wav", with an open
// device, as the engine leaves it before the bank loads.
class SoundBank : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(m_dir / "Data");
        fs::current_path(m_dir);
        for (const char* name : {"Data/a.wav", "Data/b c.wav"})
            fs::copy_file(VESK_SOURCE_DIR "/Data/clack.wav", name);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", "output.raw", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
    }
    void TearDown() override
    {
        bank->Unload();   // samples before the device, as the engine does
        Mix_CloseAudio();
        SDL_Quit();
        fs::current_path(m_oldDir);
        fs::remove_all(m_dir);
    }
    void LoadList(const char* text)
    {
        fs::remove("Data/sounds.dat");
        if (text)
            std::ofstream("Data/sounds.dat", std::ios::binary) << text;
        bank->Unload();
        bank->Load();
    }

    CSoundManager* bank = CSoundManager::GetInstance();
    const fs::path m_oldDir = fs::current_path(), m_dir = testing::TempDir() + "vesk-sound-" + std::to_string(getpid());
};

// Sounds are numbered by line: a line that fails keeps its place, spaces
// belong to the path, CR LF ends a line like LF, a last line needs no end.
// The world plays sounds 0 to 3 whatever the list held: beyond it, silence.
TEST_F(SoundBank, sounds_are_numbered_by_line_and_beyond_the_list_are_silent)
{
    const struct { const char* list; std::string loaded; } cases[] = {
        {nullptr, ""},   // no list file
        {"", ""},
        {"Data\\a.wav\nData\\missing.wav\nData\\b c.wav\n", "101"},
        {"Data\\a.wav\r\nData\\missing.wav\r\n\r\nData\\b c.wav\r\nData\\a.wav", "10011"},
        {"\nData\\a.wav\n\n", "010"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list ? c.list : "no list");
        LoadList(c.list);
        std::string loaded;
        for (int i = 0; i < bank->GetNumSounds(); ++i)
            loaded += bank->GetSound(i)->IsLoaded() ? '1' : '0';
        EXPECT_EQ(loaded, c.loaded);
        for (int index : {-1, int(c.loaded.size()), 1000}) {
            EXPECT_FALSE(bank->GetSound(index)->IsLoaded()) << index;
            bank->GetSound(index)->Play();
        }
        EXPECT_EQ(Mix_Playing(-1), 0);
        EXPECT_EQ(bank->GetNumSounds(), int(c.loaded.size())) << "asking does not grow the list";
    }
}

} // namespace
