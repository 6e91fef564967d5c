// Preloaded (LD_PRELOAD) into the program being timed by vesk-startup-bench:
// the first buffer swap prints "swapped" and asks the program to quit, so
// the real program is timed to its first frame and then ends as usual.
#include <SDL.h>
#include <GL/gl.h>
#include <dlfcn.h>
#include <cstdio>

extern "C" void SDL_GL_SwapBuffers(void)
{
    typedef void (*Swap)(void);
    static const Swap real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
    static bool swapped = false;
    real();
    if (swapped)
        return;
    swapped = true;
    glFinish();
    std::printf("swapped\n");
    std::fflush(stdout);
    SDL_Event quit;
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}
