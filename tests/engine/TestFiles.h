#ifndef VESK_TESTS_ENGINE_TESTFILES_H
#define VESK_TESTS_ENGINE_TESTFILES_H

// Files the engine tests make for themselves: icons, images, samples, and a
// scratch folder that disappears with the test.

#include <SDL.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace testfiles {

// A fresh folder under /tmp, removed with everything in it when the object dies.
class TempDir
{
public:
    TempDir()
    {
        char name[] = "/tmp/vesk-engine-XXXXXX";
        if (mkdtemp(name) != nullptr)
            m_Path = name;
    }
    ~TempDir()
    {
        if (!m_Path.empty())
            std::system(("rm -rf '" + m_Path + "'").c_str());
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    bool IsValid() const { return !m_Path.empty(); }
    const std::string& Path() const { return m_Path; }
    std::string File(const std::string& name) const { return m_Path + "/" + name; }

private:
    std::string m_Path;
};

inline bool WriteText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// An 8-bit palette BMP. The top-left pixel uses topLeftIndex, and so do the
// top-right pixel and one in the bottom row, so a transparent colour picked
// from anywhere else shows up; the rest is spread over indices 1 to 5.
inline bool WritePaletteIcon(const std::string& path, int width, int height, Uint8 topLeftIndex)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 8, 0, 0, 0, 0);
    if (s == nullptr)
        return false;
    SDL_Color colors[16];
    for (int i = 0; i < 16; ++i)
        colors[i] = SDL_Color{Uint8(i * 16), Uint8(255 - i * 16), Uint8(i * 8), 0};
    SDL_SetColors(s, colors, 0, 16);
    Uint8* pixels = static_cast<Uint8*>(s->pixels);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[y * s->pitch + x] = Uint8(1 + (x + y) % 5);   // indices 1..5
    pixels[0] = topLeftIndex;
    pixels[width - 1] = topLeftIndex;
    pixels[(height - 1) * s->pitch + width / 2] = topLeftIndex;
    const bool ok = SDL_SaveBMP(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

// A true-colour BMP: no palette.
inline bool WriteTrueColorBmp(const std::string& path, int width, int height)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24,
                                          0x0000FF, 0x00FF00, 0xFF0000, 0);
    if (s == nullptr)
        return false;
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 200, 40, 10));
    const bool ok = SDL_SaveBMP(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

// A short mono 16-bit PCM WAV: a quiet square wave.
inline bool WriteWav(const std::string& path, unsigned frames)
{
    const uint32_t rate = 22050;
    const uint32_t dataBytes = frames * 2;
    std::vector<unsigned char> b;
    auto u32 = [&b](uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF); };
    auto u16 = [&b](uint16_t v) { b.push_back(v & 0xFF); b.push_back(v >> 8); };
    auto tag = [&b](const char* t) { b.insert(b.end(), t, t + 4); };
    tag("RIFF"); u32(36 + dataBytes); tag("WAVE");
    tag("fmt "); u32(16); u16(1); u16(1); u32(rate); u32(rate * 2); u16(2); u16(16);
    tag("data"); u32(dataBytes);
    for (unsigned i = 0; i < frames; ++i)
        u16((i / 50) % 2 ? 0x0800 : 0xF800);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    return static_cast<bool>(out);
}

} // namespace testfiles

#endif
