// Times font loading in a real OpenGL window. Usage: font_load_timing FONT [SIZE] [REPEATS]
#include "text/CFontManager.h"
#include "text/CTextureFont.h"

#include <SDL.h>
#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FONT [SIZE] [REPEATS]\n", argv[0]);
        return 2;
    }
    const float size = argc > 2 ? float(std::atof(argv[2])) : 40.0f;
    const int repeats = argc > 3 ? std::atoi(argv[3]) : 5;
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !SDL_SetVideoMode(1024, 768, 32, SDL_OPENGL)) {
        std::fprintf(stderr, "no OpenGL window: %s\n", SDL_GetError());
        return 1;
    }
    using Clock = std::chrono::steady_clock;
    CFontManager* fonts = CFontManager::GetInstance();
    double best = 1e30, total = 0;
    GLint side = 0;
    for (int i = 0; i < repeats; ++i) {
        fonts->Init();
        const Clock::time_point t0 = Clock::now();
        CTextureFont* font = fonts->LoadFont(argv[1], size);
        glFinish();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        if (!font) {
            std::fprintf(stderr, "font did not load: %s\n", argv[1]);
            return 1;
        }
        font->DrawString("");   // binds the font's texture, so its side can be read
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &side);
        fonts->Shutdown();
        best = ms < best ? ms : best;
        total += ms;
    }
    std::printf("font load best %.1f ms, mean %.1f ms over %d; texture side %d\n", best, total / repeats, repeats, int(side));
    SDL_Quit();
    return 0;
}
