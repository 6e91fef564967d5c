#ifndef VESK_SOUND_CSOUND_H
#define VESK_SOUND_CSOUND_H

struct Mix_Chunk;

// One loaded sample; owns its chunk.
class CSound
{
public:
    CSound() : m_Chunk(nullptr) {}
    ~CSound();
    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;

    void Load(const char* path);   // a data path, Windows separators allowed
    void Play();                 // does nothing without a sample
    bool IsLoaded() const { return m_Chunk != nullptr; }

    // How often Play was asked for, heard or not; lets tests follow the game's sounds.
    unsigned GetPlayCount() const { return m_PlayCount; }

private:
    Mix_Chunk* m_Chunk;
    unsigned   m_PlayCount = 0;
};

#endif
