#include "SurfaceProbe.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace probe {

gen::Rgba PixelAt(SDL_Surface* s, int x, int y)
{
    const uint8_t* p = static_cast<const uint8_t*>(s->pixels) + y * s->pitch +
                       x * s->format->BytesPerPixel;
    Uint32 value = 0;
    switch (s->format->BytesPerPixel)
    {
    case 1: value = *p; break;
    case 2: value = *reinterpret_cast<const Uint16*>(p); break;
    case 3: value = Uint32(p[0]) | Uint32(p[1]) << 8 | Uint32(p[2]) << 16; break;
    default: value = *reinterpret_cast<const Uint32*>(p); break;
    }
    gen::Rgba c;
    SDL_GetRGBA(value, s->format, &c.r, &c.g, &c.b, &c.a);
    return c;
}

std::string MakeTempDir()
{
    const char* base = std::getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/vesk-data-XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    const char* made = mkdtemp(buf.data());
    return made ? std::string(made) : std::string();
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::vector<uint8_t> out;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return out;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.insert(out.end(), buf, buf + n);
    std::fclose(f);
    return out;
}

Wave LoadWave(const std::string& path)
{
    Wave w;
    Uint8* buf = nullptr;
    Uint32 len = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1, &w.spec, &buf, &len))
        return w;
    w.loaded = true;
    w.samples.resize(len / 2);
    std::memcpy(w.samples.data(), buf, w.samples.size() * 2);
    SDL_FreeWAV(buf);
    return w;
}

} // namespace probe
