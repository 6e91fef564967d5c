#include "sound/CSound.h"

#include "browser/Browser.h"
#include "data/DataFile.h"

#include <SDL.h>
#include <SDL_mixer.h>

CSound::~CSound()
{
    if (m_Chunk)
        Mix_FreeChunk(m_Chunk);
}

void CSound::Load(const char* path)
{
    // Loading again replaces the sample instead of leaking the old one.
    if (m_Chunk)
    {
        Mix_FreeChunk(m_Chunk);
        m_Chunk = nullptr;
    }
    if (!path)
        return;

    SDL_RWops* stream = SDL_RWFromFile(HostPath(path).c_str(), "rb");
    if (!stream)
        return;
    // The mixer closes the stream, also when decoding fails.
    m_Chunk = Mix_LoadWAV_RW(stream, 1);
}

void CSound::Play()
{
    ++m_PlayCount;
    if (!m_Chunk || !browser::SoundsAllowed())
        return;
    // First free channel, once, no time limit. With every channel busy the
    // sound is simply not heard.
    Mix_PlayChannelTimed(-1, m_Chunk, 0, -1);
}
