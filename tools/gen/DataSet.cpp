#include "DataSet.h"
#include "Art.h"
#include "Sounds.h"

#include <SDL.h>
#include <algorithm>
#include <cassert>
#include <filesystem>
#include <fstream>
#include <functional>
#include <png.h>
#include <system_error>

namespace gen {

namespace {

// Each writer returns false when the file cannot be written.

bool WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream f(path, std::ios::binary);
    f << bytes;
    f.close();
    return !f.fail();
}

// An 8-bit PNG through libpng: RGBA when `withAlpha`, else RGB (the alpha is dropped).
bool WritePng(const std::string& path, const Image& image, bool withAlpha)
{
    std::vector<uint8_t> bytes;
    for (const Rgba& p : image.pixels) {
        bytes.insert(bytes.end(), { p.r, p.g, p.b });
        if (withAlpha)
            bytes.push_back(p.a);
    }
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(image.width);
    png.height = png_uint_32(image.height);
    png.format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    // 8-bit sRGB rows are stored as given, so transparent pixels keep their colour.
    return png_image_write_to_file(&png, path.c_str(), 0, bytes.data(), 0, nullptr) != 0;
}

// An 8-bit palette BMP through SDL, for a colour-keyed icon: index 0 is `key`
// and marks every pixel less than half opaque; each other pixel keeps its
// exact colour, which a small icon's few hundred pixels leave room for.
bool WriteKeyedBmp(const std::string& path, const Image& image, Rgba key)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, image.width, image.height, 8, 0, 0, 0, 0);
    if (!s)
        return false;
    std::vector<SDL_Color> palette = { { key.r, key.g, key.b, 0 } };
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const Rgba& c = image.pixels[i];
        auto same = [&](const SDL_Color& p) { return p.r == c.r && p.g == c.g && p.b == c.b; };
        auto it = c.a < 128 ? palette.begin() : std::find_if(palette.begin() + 1, palette.end(), same);
        if (it == palette.end())
            it = palette.insert(it, { c.r, c.g, c.b, 0 });
        const size_t y = i / size_t(image.width), x = i % size_t(image.width);
        static_cast<Uint8*>(s->pixels)[y * size_t(s->pitch) + x] = Uint8(it - palette.begin());
    }
    assert(palette.size() <= 256);   // else the icon needs fewer colours
    SDL_SetColors(s, palette.data(), 0, int(palette.size()));
    const bool ok = SDL_SaveBMP(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

// A generated file: its path from the root, and what writes it there.
struct Output { std::string path; std::function<bool(const std::string& to)> write; };

std::vector<Output> Outputs()
{
    // The lists name files with the Windows separator, as the game expects.
    // Silver's token comes before Gold's: equal sizes keep the list's order,
    // and the sprite ids follow size, so Silver is 0, Gold 1, backdrop 2.
    const std::string sprites = "Data\\silver.png\nData\\gold.png\nData\\background.png\n";
    // Sound ids are line numbers: hover tick, placement, game over, pass.
    const std::string sounds = "Data\\tick.wav\nData\\clack.wav\nData\\chime.wav\nData\\whoosh.wav\n";
    std::vector<Output> out = {
        { "Vesk.bmp", [](auto& to) { return WriteKeyedBmp(to, PaintIcon(32), { 255, 0, 255, 255 }); } },
        { "Data/sprites.dat", [=](auto& to) { return WriteFile(to, sprites); } },
        { "Data/silver.png", [](auto& to) { return WritePng(to, PaintToken(METAL_SILVER), true); } },
        { "Data/gold.png", [](auto& to) { return WritePng(to, PaintToken(METAL_GOLD), true); } },
        { "Data/background.png", [](auto& to) { return WritePng(to, PaintBackground(), false); } },
        { "Data/sounds.dat", [=](auto& to) { return WriteFile(to, sounds); } },
        { "Data/tick.wav", [](auto& to) { return WriteFile(to, EncodeWav(MakeTick())); } },
        { "Data/clack.wav", [](auto& to) { return WriteFile(to, EncodeWav(MakeClack())); } },
        { "Data/chime.wav", [](auto& to) { return WriteFile(to, EncodeWav(MakeChime())); } },
        { "Data/whoosh.wav", [](auto& to) { return WriteFile(to, EncodeWav(MakeWhoosh())); } },
    };
    // The desktop's icon sizes, each laid out as in the hicolor theme, so the folder installs as it is.
    for (int size : { 16, 24, 32, 48, 64, 128, 256 }) {
        const std::string side = std::to_string(size);
        out.push_back({ "packaging/icons/" + side + "x" + side + "/apps/vesk.png",
                        [size](auto& to) { return WritePng(to, PaintIcon(size), true); } });
    }
    // The web app's icons (the page's manifest names them): the two sizes browsers ask for, and
    // one that a phone's launcher may cut to its own shape.
    for (int size : { 192, 512 }) {
        out.push_back({ "packaging/web/vesk-" + std::to_string(size) + ".png",
                        [size](auto& to) { return WritePng(to, PaintIcon(size), true); } });
    }
    out.push_back({ "packaging/web/vesk-maskable-512.png",
                    [](auto& to) { return WritePng(to, PaintMaskableIcon(512), false); } });
    return out;
}

} // namespace

std::vector<std::string> GeneratedFiles()
{
    std::vector<std::string> files;
    for (const Output& o : Outputs())
        files.push_back(o.path);
    return files;
}

bool GenerateAll(const std::string& root, std::string& failed)
{
    for (const Output& o : Outputs()) {
        const std::filesystem::path path = (root.empty() ? "." : root) + "/" + o.path;
        std::error_code ignored;
        std::filesystem::create_directories(path.parent_path(), ignored);
        if (!o.write(path.string())) {
            failed = path.string();
            return false;
        }
    }
    return true;
}

} // namespace gen
