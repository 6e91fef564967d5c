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

std::string LoadFourSoundList()
{
    static std::string folder;
    if (!folder.empty())
        return folder;

    char pattern[] = "/tmp/vesk-world-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made)
        return folder;
    folder = made;
    mkdir((folder + "/Data").c_str(), 0755);
    const std::string list = folder + "/" + HostPath("Data\\sounds.dat");
    if (FILE* f = std::fopen(list.c_str(), "w")) {
        std::fputs("Data\\hover.wav\nData\\place.wav\nData\\over.wav\nData\\pass.wav\n", f);
        std::fclose(f);
    }

    char previous[4096];
    if (getcwd(previous, sizeof previous) && chdir(folder.c_str()) == 0) {
        CSoundManager::GetInstance()->Load();
        if (chdir(previous) != 0)
            std::abort();
    }
    return folder;
}

SoundCounts ReadSoundCounts()
{
    SoundCounts counts;
    for (int i = 0; i < 4; ++i)
        counts[i] = CSoundManager::GetInstance()->GetSound(i)->GetPlayCount();
    return counts;
}

SoundCounts SoundsSince(const SoundCounts& before)
{
    SoundCounts now = ReadSoundCounts();
    for (int i = 0; i < 4; ++i)
        now[i] -= before[i];
    return now;
}

CGameState Position(std::initializer_list<const char*> moves)
{
    CGameState state(3, 2);
    for (const char* m : moves) {
        unsigned r = 0, c = 0, t = 0;
        if (std::strcmp(m, "pass") == 0) {
            state.Pass();
        } else if (std::sscanf(m, "%u %u %u", &r, &c, &t) == 3) {
            EXPECT_TRUE(state.IsMoveLegal(r, c, static_cast<uint8_t>(t))) << m;
            state.MakeMove(r, c, static_cast<uint8_t>(t));
        } else {
            ADD_FAILURE() << "bad move text: " << m;
        }
    }
    return state;
}

void WorldTest::SetUpTestSuite()
{
    LoadFourSoundList();
    ASSERT_EQ(CSoundManager::GetInstance()->GetNumSounds(), 4);
}

void WorldTest::SetUp()
{
    CRandomTable::GetInstance()->FillFromSeed(20240611u);
    m_World.reset(new CGameWorld(CGameEngine::GetInstance()));
    m_World->Reset();
}

namespace {
Uint16 SdlX(float x) { return static_cast<Uint16>(std::lround(x)); }
Uint16 SdlY(float y) { return static_cast<Uint16>(768 - std::lround(y)); }
}

void WorldTest::MoveTo(float x, float y) { m_World->OnMouseMove(SdlX(x), SdlY(y)); }
void WorldTest::Press(float x, float y, Uint8 button) { m_World->OnMouseButton(button, true, SdlX(x), SdlY(y)); }
void WorldTest::Release(float x, float y, Uint8 button) { m_World->OnMouseButton(button, false, SdlX(x), SdlY(y)); }

void WorldTest::Click(float x, float y, Uint8 button)
{
    Press(x, y, button);
    Release(x, y, button);
}

void WorldTest::Key(SDLKey sym, bool pressed) { m_World->OnKey(sym, KMOD_NONE, pressed); }

void WorldTest::StartAt(const CGameState& state, int depth, int noise)
{
    m_World->StartGame(depth, noise);
    m_World->SetState(state);
}

void WorldTest::PlaceByDrag(uint32_t row, uint32_t col, float distance)
{
    const CVector2 c = Cell(row, col);
    Press(c.x, c.y);
    MoveTo(c.x + distance, c.y);
    Release(c.x + distance, c.y);
}

} // namespace worldtest
