#ifndef VESK_TESTS_ENGINE_TESTFILES_H
#define VESK_TESTS_ENGINE_TESTFILES_H

// Files the engine tests make for themselves, in a scratch folder that
// disappears with the test.

#include <SDL.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace testfiles {

struct TempDir
{
    std::string path;
    TempDir()
    {
        char name[] = "/tmp/vesk-engine-XXXXXX";
        if (mkdtemp(name) != nullptr)
            path = name;
    }
    ~TempDir()
    {
        if (!path.empty())
            std::system(("rm -rf '" + path + "'").c_str());
    }
    std::string File(const std::string& name) const { return path + "/" + name; }
};

inline bool WriteText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    return static_cast<bool>(out << text);
}

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A BMP icon: 8 bits with a palette, or 24 bits without. The top-left pixel
// has index `key`, and so do the top-right one and one in the bottom row;
// every other pixel uses one of the indices 1 to 5.
inline bool WriteIcon(const std::string& path, int width, int height, bool palette, Uint8 key = 0)
{
    SDL_Surface* s = palette ? SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 8, 0, 0, 0, 0)
                             : SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24,
                                                    0x0000FF, 0x00FF00, 0xFF0000, 0);
    if (s == nullptr)
        return false;
    Uint8* pixels = static_cast<Uint8*>(s->pixels);
    if (palette)
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels[y * s->pitch + x] = Uint8(1 + (x + y) % 5);
        pixels[0] = pixels[width - 1] = pixels[(height - 1) * s->pitch + width / 2] = key;
    }
    const bool ok = SDL_SaveBMP(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

} // namespace testfiles

#endif
