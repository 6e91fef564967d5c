// Frame cost of the game world: Update + Draw per frame on a full board, in
// the engine's real window, with the game's data if the working folder has it.
//
//   vesk-frame-bench [frames] [data folder]
//
// Defaults: 2000 frames, the source checkout (whose Data/ holds the game's
// sprites, sounds and font). Run it under a display, e.g.
//   SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24" build/bench/vesk-frame-bench
// Each frame ends with glFinish so the figure includes the rendering itself,
// not just handing the commands over.

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

struct Figures { double mean, median, p99, worst; };

Figures Measure(int frames, const std::function<void()>& frame)
{
    std::vector<double> ms;
    ms.reserve(frames);
    for (int i = 0; i < frames; ++i) {
        const auto start = std::chrono::steady_clock::now();
        frame();
        glFinish();
        const auto end = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    double sum = 0;
    for (double v : ms)
        sum += v;
    std::sort(ms.begin(), ms.end());
    return Figures{ sum / frames, ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back() };
}

void Report(const char* what, const Figures& f)
{
    std::printf("%-28s mean %7.3f ms  median %7.3f ms  p99 %7.3f ms  worst %7.3f ms  (%.0f frames/s)\n", what,
                f.mean, f.median, f.p99, f.worst, 1000.0 / f.mean);
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
