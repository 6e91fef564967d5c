// Frame cost of the game world: Update + Draw per frame on a full board, in
// the engine's real window, with the game's data if the working folder has it.
//
//   vesk-frame-bench [frames] [data folder]
//
// Defaults: 2000 frames, the source checkout (whose Data/ holds the game's
// sprites, sounds and font). Run it under a display, e.g.
//   SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24" build/bench/vesk-frame-bench
// Each frame ends with glFinish: the world's own cost is timed up to that
// point, the rendered frame up to its end.

#include "engine/CEngineSettings.h"
#include "engine/CGameEngine.h"
#include "game/CGameState.h"
#include "text/CFontManager.h"
#include "world/CGameWorld.h"

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Every cell taken: Gold one token on ten cells, Silver two on nine, in turn.
CGameState FullBoard()
{
    CGameState s(3, 2);
    for (uint32_t r = 0; r < s.GetNumRows(); ++r)
        for (uint32_t c = 0; c < s.GetRowLength(r); ++c)
            s.MakeMove(r, c, s.GetCurTeam() == 0 ? 1 : 2);
    return s;
}

// The world's own work (Update, and Draw handing its commands over) and the
// whole frame once OpenGL has rendered it, in milliseconds.
struct Figures { double worldMedian, worldMean, frameMedian, frameMean, frameP99; };

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

Figures Measure(int frames, const std::function<void()>& frame)
{
    typedef std::chrono::steady_clock Clock;
    std::vector<double> world, whole;
    for (int i = 0; i < frames; ++i) {
        const Clock::time_point start = Clock::now();
        frame();
        const Clock::time_point drawn = Clock::now();
        glFinish();
        const Clock::time_point end = Clock::now();
        world.push_back(std::chrono::duration<double, std::milli>(drawn - start).count());
        whole.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    double worldSum = 0, wholeSum = 0;
    for (int i = 0; i < frames; ++i)
        worldSum += world[i], wholeSum += whole[i];
    std::vector<double> sorted = whole;
    std::sort(sorted.begin(), sorted.end());
    return Figures{ Median(world), worldSum / frames, Median(whole), wholeSum / frames,
                    sorted[sorted.size() * 99 / 100] };
}

void Report(const char* what, const Figures& f)
{
    std::printf("%-28s world median %6.3f mean %6.3f ms | rendered frame median %7.3f mean %7.3f p99 %7.3f ms\n",
                what, f.worldMedian, f.worldMean, f.frameMedian, f.frameMean, f.frameP99);
}

} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    const std::string folder = argc > 2 ? argv[2] : VESK_SOURCE_DIR;
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (chdir(folder.c_str()) != 0) {
        std::cerr << "cannot enter " << folder << '\n';
        return 1;
    }

    CEngineSettings settings = CEngineSettings::DefaultSettings();
    if (!std::ifstream(settings.m_IconFile).good())
        settings.m_IconFile.clear();
    CGameEngine* engine = CGameEngine::GetInstance();
    if (!engine->Init(settings)) {
        std::cerr << "cannot start: " << engine->GetInitError() << '\n';
        return 1;
    }
    std::printf("data from %s, font %s, %d frames each\n", folder.c_str(),
                CFontManager::GetInstance()->GetFont(0) ? "loaded" : "missing", frames);

    CGameWorld world(engine);
    world.Reset();
    auto frame = [&] {
        world.Update(16);
        world.Draw();
    };

    Report("menu", Measure(frames, frame));

    world.StartGame(1, 6);
    world.SetState(FullBoard());
    world.OnMouseMove(130, 768 - 130);   // the pass button lit, its label shown
    Report("game, full board", Measure(frames, frame));

    // Gold drags onto a cell of Silver: both stocks are worked out every frame.
    const CVector2 cell = world.GetCellCenter(2, 2);
    world.OnMouseButton(SDL_BUTTON_LEFT, true, Uint16(cell.x), Uint16(768 - cell.y));
    world.OnMouseMove(Uint16(cell.x + 100), Uint16(768 - cell.y));
    Report("game, full board, dragging", Measure(frames, frame));

    engine->Shutdown();
    return 0;
}
