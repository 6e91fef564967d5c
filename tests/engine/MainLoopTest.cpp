// The main loop with a real engine, SDL and OpenGL context; only the world is
// the recording stand-in. Events go into SDL's own queue.

#include "RecordingWorld.h"

#include "engine/CGameEngine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

using namespace recording;

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
        engine = CGameEngine::GetInstance();
        CEngineSettings settings = CEngineSettings::DefaultSettings();
        settings.m_IconFile.clear();
        ASSERT_TRUE(engine->Init(settings)) << engine->GetInitError();
        DropWindowEvents();
        Clear();
    }
    void TearDown() override { engine->Shutdown(); }

    // The new window sends focus and pointer events of its own; drop them so
    // the queue holds only what a test pushes.
    static void DropWindowEvents()
    {
        SDL_Event e;
        for (Uint32 quiet = SDL_GetTicks(); SDL_GetTicks() - quiet < 100; SDL_Delay(5))
            while (SDL_PollEvent(&e))
                quiet = SDL_GetTicks();
    }

    // Runs the loop; a loop that does not end within the bound fails the
    // test instead of hanging it.
    void RunBounded(int ms = 5000)
    {
        std::atomic<bool> done{false}, fired{false};
        std::thread watchdog([&] {
            for (int t = 0; t < ms && !done; t += 10)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (!done)
            {
                fired = true;
                Push(Event(SDL_QUIT));
            }
        });
        engine->Run();
        done = true;
        watchdog.join();
        EXPECT_FALSE(fired) << "the loop did not end by itself";
    }

    CGameEngine* engine = nullptr;
};

// The world is built with the engine it calls back.
TEST_F(MainLoop, world_knows_its_engine)
{
    EXPECT_EQ(constructedWith, engine);
}

// Key and mouse events reach the world once each, in queue order, unchanged
// and before any frame; other events do not; the close request ends the loop
// and what is queued behind it is never handled.
TEST_F(MainLoop, queued_events_reach_world_in_order_until_quit)
{
    std::vector<std::string> expected{"Reset"};
    Push(Event(SDL_KEYDOWN, SDLK_a, KMOD_LSHIFT | KMOD_NUM));
    Push(Event(SDL_KEYUP, SDLK_a, KMOD_NONE));
    expected.push_back("Key 97 " + std::to_string(KMOD_LSHIFT | KMOD_NUM) + " 1");
    expected.push_back("Key 97 0 0");
    Push(Event(SDL_VIDEOEXPOSE));
    Push(Event(SDL_USEREVENT));
    for (int i = 0; i < 40; ++i)   // a burst of motions
    {
        Push(Event(SDL_MOUSEMOTION, 10 + i, 767 - i));
        expected.push_back("Move " + std::to_string(10 + i) + " " + std::to_string(767 - i));
    }
    Push(Event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1023, 0));
    Push(Event(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 0, 767));
    expected.push_back("Button 1 1 1023 0");
    expected.push_back("Button 3 0 0 767");
    Push(Event(SDL_QUIT));
    Push(Event(SDL_MOUSEMOTION, 999, 999));
    Push(Event(SDL_KEYDOWN, SDLK_ESCAPE));

    RunBounded();
    EXPECT_EQ(Names(), expected);
}

// Quit() from a key or button handler ends the loop at once: the next queued
// event is not handled and no further frame is drawn.
TEST_F(MainLoop, quit_from_handler_stops_before_next_event)
{
    for (const bool viaButton : {false, true})
    {
        SCOPED_TRACE(viaButton ? "button" : "key");
        Clear();
        behave.quitOnKey = SDLK_ESCAPE;
        behave.quitOnButton = SDL_BUTTON_LEFT;
        Push(viaButton ? Event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 6) : Event(SDL_KEYDOWN, SDLK_ESCAPE));
        Push(Event(SDL_MOUSEMOTION, 7, 8));
        RunBounded();
        EXPECT_EQ(Names(), (std::vector<std::string>{"Reset", viaButton ? "Button 1 1 5 6" : "Key 27 0 1"}));
        DropWindowEvents();   // the leftover motion
    }
}

// With an empty queue each pass is one frame, Update then Draw. The clock is
// read once per frame, so a slow Draw is neither lost nor counted twice: the
// elapsed times add up to the time since Run started.
TEST_F(MainLoop, frames_pass_all_elapsed_time_to_the_world)
{
    behave.quitAfterUpdates = 6;
    behave.drawDelayMs = 15;
    const Uint32 before = SDL_GetTicks();
    RunBounded();

    ASSERT_EQ(calls.size(), 13u);
    Uint32 total = 0;
    for (size_t i = 1; i < calls.size(); i += 2)
    {
        EXPECT_EQ(calls[i].what, "Update");
        EXPECT_EQ(calls[i + 1].what, "Draw");
        EXPECT_TRUE(i == 1 || calls[i].elapsed >= 15) << "frame " << i / 2 << " lost the Draw time";
        total += calls[i].elapsed;
    }
    const Uint32 lastUpdate = calls[11].ticks;
    EXPECT_LE(total, lastUpdate - before);
    // Slack for rounding and scheduling; losing the Draw time would cost 75.
    EXPECT_GE(total + 30, lastUpdate - calls[0].ticks);
}

// Minimised, the loop handles events but draws nothing and sleeps instead of
// polling; the restore restarts the clock so the pause is not game time.
TEST_F(MainLoop, minimised_window_waits_and_restore_restarts_clock)
{
    const Uint32 pauseMs = 400;
    std::atomic<bool> minimised{false};
    std::atomic<Uint32> restoreTicks{0};
    std::clock_t cpu = 0;

    behave.onUpdate = [&] {   // the first frame minimises, after a marker
        if (!minimised.exchange(true))
            Push(Event(SDL_MOUSEMOTION, 1, 1)), Push(Event(SDL_ACTIVEEVENT, SDL_APPACTIVE, 0));
    };
    std::atomic<bool> markerSeen{false};
    behave.onMouseMove = [&](int x) { markerSeen = markerSeen || x == 1; };
    behave.quitAfterUpdates = 3;

    std::thread restorer([&] {
        for (int t = 0; !markerSeen && t < 5000; ++t)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        cpu = std::clock();
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        cpu = std::clock() - cpu;
        SDL_Event marker = Event(SDL_MOUSEMOTION, 2, 2), restore = Event(SDL_ACTIVEEVENT, SDL_APPACTIVE, 1);
        SDL_PushEvent(&marker);
        restoreTicks = SDL_GetTicks();
        SDL_PushEvent(&restore);
    });
    RunBounded(8000);
    restorer.join();

    const size_t from = Find("Move 1 1"), to = Find("Move 2 2");
    ASSERT_LT(from, to);
    ASSERT_LT(to, calls.size());
    EXPECT_GE(calls[to].ticks - calls[from].ticks, pauseMs - 5);
    for (size_t i = from + 1; i < to; ++i)
        EXPECT_EQ(calls[i].what.find("Move"), 0u) << "a frame ran while minimised";

    size_t next = to + 1;
    while (next < calls.size() && calls[next].what != "Update")
        ++next;
    ASSERT_LT(next, calls.size());
    EXPECT_LE(calls[next].elapsed, calls[next].ticks - restoreTicks) << "the pause reached the world";

    // Waiting costs about 1% of the pause; polling a quarter or more (most of
    // each poll is spent in the X server).
    EXPECT_LT(1000.0 * double(cpu) / CLOCKS_PER_SEC, pauseMs * 0.1);
}

// Losing keyboard or mouse focus is not minimising: frames go on.
TEST_F(MainLoop, focus_changes_keep_frames_going)
{
    Push(Event(SDL_ACTIVEEVENT, SDL_APPINPUTFOCUS, 0));
    Push(Event(SDL_ACTIVEEVENT, SDL_APPMOUSEFOCUS | SDL_APPINPUTFOCUS, 0));
    behave.quitAfterUpdates = 3;
    RunBounded(3000);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Reset", "Update", "Draw", "Update", "Draw", "Update", "Draw"}));
}

} // namespace
