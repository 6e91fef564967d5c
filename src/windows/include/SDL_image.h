#ifndef VESK_WINDOWS_SDL_IMAGE_H
#define VESK_WINDOWS_SDL_IMAGE_H

// The one call of SDL_image that the game makes, for the Windows build:
// SDL_image is not among the sources this build is made from, so IMG_Load
// comes from the game's own PNG loader (windows/PngImage.h).

#include <SDL.h>

SDL_Surface* IMG_Load(const char* file);

#endif
