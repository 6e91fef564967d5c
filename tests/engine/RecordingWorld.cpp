#include "RecordingWorld.h"

#include "engine/CGameEngine.h"
#include "world/CGameWorld.h"

#include <sstream>

namespace recording {

namespace {
std::vector<Entry> g_log;
Behaviour g_behaviour;
CGameEngine* g_constructedWith = nullptr;
int g_updates = 0;

void Record(Entry e)
{
    e.ticks = SDL_GetTicks();
    g_log.push_back(e);
}
} // namespace

Entry Reset() { return Entry{Call::Reset}; }
Entry Key(int sym, int mod, bool pressed) { return Entry{Call::Key, sym, mod, pressed ? 1 : 0}; }
Entry Move(int x, int y) { return Entry{Call::MouseMove, x, y}; }
Entry Button(int button, bool pressed, int x, int y)
{
    return Entry{Call::MouseButton, button, pressed ? 1 : 0, x, y};
}

std::string Describe(const Entry& e)
{
    std::ostringstream s;
    switch (e.call)
    {
    case Call::Reset: s << "Reset"; break;
    case Call::Key: s << "Key(" << e.a << "," << e.b << "," << e.c << ")"; break;
    case Call::MouseMove: s << "Move(" << e.a << "," << e.b << ")"; break;
    case Call::MouseButton: s << "Button(" << e.a << "," << e.b << "," << e.c << "," << e.d << ")"; break;
    case Call::Update: s << "Update(" << e.a << ")"; break;
    case Call::Draw: s << "Draw"; break;
    }
    return s.str();
}

std::string Describe(const std::vector<Entry>& log)
{
    std::string text;
    for (const Entry& e : log)
        text += Describe(e) + " ";
    return text;
}

std::vector<Entry>& Log() { return g_log; }
Behaviour& Behave() { return g_behaviour; }
CGameEngine* ConstructedWith() { return g_constructedWith; }

void Clear()
{
    g_log.clear();
    g_behaviour = Behaviour();
    g_updates = 0;
}

} // namespace recording

using namespace recording;

// Only what the engine-facing calls use; the rest of the world stays unset.
CGameWorld::CGameWorld(CGameEngine* engine)
    : m_GameEngine(engine),
      m_GameState(3, 2)
{
    g_constructedWith = engine;
}

CGameWorld::~CGameWorld() {}

void CGameWorld::Reset()
{
    Record(recording::Reset());
}

void CGameWorld::OnKey(SDLKey sym, SDLMod mod, bool pressed)
{
    Record(Key(sym, mod, pressed));
    if (pressed && int(sym) == g_behaviour.quitOnKey)
        m_GameEngine->Quit();
}

void CGameWorld::OnMouseMove(Uint16 x, Uint16 y)
{
    Record(Move(x, y));
    if (g_behaviour.onMouseMove)
        g_behaviour.onMouseMove(x, y);
}

void CGameWorld::OnMouseButton(Uint8 button, bool pressed, Uint16 x, Uint16 y)
{
    Record(Button(button, pressed, x, y));
    if (pressed && int(button) == g_behaviour.quitOnButton)
        m_GameEngine->Quit();
}

void CGameWorld::Update(Uint32 elapsedMs)
{
    Record(Entry{Call::Update, int(elapsedMs)});
    if (g_behaviour.onUpdate)
        g_behaviour.onUpdate();
    ++g_updates;
    if (g_behaviour.quitAfterUpdates > 0 && g_updates == g_behaviour.quitAfterUpdates)
        m_GameEngine->Quit();
}

void CGameWorld::Draw()
{
    Record(Entry{Call::Draw});
    if (g_behaviour.drawDelayMs > 0)
        SDL_Delay(g_behaviour.drawDelayMs);
}
