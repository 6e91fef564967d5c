#ifndef VESK_SOUND_CSOUNDMANAGER_H
#define VESK_SOUND_CSOUNDMANAGER_H

#include <vector>

class CSound;

// The sound bank: one entry per line of "Data\sounds.dat", numbered from 0.
class CSoundManager
{
public:
    static CSoundManager* GetInstance();

    void Load();     // appends; needs an open audio device
    void Unload();

    // An index beyond the list gives a silent sound.
    CSound* GetSound(int index);
    int GetNumSounds() const { return static_cast<int>(m_Sounds.size()); }

private:
    std::vector<CSound*> m_Sounds;
};

#endif
