#ifndef VESK_SOUND_CSOUNDMANAGER_H
#define VESK_SOUND_CSOUNDMANAGER_H

#include <map>
#include <vector>

class CSound;

// The sound bank: one entry per line of "Data\sounds.dat", numbered from 0.
class CSoundManager
{
public:
    static CSoundManager* GetInstance();

    CSoundManager() = default;
    ~CSoundManager();
    CSoundManager(const CSoundManager&) = delete;
    CSoundManager& operator=(const CSoundManager&) = delete;

    void Load();     // appends; needs an open audio device
    void Unload();

    // An index beyond the list gives a silent sound.
    CSound* GetSound(int index);
    int GetNumSounds() const { return static_cast<int>(m_Sounds.size()); }

private:
    std::vector<CSound*> m_Sounds;
    std::map<int, CSound*> m_Silent;   // stand-ins for indices beyond the list
};

#endif
