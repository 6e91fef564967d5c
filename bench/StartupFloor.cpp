// The floor for start-up time: a bare program that opens the game's OpenGL
// window the same way and swaps once. Prints "swapped" when the swap is done.

#include <SDL.h>
#include <GL/gl.h>
#include <cstdio>

int main(int, char*[])
{
    if (SDL_Init(SDL_INIT_VIDEO) < 0)
    {
        std::fprintf(stderr, "vesk-startup-floor: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 32);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_BUFFER_SIZE, 32);
    if (SDL_SetVideoMode(1024, 768, 32, SDL_HWSURFACE | SDL_OPENGLBLIT) == nullptr)
    {
        std::fprintf(stderr, "vesk-startup-floor: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapBuffers();
    glFinish();
    std::printf("swapped\n");
    std::fflush(stdout);
    SDL_Quit();
    return 0;
}
