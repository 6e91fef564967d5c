// The sound bank against a real mixer: SDL's disk driver writes the mixed
// output to a file, so a test can tell whether a sound was heard.
#include "sound/CSound.h"
#include "sound/CSoundManager.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {

const int kAmplitude = 8000;

void WriteFile(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// A mono 16-bit PCM WAV at the device rate: a square wave of +-kAmplitude.
std::string MakeWav(unsigned frames)
{
    std::string wav = "RIFF____WAVEfmt ";
    auto put = [&wav](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            wav += char(v >> (8 * i));
    };
    put(16, 4), put(1, 2), put(1, 2), put(44100, 4), put(44100 * 2, 4), put(2, 2), put(16, 2);
    wav += "data";
    put(frames * 2, 4);
    for (unsigned i = 0; i < frames; ++i)
        put(uint16_t(int16_t((i / 50) % 2 ? kAmplitude : -kAmplitude)), 2);
    wav.replace(4, 4, std::string{char(wav.size() - 8), char((wav.size() - 8) >> 8), 0, 0});
    return wav;
}

// Works in a fresh folder with an open device, as the engine leaves it before the bank loads.
class SoundBank : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/vesk-sound-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_oldDir = fs::current_path();
        fs::current_path(m_dir);
        fs::create_directory("Data");
        WriteFile("Data/a.wav", MakeWav(4410));
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", (m_dir / "output.raw").c_str(), 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
        bank->Unload();
    }
    void TearDown() override
    {
        bank->Unload();   // samples before the device, as the engine does
        Mix_CloseAudio();
        SDL_Quit();
        fs::current_path(m_oldDir);
        fs::remove_all(m_dir);
    }
    void LoadList(const std::string& text) { WriteFile("Data/sounds.dat", text), bank->Load(); }

    CSoundManager* bank = CSoundManager::GetInstance();
    fs::path m_dir, m_oldDir;
};

// A sound asked for is heard at its own level; a line that fails is silent.
TEST_F(SoundBank, playing_a_sound_reaches_the_output)
{
    LoadList("Data\\a.wav\nData\\missing.wav\n");
    bank->GetSound(1)->Play();
    SDL_Delay(150);
    bank->GetSound(0)->Play();
    SDL_Delay(300);
    bank->Unload();
    Mix_CloseAudio();   // flushes the output file
    std::ifstream in(m_dir / "output.raw", std::ios::binary);
    std::vector<int16_t> out;
    for (char lo, hi; in.get(lo) && in.get(hi);)
        out.push_back(int16_t(uint8_t(lo) | (uint8_t(hi) << 8)));
    ASSERT_GT(out.size(), 44100u * 2 / 10) << "the device wrote too little";
    const size_t firstSound = std::find_if(out.begin(), out.end(), [](int16_t s) { return s != 0; }) - out.begin();
    ASSERT_LT(firstSound, out.size()) << "nothing was heard";
    EXPECT_GT(firstSound, 44100u * 2 / 20) << "the silent sound made noise";
    EXPECT_NEAR(*std::max_element(out.begin(), out.end()), kAmplitude, kAmplitude / 10);
}

// Sounds are numbered by line: a line that fails keeps its place, spaces
// belong to the path, CR LF ends a line like LF, a last line needs no end.
TEST_F(SoundBank, a_missing_middle_line_keeps_later_sounds_numbered_by_line)
{
    WriteFile("Data/b c.wav", MakeWav(2205));
    LoadList("Data\\a.wav\r\nData\\missing.wav\r\n\r\nData\\b c.wav\r\nData\\a.wav");
    ASSERT_EQ(bank->GetNumSounds(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(bank->GetSound(i)->IsLoaded(), i == 0 || i >= 3) << i;
}

// The world plays sounds 0 to 3 whatever the list held.
TEST_F(SoundBank, sounds_beyond_the_list_are_silent)
{
    LoadList("Data\\a.wav\n");
    for (int index : {-1, 1, 3, 1000}) {
        ASSERT_FALSE(bank->GetSound(index)->IsLoaded()) << index;
        bank->GetSound(index)->Play();
    }
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_EQ(bank->GetNumSounds(), 1) << "asking does not grow the list";
}

// Whatever a file holds, loading it must not crash; what is not a sample stays silent.
TEST_F(SoundBank, missing_lists_and_corrupt_samples_stay_silent)
{
    bank->Load();   // no list
    LoadList("");
    EXPECT_EQ(bank->GetNumSounds(), 0);
    const std::string wav = MakeWav(1000);
    std::string noise(3000, '\0');
    std::mt19937 random(7);
    std::generate(noise.begin(), noise.end(), [&random] { return char(random()); });
    // The last claims more data than it holds: the mixer may take what is there.
    const std::string bad[] = {"", wav.substr(0, 20), wav.substr(0, 20) + "\x55\x55" + wav.substr(22), noise,
                               "RIFF" + noise, wav.substr(0, 40) + "\xff\xff\xff\x7f" + wav.substr(44, 100)};
    std::string list = "Data\n";   // a folder
    for (size_t i = 0; i < std::size(bad); ++i) {
        WriteFile("Data/bad" + std::to_string(i) + ".wav", bad[i]);
        list += "Data\\bad" + std::to_string(i) + ".wav\n";
    }
    LoadList(list);
    ASSERT_EQ(bank->GetNumSounds(), 1 + int(std::size(bad)));
    for (int i = 0; i < bank->GetNumSounds(); ++i) {
        EXPECT_TRUE(!bank->GetSound(i)->IsLoaded() || i == bank->GetNumSounds() - 1) << "line " << i + 1;
        bank->GetSound(i)->Play();
    }
}

} // namespace
