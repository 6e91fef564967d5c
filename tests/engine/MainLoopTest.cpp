// The main loop with a real engine, SDL and OpenGL context; only the world is
// a recording stand-in. Events are pushed into SDL's own queue.

#include "RecordingWorld.h"

#include "engine/CEngineSettings.h"
#include "engine/CGameEngine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <thread>

using namespace recording;

namespace {

void Push(const SDL_Event& event)
{
    SDL_Event copy = event;
    ASSERT_EQ(SDL_PushEvent(&copy), 0);
}

SDL_Event KeyEvent(bool down, SDLKey sym, SDLMod mod)
{
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    return e;
}

SDL_Event MotionEvent(Uint16 x, Uint16 y)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

SDL_Event ButtonEvent(bool down, Uint8 button, Uint16 x, Uint16 y)
{
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    return e;
}

SDL_Event ActiveEvent(Uint8 state, bool gain)
{
    SDL_Event e{};
    e.type = SDL_ACTIVEEVENT;
    e.active.state = state;
    e.active.gain = gain ? 1 : 0;
    return e;
}

SDL_Event TypeOnly(Uint8 type)
{
    SDL_Event e{};
    e.type = type;
    return e;
}

// Ends a loop that would otherwise never return, so a broken engine fails
// the test instead of hanging it.
class Watchdog
{
public:
    explicit Watchdog(int ms)
        : m_Thread([this, ms] {
              std::unique_lock<std::mutex> lock(m_Mutex);
              if (!m_Done.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_Stop; }))
              {
                  m_Fired = true;
                  SDL_Event quit{};
                  quit.type = SDL_QUIT;
                  SDL_PushEvent(&quit);
              }
          })
    {
    }
    ~Watchdog() { Stop(); }

    void Stop()
    {
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            m_Stop = true;
        }
        m_Done.notify_all();
        if (m_Thread.joinable())
            m_Thread.join();
    }
    bool Fired() const { return m_Fired; }

private:
    std::mutex m_Mutex;
    std::condition_variable m_Done;
    bool m_Stop = false;
    std::atomic<bool> m_Fired{false};
    std::thread m_Thread;
};

std::vector<Entry> WithoutFrames(const std::vector<Entry>& log)
{
    std::vector<Entry> out;
    for (const Entry& e : log)
        if (e.call != Call::Update && e.call != Call::Draw)
            out.push_back(e);
    return out;
}

size_t IndexOf(const std::vector<Entry>& log, const Entry& wanted)
{
    for (size_t i = 0; i < log.size(); ++i)
        if (log[i] == wanted)
            return i;
    return log.size();
}

class MainLoop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine = CGameEngine::GetInstance();
        CEngineSettings settings = CEngineSettings::DefaultSettings();
        settings.m_IconFile.clear();   // the icon has its own tests
        ASSERT_TRUE(engine->Init(settings)) << engine->GetInitError();
        DrainWindowEvents();
        Clear();
    }
    void TearDown() override
    {
        engine->Shutdown();
        Clear();
    }

    // The new window sends its own events (focus, pointer); let them settle
    // and drop them so the queue holds only what a test pushes.
    static void DrainWindowEvents()
    {
        SDL_Event e;
        Uint32 quietSince = SDL_GetTicks();
        while (SDL_GetTicks() - quietSince < 100)
        {
            if (SDL_PollEvent(&e))
                quietSince = SDL_GetTicks();
            else
                SDL_Delay(5);
        }
    }

    CGameEngine* engine = nullptr;
};

// The world is built with the engine it must call back.
TEST_F(MainLoop, world_is_constructed_with_its_engine)
{
    EXPECT_EQ(ConstructedWith(), engine);
}

// Every key and mouse event reaches the world once, in queue order, with its
// arguments unchanged and before any frame; the close request ends the loop
// and what is queued behind it is never handled.
TEST_F(MainLoop, queued_events_reach_world_in_order_until_quit)
{
    std::vector<Entry> expected{recording::Reset()};

    Push(KeyEvent(true, SDLK_a, SDLMod(KMOD_LSHIFT | KMOD_NUM)));
    expected.push_back(Key(SDLK_a, KMOD_LSHIFT | KMOD_NUM, true));
    Push(KeyEvent(false, SDLK_a, KMOD_NONE));
    expected.push_back(Key(SDLK_a, KMOD_NONE, false));
    Push(TypeOnly(SDL_VIDEOEXPOSE));   // not the world's business
    Push(TypeOnly(SDL_USEREVENT));
    // A burst of motions: one call each, no frame in between.
    for (Uint16 i = 0; i < 40; ++i)
    {
        Push(MotionEvent(Uint16(10 + i), Uint16(767 - i)));
        expected.push_back(Move(10 + i, 767 - i));
    }
    Push(ButtonEvent(true, SDL_BUTTON_LEFT, 1023, 0));
    expected.push_back(Button(SDL_BUTTON_LEFT, true, 1023, 0));
    Push(ButtonEvent(false, SDL_BUTTON_RIGHT, 0, 767));
    expected.push_back(Button(SDL_BUTTON_RIGHT, false, 0, 767));
    Push(ActiveEvent(SDL_APPMOUSEFOCUS, false));
    Push(TypeOnly(SDL_QUIT));
    Push(MotionEvent(999, 999));
    Push(KeyEvent(true, SDLK_ESCAPE, KMOD_NONE));

    Watchdog watchdog(5000);
    engine->Run();
    watchdog.Stop();

    EXPECT_FALSE(watchdog.Fired());
    EXPECT_EQ(Describe(Log()), Describe(expected));
}

// Quit() from inside a key or button handler stops the loop at once: the
// next queued event is not handled and no further frame is drawn.
TEST_F(MainLoop, quit_from_world_handler_stops_before_next_event)
{
    for (int viaButton = 0; viaButton < 2; ++viaButton)
    {
        SCOPED_TRACE(viaButton ? "quit on a button press" : "quit on a key press");
        Clear();
        if (viaButton)
        {
            Behave().quitOnButton = SDL_BUTTON_LEFT;
            Push(ButtonEvent(true, SDL_BUTTON_LEFT, 5, 6));
        }
        else
        {
            Behave().quitOnKey = SDLK_ESCAPE;
            Push(KeyEvent(true, SDLK_ESCAPE, KMOD_NONE));
        }
        Push(MotionEvent(7, 8));
        Push(KeyEvent(true, SDLK_b, KMOD_NONE));

        Watchdog watchdog(5000);
        engine->Run();
        watchdog.Stop();
        EXPECT_FALSE(watchdog.Fired());

        const Entry quitCall = viaButton ? Button(SDL_BUTTON_LEFT, true, 5, 6)
                                         : Key(SDLK_ESCAPE, KMOD_NONE, true);
        EXPECT_EQ(Describe(Log()), Describe({recording::Reset(), quitCall}));
        DrainWindowEvents();   // the events left behind belong to no later run
    }
}

// With an empty queue each pass is one frame: Update then Draw. The clock is
// read once per frame, so slow drawing is neither lost nor counted twice:
// the elapsed times add up to the time since Run started.
TEST_F(MainLoop, frames_pass_all_elapsed_time_to_the_world)
{
    Behave().quitAfterUpdates = 6;
    Behave().drawDelayMs = 15;

    const Uint32 before = SDL_GetTicks();
    Watchdog watchdog(5000);
    engine->Run();
    watchdog.Stop();
    ASSERT_FALSE(watchdog.Fired());

    const std::vector<Entry>& log = Log();
    ASSERT_EQ(log.size(), 1u + 6 * 2) << Describe(log);
    EXPECT_EQ(log[0].call, Call::Reset);
    int total = 0;
    for (size_t i = 1; i < log.size(); i += 2)
    {
        ASSERT_EQ(log[i].call, Call::Update) << Describe(log);
        ASSERT_EQ(log[i + 1].call, Call::Draw) << Describe(log);
        total += log[i].a;
        if (i > 1)   // every frame after the first waited for a slow Draw
        {
            EXPECT_GE(log[i].a, 15) << "frame " << i / 2;
        }
    }
    // Run read the start time no earlier than `before`, and the engine read the
    // last frame's time no later than the world saw it.
    const Uint32 lastUpdate = log[log.size() - 2].ticks;
    EXPECT_LE(Uint32(total), lastUpdate - before);
    EXPECT_GE(Uint32(total) + 2, lastUpdate - log[0].ticks);
}

// Minimised, the loop handles events but draws nothing and sleeps instead of
// spinning; restoring restarts the clock so the pause is not game time.
TEST_F(MainLoop, minimised_window_draws_nothing_and_restore_restarts_clock)
{
    const Uint32 pauseMs = 400;
    std::atomic<Uint32> restoreTicks{0};
    std::atomic<bool> minimiseQueued{false};
    std::atomic<bool> markerHandled{false};
    std::clock_t cpuBefore = 0, cpuAfter = 0;

    // The first frame minimises; a helper thread restores a while later.
    Behave().onUpdate = [&] {
        if (minimiseQueued)
            return;
        Push(MotionEvent(1, 1));   // marks the start of the pause in the log
        Push(ActiveEvent(SDL_APPACTIVE, false));
        minimiseQueued = true;
    };
    Behave().onMouseMove = [&](int x, int) { markerHandled = markerHandled || x == 1; };
    Behave().quitAfterUpdates = 3;

    std::thread restorer([&] {
        // Wait until the loop reaches the minimise, then stay minimised a while.
        for (int waited = 0; !markerHandled && waited < 5000; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        cpuBefore = std::clock();
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        cpuAfter = std::clock();
        SDL_Event marker = MotionEvent(2, 2);
        SDL_PushEvent(&marker);
        restoreTicks = SDL_GetTicks();
        SDL_Event restore = ActiveEvent(SDL_APPACTIVE, true);
        SDL_PushEvent(&restore);
    });

    Watchdog watchdog(8000);
    engine->Run();
    watchdog.Stop();
    restorer.join();
    ASSERT_FALSE(watchdog.Fired());

    const std::vector<Entry>& log = Log();
    const size_t minimised = IndexOf(log, Move(1, 1));
    const size_t marker = IndexOf(log, Move(2, 2));
    ASSERT_LT(minimised, log.size()) << Describe(log);
    ASSERT_LT(marker, log.size()) << Describe(log);
    ASSERT_LT(minimised, marker);
    EXPECT_GE(log[marker].ticks - log[minimised].ticks, pauseMs - 5);

    // Nothing was advanced or drawn between the minimise and the restore.
    for (size_t i = minimised + 1; i < marker; ++i)
    {
        EXPECT_NE(log[i].call, Call::Update) << Describe(log);
        EXPECT_NE(log[i].call, Call::Draw) << Describe(log);
    }
    size_t firstAfter = marker + 1;
    while (firstAfter < log.size() && log[firstAfter].call != Call::Update)
        ++firstAfter;
    ASSERT_LT(firstAfter, log.size()) << Describe(log);
    // Only the time since the restore reaches the world, never the pause.
    EXPECT_LE(Uint32(log[firstAfter].a), log[firstAfter].ticks - restoreTicks);
    EXPECT_LT(Uint32(log[firstAfter].a), pauseMs);

    // Asleep, not polling: the process used a small part of the pause.
    const double cpuMs = 1000.0 * double(cpuAfter - cpuBefore) / CLOCKS_PER_SEC;
    EXPECT_LT(cpuMs, pauseMs * 0.5);
}

// Losing keyboard or mouse focus is not minimising: frames go on.
TEST_F(MainLoop, focus_changes_keep_frames_going)
{
    Push(ActiveEvent(SDL_APPINPUTFOCUS, false));
    Push(ActiveEvent(SDL_APPMOUSEFOCUS, false));
    Push(ActiveEvent(SDL_APPINPUTFOCUS | SDL_APPMOUSEFOCUS, false));
    Behave().quitAfterUpdates = 3;

    Watchdog watchdog(3000);
    engine->Run();
    watchdog.Stop();

    EXPECT_FALSE(watchdog.Fired()) << "frames stopped after a focus change";
    size_t updates = 0;
    for (const Entry& e : Log())
        updates += e.call == Call::Update;
    EXPECT_EQ(updates, 3u);
    EXPECT_TRUE(WithoutFrames(Log()) == std::vector<Entry>{recording::Reset()}) << Describe(Log());
}

} // namespace
