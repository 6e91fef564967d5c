#include "sound/CSoundManager.h"

#include "data/DataFile.h"
#include "sound/CSound.h"

#include <memory>
#include <string>

CSoundManager* CSoundManager::GetInstance()
{
    static CSoundManager* instance = new CSoundManager();
    return instance;
}

void CSoundManager::Load()
{
    // A read error keeps the lines read before it; a list that cannot be
    // opened gives none and leaves the bank as it was.
    std::vector<std::string> lines;
    ReadListFile("Data\\sounds.dat", lines);

    // Every line takes its place, loaded or not, so later lines keep their numbers.
    m_Sounds.reserve(m_Sounds.size() + lines.size());
    for (const std::string& line : lines)
    {
        std::unique_ptr<CSound> sound(new CSound());
        if (!line.empty())
            sound->Load(line.c_str());
        m_Sounds.push_back(sound.release());
    }
}

void CSoundManager::Unload()
{
    for (CSound* sound : m_Sounds)
        delete sound;
    m_Sounds.clear();
}

CSound* CSoundManager::GetSound(int index)
{
    if (index >= 0 && index < GetNumSounds())
        return m_Sounds[index];

    // The world plays sounds 0 to 3 whatever the list held: answer with a
    // silent stand-in, one per index so its play count stays meaningful.
    // Stand-ins hold no sample and live as long as the bank.
    CSound*& silent = m_Silent[index];
    if (!silent)
        silent = new CSound();
    return silent;
}

CSoundManager::~CSoundManager()
{
    Unload();
    for (auto& entry : m_Silent)
        delete entry.second;
}
