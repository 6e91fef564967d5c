// The sound bank against a real mixer: SDL's disk driver writes the mixed
// output to a file, so a test can tell whether a sound was heard.
#include "sound/CSound.h"
#include "sound/CSoundManager.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

const int kAmplitude = 8000;

void WriteFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

void Put16(std::string& s, uint16_t v)
{
    s += char(v & 0xff);
    s += char(v >> 8);
}

void Put32(std::string& s, uint32_t v)
{
    Put16(s, uint16_t(v & 0xffff));
    Put16(s, uint16_t(v >> 16));
}

// A mono 16-bit PCM WAV at the device rate: a square wave of +-kAmplitude.
std::string MakeWav(unsigned frames)
{
    std::string data;
    for (unsigned i = 0; i < frames; ++i)
        Put16(data, uint16_t(int16_t((i / 50) % 2 ? kAmplitude : -kAmplitude)));
    std::string wav = "RIFF";
    Put32(wav, uint32_t(36 + data.size()));
    wav += "WAVEfmt ";
    Put32(wav, 16);
    Put16(wav, 1);          // PCM
    Put16(wav, 1);          // mono
    Put32(wav, 44100);
    Put32(wav, 44100 * 2);
    Put16(wav, 2);
    Put16(wav, 16);
    wav += "data";
    Put32(wav, uint32_t(data.size()));
    return wav + data;
}

std::string RandomBytes(size_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s += char(gen() & 0xff);
    return s;
}

std::vector<bool> LoadedPattern()
{
    CSoundManager* bank = CSoundManager::GetInstance();
    std::vector<bool> pattern;
    for (int i = 0; i < bank->GetNumSounds(); ++i)
        pattern.push_back(bank->GetSound(i)->IsLoaded());
    return pattern;
}

// Works in a fresh directory with an open device, as the engine leaves it
// before the bank loads.
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
        WriteFile("Data/b c.wav", MakeWav(2205));
        WriteFile("Data/junk.wav", RandomBytes(3000, 7));

        m_output = m_dir / "output.raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", m_output.c_str(), 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
        m_audioOpen = true;
        Mix_AllocateChannels(64);
        CSoundManager::GetInstance()->Unload();
    }

    void TearDown() override
    {
        CloseAudio();
        SDL_Quit();
        fs::current_path(m_oldDir);
        fs::remove_all(m_dir);
    }

    // Frees the samples before the device, as the engine does.
    void CloseAudio()
    {
        CSoundManager::GetInstance()->Unload();
        if (m_audioOpen)
            Mix_CloseAudio();
        m_audioOpen = false;
    }

    // The mixed output so far; closing the device flushes the file.
    std::vector<int16_t> StopAndReadOutput()
    {
        CloseAudio();
        std::ifstream in(m_output, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<int16_t> samples(bytes.size() / 2);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = int16_t(uint8_t(bytes[2 * i]) | (uint8_t(bytes[2 * i + 1]) << 8));
        return samples;
    }

    static int Peak(const std::vector<int16_t>& samples)
    {
        int peak = 0;
        for (int16_t s : samples)
            peak = std::max(peak, std::abs(int(s)));
        return peak;
    }

    fs::path m_dir;
    fs::path m_oldDir;
    fs::path m_output;
    bool m_audioOpen = false;
};

} // namespace

// Sounds are numbered by line: a line that fails keeps its place, spaces
// belong to the path, and CR LF ends a line like LF.
TEST_F(SoundBank, every_line_keeps_its_number_whatever_the_line_ends)
{
    const std::string lines[] = {"Data\\a.wav", "Data\\missing.wav", "Data\\b c.wav", "Data\\junk.wav"};
    const std::vector<bool> expected = {true, false, true, false};
    for (const char* end : {"\n", "\r\n"})
    {
        std::string list;
        for (const std::string& line : lines)
            list += line + end;
        WriteFile("Data/sounds.dat", list);
        CSoundManager::GetInstance()->Unload();
        CSoundManager::GetInstance()->Load();
        EXPECT_EQ(LoadedPattern(), expected) << "line end " << (end[1] ? "CR LF" : "LF");
    }

    // A last line without its line feed still counts.
    WriteFile("Data/sounds.dat", "Data\\junk.wav\nData\\a.wav");
    CSoundManager::GetInstance()->Unload();
    CSoundManager::GetInstance()->Load();
    EXPECT_EQ(LoadedPattern(), (std::vector<bool>{false, true}));
}

// An empty line is an entry of its own; a line too long for one read
// splits into several entries. Either way later lines shift by that many.
TEST_F(SoundBank, empty_and_overlong_lines_make_silent_entries)
{
    WriteFile("Data/sounds.dat", "Data\\a.wav\n\nData\\" + std::string(1500, 'x') + ".wav\nData\\b c.wav\n\n");
    CSoundManager::GetInstance()->Load();
    EXPECT_EQ(LoadedPattern(), (std::vector<bool>{true, false, false, false, true, false}));
}

TEST_F(SoundBank, load_appends_and_a_missing_or_empty_list_adds_nothing)
{
    CSoundManager* bank = CSoundManager::GetInstance();
    bank->Load();
    EXPECT_EQ(bank->GetNumSounds(), 0);

    WriteFile("Data/sounds.dat", "");
    bank->Load();
    EXPECT_EQ(bank->GetNumSounds(), 0);

    // Load appends, and a missing list keeps what an earlier one loaded.
    WriteFile("Data/sounds.dat", "Data\\a.wav\nData\\missing.wav\n");
    bank->Load();
    bank->Load();
    fs::remove("Data/sounds.dat");
    bank->Load();
    EXPECT_EQ(LoadedPattern(), (std::vector<bool>{true, false, true, false}));
}

// Whatever a file holds, loading it must not crash; what is not a sample
// stays silent.
TEST_F(SoundBank, corrupt_samples_stay_silent)
{
    std::string wav = MakeWav(1000);
    std::string lyingSize = wav.substr(0, 40) + "\xff\xff\xff\x7f" + wav.substr(44, 100);
    std::string badFormat = wav;
    badFormat[20] = char(0x55);   // no such encoding
    badFormat[21] = char(0x55);
    WriteFile("Data/empty.wav", "");
    WriteFile("Data/header.wav", wav.substr(0, 20));
    WriteFile("Data/lying.wav", lyingSize);
    WriteFile("Data/format.wav", badFormat);
    for (unsigned seed = 1; seed <= 8; ++seed)
        WriteFile("Data/random" + std::to_string(seed) + ".wav", RandomBytes(64 * seed, seed));
    WriteFile("Data/riff.wav", "RIFF" + RandomBytes(500, 99));

    std::string list = "Data\\empty.wav\nData\\header.wav\nData\\lying.wav\nData\\format.wav\nData\\riff.wav\nData\n";
    for (unsigned seed = 1; seed <= 8; ++seed)
        list += "Data\\random" + std::to_string(seed) + ".wav\n";
    WriteFile("Data/sounds.dat", list);

    CSoundManager* bank = CSoundManager::GetInstance();
    bank->Load();
    ASSERT_EQ(bank->GetNumSounds(), 14);
    EXPECT_FALSE(bank->GetSound(0)->IsLoaded());
    EXPECT_FALSE(bank->GetSound(1)->IsLoaded());
    EXPECT_FALSE(bank->GetSound(3)->IsLoaded());
    EXPECT_FALSE(bank->GetSound(5)->IsLoaded());   // a directory
    for (int i = 6; i < 14; ++i)
        EXPECT_FALSE(bank->GetSound(i)->IsLoaded()) << "random bytes, line " << i + 1;
    for (int i = 0; i < 14; ++i)
        bank->GetSound(i)->Play();   // whatever did load plays without harm
}

// The world plays sounds 0 to 3 whatever the list held.
TEST_F(SoundBank, indices_beyond_the_list_give_silent_sounds)
{
    WriteFile("Data/sounds.dat", "Data\\a.wav\n");
    CSoundManager* bank = CSoundManager::GetInstance();
    bank->Load();
    ASSERT_EQ(bank->GetNumSounds(), 1);

    for (int index : {-1, 1, 3, 1000})
    {
        CSound* sound = bank->GetSound(index);
        ASSERT_NE(sound, nullptr) << index;
        EXPECT_NE(sound, bank->GetSound(0)) << index;
        EXPECT_FALSE(sound->IsLoaded()) << index;
        EXPECT_EQ(bank->GetSound(index), sound) << "the same stand-in each time";
        sound->Play();
        sound->Play();
        EXPECT_EQ(sound->GetPlayCount(), 2u) << index;
    }
    EXPECT_NE(bank->GetSound(1), bank->GetSound(3)) << "each index counts its own plays";
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_EQ(bank->GetNumSounds(), 1) << "asking does not grow the list";
}

TEST_F(SoundBank, unload_empties_the_bank_and_may_repeat)
{
    WriteFile("Data/sounds.dat", "Data\\a.wav\nData\\b c.wav\n");
    CSoundManager* bank = CSoundManager::GetInstance();
    bank->Load();
    ASSERT_EQ(bank->GetNumSounds(), 2);
    bank->GetSound(0)->Play();
    bank->Unload();
    EXPECT_EQ(bank->GetNumSounds(), 0);
    EXPECT_EQ(Mix_Playing(-1), 0) << "freeing a sample stops it";
    CSound* after = bank->GetSound(0);
    ASSERT_NE(after, nullptr);
    EXPECT_FALSE(after->IsLoaded());
    after->Play();
    bank->Unload();
    EXPECT_EQ(bank->GetNumSounds(), 0);
}

// Every request counts, heard or not, so the game's sounds can be followed.
TEST_F(SoundBank, play_count_follows_every_request)
{
    CSound loaded;
    loaded.Load("Data/a.wav");
    ASSERT_TRUE(loaded.IsLoaded());
    CSound silent;
    silent.Load("Data/missing.wav");
    EXPECT_FALSE(silent.IsLoaded());

    EXPECT_EQ(loaded.GetPlayCount(), 0u);
    for (int i = 0; i < 3; ++i)
    {
        loaded.Play();
        silent.Play();
    }
    EXPECT_EQ(loaded.GetPlayCount(), 3u);
    EXPECT_EQ(silent.GetPlayCount(), 3u);
    EXPECT_EQ(Mix_Playing(-1), 3) << "only the loaded sound takes channels";

    // Loading again replaces the sample; a failed load leaves none.
    loaded.Load("Data/junk.wav");
    EXPECT_FALSE(loaded.IsLoaded());
    loaded.Load("Data/b c.wav");
    EXPECT_TRUE(loaded.IsLoaded());
}

// A sound asked for is heard at its own level, on top of silence.
TEST_F(SoundBank, playing_a_sound_reaches_the_output)
{
    WriteFile("Data/sounds.dat", "Data\\a.wav\nData\\missing.wav\n");
    CSoundManager* bank = CSoundManager::GetInstance();
    bank->Load();
    bank->GetSound(1)->Play();   // no sample: nothing to hear
    SDL_Delay(150);
    bank->GetSound(0)->Play();
    EXPECT_EQ(Mix_Playing(-1), 1);
    SDL_Delay(300);
    std::vector<int16_t> out = StopAndReadOutput();
    ASSERT_GT(out.size(), 44100u * 2 / 10) << "the device wrote too little";

    size_t firstSound = 0;
    while (firstSound < out.size() && out[firstSound] == 0)
        ++firstSound;
    ASSERT_LT(firstSound, out.size()) << "nothing was heard";
    EXPECT_GT(firstSound, 44100u * 2 / 20) << "the silent sound made noise";
    EXPECT_NEAR(Peak(out), kAmplitude, kAmplitude / 10);
}

// Two plays in quick succession sound together, on two channels.
TEST_F(SoundBank, the_same_sound_twice_overlaps)
{
    WriteFile("Data/sounds.dat", "Data\\a.wav\n");
    CSoundManager* bank = CSoundManager::GetInstance();
    bank->Load();
    bank->GetSound(0)->Play();
    bank->GetSound(0)->Play();
    EXPECT_EQ(Mix_Playing(-1), 2);
    SDL_Delay(300);
    std::vector<int16_t> out = StopAndReadOutput();
    EXPECT_NEAR(Peak(out), 2 * kAmplitude, kAmplitude / 5);
}
