// The main loop with a real engine, SDL and OpenGL; the world is a stand-in
// that records every call the engine makes. Events go into SDL's own queue.

#include "engine/CGameEngine.h"
#include "world/CGameWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Call { std::string what; Uint32 elapsed, ticks; };   // ticks: when it arrived
std::vector<Call> calls;
int quitOnKey = -1, quitOnButton = -1, quitAfterUpdates = -1, updates = 0;

void Record(const std::string& what, Uint32 elapsed = 0) { calls.push_back(Call{what, elapsed, SDL_GetTicks()}); }

std::vector<std::string> Names()
{
    std::vector<std::string> names;
    for (const Call& c : calls)
        names.push_back(c.what);
    return names;
}

} // namespace

using std::to_string;

CGameWorld::CGameWorld(CGameEngine* engine) : m_GameEngine(engine), m_GameState(3, 2) {}
CGameWorld::~CGameWorld() {}
void CGameWorld::Reset() { Record("Reset"); }
void CGameWorld::OnKey(SDLKey sym, SDLMod mod, bool pressed)
{
    Record("Key " + to_string(sym) + " " + to_string(mod) + " " + to_string(pressed));
    if (pressed && int(sym) == quitOnKey)
        m_GameEngine->Quit();
}
void CGameWorld::OnMouseMove(Uint16 x, Uint16 y) { Record("Move " + to_string(x) + " " + to_string(y)); }
void CGameWorld::OnMouseButton(Uint8 button, bool pressed, Uint16 x, Uint16 y)
{
    Record("Button " + to_string(button) + " " + to_string(pressed) + " " + to_string(x) + " " + to_string(y));
    if (pressed && int(button) == quitOnButton)
        m_GameEngine->Quit();
}
void CGameWorld::Update(Uint32 elapsedMs)
{
    Record("Update", elapsedMs);
    if (++updates == quitAfterUpdates)
        m_GameEngine->Quit();
}
void CGameWorld::Draw() { Record("Draw"); }

namespace {

SDL_Event Event(Uint8 type, int a = 0, int b = 0, int c = 0)
{
    SDL_Event e{};
    e.type = type;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP)
        e.key.keysym.sym = SDLKey(a), e.key.keysym.mod = SDLMod(b);
    else if (type == SDL_MOUSEMOTION)
        e.motion.x = Uint16(a), e.motion.y = Uint16(b);
    else if (type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP)
        e.button.button = Uint8(a), e.button.x = Uint16(b), e.button.y = Uint16(c);
    else if (type == SDL_ACTIVEEVENT)
        e.active.state = Uint8(a), e.active.gain = Uint8(b);
    return e;
}

void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 0); }

class MainLoop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CEngineSettings settings = CEngineSettings::DefaultSettings();
        settings.m_IconFile.clear();
        ASSERT_TRUE(engine->Init(settings)) << engine->GetInitError();
        DropQueuedEvents();
        calls.clear();
        quitOnKey = quitOnButton = quitAfterUpdates = -1;
        updates = 0;
    }
    void TearDown() override { engine->Shutdown(); }

    // The new window's own focus and pointer events, or a test's leftovers.
    static void DropQueuedEvents()
    {
        SDL_Event e;
        for (Uint32 quiet = SDL_GetTicks(); SDL_GetTicks() - quiet < 100; SDL_Delay(5))
            while (SDL_PollEvent(&e))
                quiet = SDL_GetTicks();
    }

    CGameEngine* engine = CGameEngine::GetInstance();
};

// Key and mouse events reach the world once each, in order, unchanged and
// before any frame; other events do not; SDL_QUIT ends the loop and what is
// queued behind it is never handled.
TEST_F(MainLoop, queued_events_reach_world_in_order_until_quit)
{
    Push(Event(SDL_KEYDOWN, SDLK_a, KMOD_LSHIFT));
    Push(Event(SDL_VIDEOEXPOSE));
    Push(Event(SDL_MOUSEMOTION, 10, 767));
    Push(Event(SDL_MOUSEMOTION, 11, 766));
    Push(Event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1023, 0));
    Push(Event(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 0, 767));
    Push(Event(SDL_KEYUP, SDLK_a, KMOD_NONE));
    Push(Event(SDL_QUIT));
    Push(Event(SDL_KEYDOWN, SDLK_ESCAPE));
    engine->Run();   // a loop that never ends fails on the test timeout
    EXPECT_EQ(Names(), (std::vector<std::string>{"Reset", "Key 97 " + to_string(KMOD_LSHIFT) + " 1", "Move 10 767",
                                                 "Move 11 766", "Button 1 1 1023 0", "Button 3 0 0 767", "Key 97 0 0"}));
}

// Quit() from a key or button handler ends the loop before the next event
// and before another frame.
TEST_F(MainLoop, quit_from_handler_stops_before_next_event)
{
    quitOnKey = SDLK_ESCAPE;
    quitOnButton = SDL_BUTTON_LEFT;
    for (const bool viaButton : {false, true})
    {
        calls.clear();
        Push(viaButton ? Event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 6) : Event(SDL_KEYDOWN, SDLK_ESCAPE));
        Push(Event(SDL_MOUSEMOTION, 7, 8));
        engine->Run();
        EXPECT_EQ(Names(), (std::vector<std::string>{"Reset", viaButton ? "Button 1 1 5 6" : "Key 27 0 1"}));
        DropQueuedEvents();
    }
}

// Minimised, no frame runs; the restore restarts the clock, so the pause is
// not passed to the world as game time.
TEST_F(MainLoop, minimised_window_stops_frames_and_restore_restarts_clock)
{
    std::atomic<Uint32> restoreTicks{0};
    Push(Event(SDL_ACTIVEEVENT, SDL_APPACTIVE, 0));
    std::thread restorer([&] {
        SDL_Delay(300);
        restoreTicks = SDL_GetTicks();
        Push(Event(SDL_ACTIVEEVENT, SDL_APPACTIVE, 1));
    });
    quitAfterUpdates = 2;
    const Uint32 start = SDL_GetTicks();
    engine->Run();
    restorer.join();
    // The X server may add a pointer motion of its own when the window maps;
    // only the frames matter here.
    calls.erase(std::remove_if(calls.begin(), calls.end(),
                               [](const Call& c) { return c.what.rfind("Move", 0) == 0; }),
                calls.end());
    ASSERT_EQ(Names(), (std::vector<std::string>{"Reset", "Update", "Draw", "Update", "Draw"}));
    EXPECT_GE(calls[1].ticks, restoreTicks) << "a frame ran while minimised";
    EXPECT_LE(calls[1].elapsed, calls[1].ticks - restoreTicks) << "the pause reached the world";
    EXPECT_GE(calls[1].ticks - start, 295u);
}

} // namespace
