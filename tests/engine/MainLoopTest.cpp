// The main loop with a real engine, SDL and OpenGL; the world is a stand-in
// that records every call the engine makes.
#include "engine/CGameEngine.h"
#include "support/Events.h"
#include "world/CGameWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

using std::to_string;

namespace {

std::vector<std::string> calls;
std::vector<std::pair<Uint32, Uint32>> frames;   // elapsed time passed, clock when called
std::string quitOn;                              // the call after which the world calls Quit()
int quitCount = 0;

void Record(const std::string& what)
{
    calls.push_back(what);
    if (what == quitOn && --quitCount == 0)
        CGameEngine::GetInstance()->Quit();
}

} // namespace

CGameWorld::CGameWorld(CGameEngine* engine) : m_GameEngine(engine), m_GameState(3, 2) {}
CGameWorld::~CGameWorld() {}
void CGameWorld::Reset() { Record("Reset"); }
void CGameWorld::OnKey(SDLKey sym, SDLMod mod, bool down) { Record("Key " + to_string(sym) + " " + to_string(mod) + " " + to_string(down)); }
void CGameWorld::OnMouseMove(Uint16 x, Uint16 y) { Record("Move " + to_string(x) + " " + to_string(y)); }
void CGameWorld::OnMouseButton(Uint8 b, bool down, Uint16 x, Uint16 y)
{
    Record("Button " + to_string(b) + " " + to_string(down) + " " + to_string(x) + " " + to_string(y));
}
void CGameWorld::Update(Uint32 elapsedMs)
{
    frames.push_back({elapsedMs, SDL_GetTicks()});
    Record("Update");
}
void CGameWorld::Draw() { Record("Draw"); }

namespace {

class MainLoop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CEngineSettings settings = CEngineSettings::DefaultSettings();
        settings.m_IconFile.clear();
        ASSERT_TRUE(engine->Init(settings)) << engine->GetInitError();
        DropQueuedEvents();
    }
    void TearDown() override { engine->Shutdown(); }

    // The new window's own focus and pointer events, or a test's leftovers.
    static void DropQueuedEvents()
    {
        SDL_Event e;
        for (Uint32 quiet = SDL_GetTicks(); SDL_GetTicks() - quiet < 100; SDL_Delay(5))
            while (SDL_PollEvent(&e))
                quiet = SDL_GetTicks();
        calls.clear();
        frames.clear();
    }

    CGameEngine* engine = CGameEngine::GetInstance();
};

// Key and mouse events reach the world once each, in order, unchanged and
// before any frame; other events do not. SDL_QUIT, or Quit() from a key or
// button handler, ends the loop before the next event and the next frame.
TEST_F(MainLoop, events_reach_world_in_order_until_quit)
{
    const struct { std::vector<std::array<int, 4>> events; std::vector<std::string> calls; } runs[] = {
        {{{SDL_KEYDOWN, SDLK_a, KMOD_LSHIFT}, {SDL_VIDEOEXPOSE}, {SDL_MOUSEMOTION, 10, 767},
          {SDL_MOUSEBUTTONDOWN, 1, 1023, 0}, {SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 0, 767}, {SDL_KEYUP, SDLK_a, KMOD_NONE},
          {SDL_QUIT}, {SDL_KEYDOWN, SDLK_b}},
         {"Reset", "Key 97 " + to_string(KMOD_LSHIFT) + " 1", "Move 10 767", "Button 1 1 1023 0", "Button 3 0 0 767",
          "Key 97 0 0"}},
        {{{SDL_KEYDOWN, SDLK_ESCAPE}, {SDL_MOUSEMOTION, 7, 8}}, {"Reset", "Key 27 0 1"}},
        {{{SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 6}, {SDL_MOUSEMOTION, 7, 8}}, {"Reset", "Button 1 1 5 6"}},
    };
    for (const auto& run : runs) {
        quitOn = &run == runs ? "" : run.calls.back(), quitCount = 1;   // the first run ends on SDL_QUIT
        for (const auto& e : run.events)
            Push(e);
        engine->Run();   // a loop that never ends fails on the test timeout
        EXPECT_EQ(calls, run.calls);
        DropQueuedEvents();
    }
}

// Minimised, no frame runs; the restore restarts the clock, so the pause is
// not passed to the world as game time.
TEST_F(MainLoop, minimised_window_stops_frames_and_restore_restarts_clock)
{
    std::atomic<Uint32> restoreTicks{0};
    Push({SDL_ACTIVEEVENT, SDL_APPACTIVE, 0});
    std::thread restorer([&] {
        SDL_Delay(300);
        restoreTicks = SDL_GetTicks();
        Push({SDL_ACTIVEEVENT, SDL_APPACTIVE, 1});
    });
    quitOn = "Update", quitCount = 2;
    const Uint32 start = SDL_GetTicks();
    engine->Run();
    restorer.join();
    // The X server may add a pointer motion of its own when the window maps;
    // only the frames matter here.
    calls.erase(std::remove_if(calls.begin(), calls.end(), [](const std::string& c) { return c[0] == 'M'; }), calls.end());
    ASSERT_EQ(calls, (std::vector<std::string>{"Reset", "Update", "Draw", "Update", "Draw"}));
    EXPECT_GE(frames[0].second, restoreTicks) << "a frame ran while minimised";
    EXPECT_LE(frames[0].first, frames[0].second - restoreTicks) << "the pause reached the world";
    EXPECT_GE(frames[0].second - start, 295u);
}

} // namespace
