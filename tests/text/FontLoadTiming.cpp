// Times font loading in a real OpenGL window, against the window alone.
// Usage: font_load_timing FONT [SIZE] [REPEATS]
#include "text/CFontManager.h"
#include "text/CTextureFont.h"

#include <SDL.h>
#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: %s FONT [SIZE] [REPEATS]\n", argv[0]);
        return 2;
    }
    const float size = argc > 2 ? float(std::atof(argv[2])) : 40.0f;
    const int repeats = argc > 3 ? std::atoi(argv[3]) : 5;

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !SDL_SetVideoMode(1024, 768, 32, SDL_OPENGL))
    {
        std::fprintf(stderr, "no OpenGL window: %s\n", SDL_GetError());
        return 1;
    }
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapBuffers();
    const double windowMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();

    CFontManager* fonts = CFontManager::GetInstance();
    // Process CPU time too: wall time swings with whatever else the machine runs.
    auto cpuMs = [] {
        timespec ts;
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
    };
    double best = 1e30;
    double total = 0;
    double bestCpu = 1e30;
    GLint side = 0;
    for (int i = 0; i < repeats; ++i)
    {
        fonts->Init();
        const Clock::time_point t0 = Clock::now();
        const double cpu0 = cpuMs();
        CTextureFont* font = fonts->LoadFont(argv[1], size);
        glFinish();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        const double cpu = cpuMs() - cpu0;
        bestCpu = cpu < bestCpu ? cpu : bestCpu;
        if (!font)
        {
            std::fprintf(stderr, "font did not load: %s\n", argv[1]);
            return 1;
        }
        // Drawing nothing binds the font's texture, so its side can be read.
        font->DrawString("");
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &side);
        fonts->Shutdown();
        best = ms < best ? ms : best;
        total += ms;
    }
    std::printf("window to first swap %.1f ms; font load best %.1f ms (CPU %.1f ms), mean %.1f ms over %d;"
                " texture side %d\n",
                windowMs, best, bestCpu, total / repeats, repeats, int(side));
    SDL_Quit();
    return 0;
}
