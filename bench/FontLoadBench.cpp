// Font loading time in the game's own window, for tuning start-up:
//   vesk-font-bench FONT [SIZE] [REPEATS]      (defaults: 40, 9)
// Run it under a display, e.g. xvfb-run -a -s "-screen 0 1024x768x24".
#include "engine/Window.h"
#include "text/CFontManager.h"
#include "text/CTextureFont.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FONT [SIZE] [REPEATS]\n", argv[0]);
        return 2;
    }
    const float size = argc > 2 ? float(std::atof(argv[2])) : 40.0f;
    const int repeats = std::max(1, argc > 3 ? std::atoi(argv[3]) : 9);
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !OpenWindow(CEngineSettings::DefaultSettings())) {
        std::fprintf(stderr, "no OpenGL window: %s\n", SDL_GetError());
        return 1;
    }
    using Clock = std::chrono::steady_clock;
    CFontManager* fonts = CFontManager::GetInstance();
    std::vector<double> ms;
    GLint side = 0;
    for (int i = 0; i < repeats; ++i) {
        fonts->Init();
        const Clock::time_point t0 = Clock::now();
        CTextureFont* font = fonts->LoadFont(argv[1], size);
        glFinish();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        if (!font) {
            std::fprintf(stderr, "font did not load: %s\n", argv[1]);
            return 1;
        }
        font->DrawString("");   // binds the font's texture, so its side can be read
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &side);
        fonts->Shutdown();
    }
    std::sort(ms.begin(), ms.end());
    std::printf("font load median %.1f ms, best %.1f ms over %d; texture side %d\n", ms[ms.size() / 2], ms[0],
                repeats, int(side));
    SDL_Quit();
    return 0;
}
