#include "WorldTestSupport.h"

#include "engine/CGameEngine.h"
#include "data/DataFile.h"
#include "opponent/CRandomTable.h"
#include "sound/CSound.h"
#include "sound/CSoundManager.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace worldtest {

Sounds SoundCounts()
{
    Sounds s;
    for (int i = 0; i < 4; ++i)
        s[i] = CSoundManager::GetInstance()->GetSound(i)->GetPlayCount();
    return s;
}

Sounds SoundsSince(const Sounds& before)
{
    Sounds s = SoundCounts();
    for (int i = 0; i < 4; ++i)
        s[i] -= before[i];
    return s;
}

std::string SoundFolder()
{
    static struct Folder {   // removed when the process ends
        std::string path;
        ~Folder() { if (!path.empty() && std::system(("rm -rf '" + path + "'").c_str()) != 0) {} }
    } scratch;
    char name[] = "/tmp/vesk-world-XXXXXX";
    if (!scratch.path.empty() || !mkdtemp(name))
        return scratch.path;
    scratch.path = name;
    mkdir((scratch.path + "/Data").c_str(), 0755);
    std::ofstream(scratch.path + "/" + HostPath("Data\\sounds.dat")) << "Data\\a.wav\nData\\b.wav\nData\\c.wav\nData\\d.wav\n";
    char previous[4096];
    if (getcwd(previous, sizeof previous) && chdir(name) == 0) {
        CSoundManager::GetInstance()->Load();
        EXPECT_EQ(chdir(previous), 0);
    }
    return scratch.path;
}

CGameState Position(std::initializer_list<const char*> moves)
{
    CGameState s(3, 2);
    for (const char* m : moves) {
        unsigned r, c, t;
        if (std::strcmp(m, "pass") == 0)
            s.Pass();
        else if (std::sscanf(m, "%u %u %u", &r, &c, &t) == 3 && s.IsMoveLegal(r, c, uint8_t(t)))
            s.MakeMove(r, c, uint8_t(t));
        else
            ADD_FAILURE() << "not a legal move: " << m;
    }
    return s;
}

void WorldTest::SetUpTestSuite()
{
    SoundFolder();
    ASSERT_EQ(CSoundManager::GetInstance()->GetNumSounds(), 4);
}

void WorldTest::SetUp()
{
    CRandomTable::GetInstance()->FillFromSeed(20240611u);
    m_World.reset(new CGameWorld(CGameEngine::GetInstance()));
    m_World->Reset();
}

void WorldTest::MoveTo(float x, float y)
{
    m_World->OnMouseMove(Uint16(std::lround(x)), Uint16(768 - std::lround(y)));
}

void WorldTest::Button(float x, float y, bool pressed, Uint8 button)
{
    m_World->OnMouseButton(button, pressed, Uint16(std::lround(x)), Uint16(768 - std::lround(y)));
}

void WorldTest::StartAt(const CGameState& s)
{
    m_World->StartGame(1, 0);
    m_World->SetState(s);
}

void WorldTest::PlaceByDrag(uint32_t row, uint32_t col)
{
    PressCell(row, col);
    Release(Cell(row, col).x, Cell(row, col).y);
}

} // namespace worldtest
