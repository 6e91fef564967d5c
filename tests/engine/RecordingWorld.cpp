#include "RecordingWorld.h"

#include "engine/CGameEngine.h"
#include "world/CGameWorld.h"

namespace recording {

std::vector<Call> calls;
Behaviour behave;
CGameEngine* constructedWith = nullptr;
static int updates = 0;

static void Record(const std::string& what, Uint32 elapsed = 0)
{
    calls.push_back(Call{what, elapsed, SDL_GetTicks()});
}

void Clear()
{
    calls.clear();
    behave = Behaviour();
    updates = 0;
}

std::vector<std::string> Names()
{
    std::vector<std::string> names;
    for (const Call& c : calls)
        names.push_back(c.what);
    return names;
}

size_t Find(const std::string& what)
{
    size_t i = 0;
    while (i < calls.size() && calls[i].what != what)
        ++i;
    return i;
}

} // namespace recording

using namespace recording;
using std::to_string;

// Only what the engine-facing calls use; the rest of the world stays unset.
CGameWorld::CGameWorld(CGameEngine* engine) : m_GameEngine(engine), m_GameState(3, 2)
{
    constructedWith = engine;
}

CGameWorld::~CGameWorld() {}

void CGameWorld::Reset() { Record("Reset"); }

void CGameWorld::OnKey(SDLKey sym, SDLMod mod, bool pressed)
{
    Record("Key " + to_string(sym) + " " + to_string(mod) + " " + to_string(pressed));
    if (pressed && int(sym) == behave.quitOnKey)
        m_GameEngine->Quit();
}

void CGameWorld::OnMouseMove(Uint16 x, Uint16 y)
{
    Record("Move " + to_string(x) + " " + to_string(y));
    if (behave.onMouseMove)
        behave.onMouseMove(x);
}

void CGameWorld::OnMouseButton(Uint8 button, bool pressed, Uint16 x, Uint16 y)
{
    Record("Button " + to_string(button) + " " + to_string(pressed) + " " + to_string(x) + " " + to_string(y));
    if (pressed && int(button) == behave.quitOnButton)
        m_GameEngine->Quit();
}

void CGameWorld::Update(Uint32 elapsedMs)
{
    Record("Update", elapsedMs);
    if (behave.onUpdate)
        behave.onUpdate();
    if (++updates == behave.quitAfterUpdates)
        m_GameEngine->Quit();
}

void CGameWorld::Draw()
{
    Record("Draw");
    if (behave.drawDelayMs > 0)
        SDL_Delay(behave.drawDelayMs);
}
