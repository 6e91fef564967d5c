#include "WorldTestSupport.h"

#include "engine/CGameEngine.h"
#include "engine/DataFile.h"
#include "opponent/CRandomTable.h"
#include "sound/CSound.h"
#include "sound/CSoundManager.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
    // Removed when the process ends; everything in it is read at start-up.
    static struct Folder {
        std::string path;
        ~Folder() { if (!path.empty() && std::system(("rm -rf '" + path + "'").c_str()) != 0) {} }
    } scratch;
    std::string& folder = scratch.path;
    char name[] = "/tmp/vesk-world-XXXXXX";
    if (!folder.empty() || !mkdtemp(name))
        return folder;
    folder = name;
    mkdir((folder + "/Data").c_str(), 0755);
    if (FILE* f = std::fopen((folder + "/" + HostPath("Data\\sounds.dat")).c_str(), "w")) {
        std::fputs("Data\\a.wav\nData\\b.wav\nData\\c.wav\nData\\d.wav\n", f);
        std::fclose(f);
    }
    char previous[4096];
    if (getcwd(previous, sizeof previous) && chdir(folder.c_str()) == 0) {
        CSoundManager::GetInstance()->Load();
        EXPECT_EQ(chdir(previous), 0);
    }
    return folder;
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

void WorldTest::StartAt(const CGameState& s, int depth, int noise)
{
    m_World->StartGame(depth, noise);
    m_World->SetState(s);
}

void WorldTest::PlaceByDrag(uint32_t row, uint32_t col, float distance)
{
    const CVector2 c = Cell(row, col);
    Press(c.x, c.y);
    MoveTo(c.x + distance, c.y);
    Release(c.x + distance, c.y);
}

} // namespace worldtest
