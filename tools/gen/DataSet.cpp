#include "DataSet.h"
#include "Art.h"
#include "Files.h"
#include "Sounds.h"

#include <filesystem>
#include <functional>
#include <system_error>

namespace gen {

namespace {

// A generated file: its path from the root, and what writes it there.
struct Output
{
    std::string path;
    std::function<bool(const std::string& to)> write;
};

// The desktop's icon sizes; each is laid out as in the hicolor theme, so the
// folder installs as it is.
const int kIconSizes[] = { 16, 24, 32, 48, 64, 128, 256 };

std::vector<uint8_t> Text(const std::string& s)
{
    return std::vector<uint8_t>(s.begin(), s.end());
}

std::vector<Output> Outputs()
{
    // The lists name files with the Windows separator, as the game expects.
    // Silver's token comes before Gold's: equal sizes keep the list's order,
    // and the sprite ids follow size, so Silver is 0, Gold 1, backdrop 2.
    const auto sprites = Text("Data\\silver.png\nData\\gold.png\nData\\background.png\n");
    // Sound ids are line numbers: hover tick, placement, game over, pass.
    const auto sounds = Text("Data\\tick.wav\nData\\clack.wav\nData\\chime.wav\nData\\whoosh.wav\n");
    auto token = [](Metal metal) { return PaintToken(metal, TOKEN_SIZE, TOKEN_RADIUS); };
    auto wav = [](std::vector<float> (*make)()) {
        return [make](const std::string& to) { return WriteFile(to, EncodeWav(make())); };
    };

    std::vector<Output> out = {
        { "Vesk.bmp", [](auto& to) { return WriteKeyedBmp(to, PaintIcon(32), { 255, 0, 255, 255 }); } },
        { "Data/sprites.dat", [=](auto& to) { return WriteFile(to, sprites); } },
        { "Data/silver.png", [=](auto& to) { return WritePng(to, token(METAL_SILVER), true); } },
        { "Data/gold.png", [=](auto& to) { return WritePng(to, token(METAL_GOLD), true); } },
        { "Data/background.png", [](auto& to) { return WritePng(to, PaintBackground(), false); } },
        { "Data/sounds.dat", [=](auto& to) { return WriteFile(to, sounds); } },
        { "Data/tick.wav", wav(MakeTick) },
        { "Data/clack.wav", wav(MakeClack) },
        { "Data/chime.wav", wav(MakeChime) },
        { "Data/whoosh.wav", wav(MakeWhoosh) },
    };
    for (int size : kIconSizes) {
        const std::string side = std::to_string(size);
        out.push_back({ "packaging/icons/" + side + "x" + side + "/apps/vesk.png",
                        [size](auto& to) { return WritePng(to, PaintIcon(size), true); } });
    }
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
    const std::string base = root.empty() ? std::string(".") : root;
    for (const Output& o : Outputs()) {
        const std::filesystem::path path = base + "/" + o.path;
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
