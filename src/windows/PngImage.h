#ifndef VESK_WINDOWS_PNGIMAGE_H
#define VESK_WINDOWS_PNGIMAGE_H

#include <SDL.h>

namespace windows
{

// A PNG file as SDL_image's IMG_Load gives one, for the Windows build, which
// has no SDL_image: 24-bit RGB, or 32-bit RGBA when the image has alpha,
// R, G, B (and A) bytes in that order in memory. Null when the file cannot be
// read or is not a whole PNG. Built on every platform so that it can be
// checked against SDL_image itself.
SDL_Surface* LoadPng(const char* file);

} // namespace windows

#endif
