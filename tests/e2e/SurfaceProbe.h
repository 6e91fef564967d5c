#ifndef E2E_SURFACEPROBE_H_INCLUDED
#define E2E_SURFACEPROBE_H_INCLUDED

#include "Image.h"

#include <SDL.h>
#include <cstdint>
#include <string>
#include <vector>

// Helpers for reading files back through the same SDL decoders the game uses.
namespace probe {

// The pixel at (x, y) of any SDL surface, palette or true colour, as RGBA.
gen::Rgba PixelAt(SDL_Surface* surface, int x, int y);

// A fresh, empty folder under the system's temporary folder.
std::string MakeTempDir();

// Writes bytes to `path`; false on failure.
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// Reads a whole file; empty if it cannot be read.
std::vector<uint8_t> ReadBytes(const std::string& path);

// The mono 16-bit samples of a WAV file as SDL decodes it, with its spec.
struct Wave
{
    bool loaded = false;
    SDL_AudioSpec spec{};
    std::vector<int16_t> samples;
};
Wave LoadWave(const std::string& path);

} // namespace probe

#endif
