#include "Files.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <png.h>

namespace gen {

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}

bool WritePng(const std::string& path, const Image& image, bool withAlpha)
{
    std::vector<uint8_t> bytes;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const Rgba& p = image.at(x, y);
            bytes.insert(bytes.end(), { p.r, p.g, p.b });
            if (withAlpha)
                bytes.push_back(p.a);
        }
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(image.width());
    png.height = png_uint_32(image.height());
    png.format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    // 8-bit sRGB rows are stored as given, so transparent pixels keep their colour.
    return png_image_write_to_file(&png, path.c_str(), 0, bytes.data(), 0, nullptr) != 0;
}

namespace {

// The palette index of an opaque colour, added when new; never the key's.
Uint8 IndexOf(std::vector<SDL_Color>& palette, const Rgba& c)
{
    auto same = [&](const SDL_Color& p) { return p.r == c.r && p.g == c.g && p.b == c.b; };
    auto it = std::find_if(palette.begin() + 1, palette.end(), same);
    if (it == palette.end())
        it = palette.insert(it, SDL_Color{ c.r, c.g, c.b, 0 });
    assert(palette.size() <= 256);   // else the icon needs fewer colours
    return Uint8(it - palette.begin());
}

} // namespace

bool WriteKeyedBmp(const std::string& path, const Image& image, Rgba key)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, image.width(), image.height(), 8, 0, 0, 0, 0);
    if (!s)
        return false;
    std::vector<SDL_Color> palette = { SDL_Color{ key.r, key.g, key.b, 0 } };
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const Rgba& c = image.at(x, y);
            static_cast<Uint8*>(s->pixels)[y * s->pitch + x] = c.a < 128 ? 0 : IndexOf(palette, c);
        }
    SDL_SetColors(s, palette.data(), 0, int(palette.size()));
    const bool ok = SDL_SaveBMP(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

} // namespace gen
