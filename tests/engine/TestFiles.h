#ifndef VESK_TESTS_ENGINE_TESTFILES_H
#define VESK_TESTS_ENGINE_TESTFILES_H

// A scratch folder that disappears with the test, and icons to put in it.

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
        if (!path.empty() && std::system(("rm -rf '" + path + "'").c_str()) != 0) {}
    }
    std::string File(const std::string& name) const { return path + "/" + name; }
};

inline std::string ReadText(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// A BMP icon, 8 bits with a palette or 24 without; top-left palette index `key`.
inline bool WriteIcon(const std::string& path, int width, int height, bool palette, Uint8 key = 0)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, palette ? 8 : 24, 0, 0, 0, 0);
    if (s == nullptr)
        return false;
    if (palette)
        for (int i = 0; i < height * s->pitch; ++i)
            static_cast<Uint8*>(s->pixels)[i] = i == 0 ? key : Uint8(1 + i % 5);
    const bool ok = SDL_SaveBMP(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

} // namespace testfiles

#endif
