// The floor for start-up time: a bare program that opens the game's OpenGL
// window with the engine's own set-up, clears it and swaps once.
#include "engine/Window.h"

#include <GL/gl.h>
#include <cstdio>

int main(int, char*[])
{
    if (SDL_Init(SDL_INIT_VIDEO) < 0 || !OpenWindow(CEngineSettings::DefaultSettings()))
    {
        std::fprintf(stderr, "vesk-startup-floor: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapBuffers();
    SDL_Quit();
    return 0;
}
