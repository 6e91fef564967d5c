#ifndef VESK_ENGINE_WINDOW_H
#define VESK_ENGINE_WINDOW_H

#include "engine/CEngineSettings.h"
#include <SDL.h>

// SDL_HWSURFACE | SDL_OPENGLBLIT, with SDL_FULLSCREEN when the settings ask.
Uint32 WindowFlags(const CEngineSettings& settings);

// Opens the game's double-buffered OpenGL window (full screen if the
// settings ask) once SDL's video is running. Null on failure, with
// SDL_GetError telling why. Kept apart from the engine so that a bare
// window can be timed against the game's start-up with the same set-up.
SDL_Surface* OpenWindow(const CEngineSettings& settings);

#endif
