#include "windows/PngImage.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace windows
{

SDL_Surface* LoadPng(const char* file)
{
    SDL_RWops* stream = SDL_RWFromFile(file, "rb");
    if (!stream)
        return nullptr;
    std::vector<unsigned char> bytes;
    const int size = SDL_RWseek(stream, 0, RW_SEEK_END);
    if (size > 0 && SDL_RWseek(stream, 0, RW_SEEK_SET) == 0) {
        bytes.resize(size_t(size));
        if (SDL_RWread(stream, bytes.data(), 1, size) != size)
            bytes.clear();
    }
    SDL_RWclose(stream);

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (bytes.empty() || !png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return nullptr;
    const bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    // SDL_image's masks: the bytes in memory are R, G, B (, A) on either byte order.
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
    const Uint32 red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000, opaque = alpha ? 0xFF000000 : 0;
#else
    const Uint32 red = alpha ? 0xFF000000 : 0xFF0000, green = alpha ? 0xFF0000 : 0x00FF00,
                 blue = alpha ? 0xFF00 : 0x0000FF, opaque = alpha ? 0xFF : 0;
#endif
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, int(image.width), int(image.height), alpha ? 32 : 24,
                                                red, green, blue, opaque);
    if (!surface) {
        png_image_free(&image);
        return nullptr;
    }
    // The surface's own row length: libpng refuses one too short for the width, so an
    // image wider than SDL 1.2's 16-bit row length can hold gives no surface.
    if (!png_image_finish_read(&image, nullptr, surface->pixels, surface->pitch, nullptr)) {
        png_image_free(&image);
        SDL_FreeSurface(surface);
        return nullptr;
    }
    return surface;
}

} // namespace windows
