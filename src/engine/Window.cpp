#include "engine/Window.h"

#include "browser/Browser.h"

Uint32 WindowFlags(const CEngineSettings& settings)
{
    return SDL_HWSURFACE | browser::kOpenGlWindow | (settings.m_Fullscreen ? SDL_FULLSCREEN : 0);
}

SDL_Surface* OpenWindow(const CEngineSettings& settings)
{
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 32);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_BUFFER_SIZE, 32);
    return browser::CheckWindow(SDL_SetVideoMode(settings.m_Width, settings.m_Height,
                                                 settings.m_BitsPerPixel, WindowFlags(settings)));
}
