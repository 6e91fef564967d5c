#include "DataSet.h"
#include "Art.h"
#include "Bmp.h"
#include "Png.h"
#include "Quantize.h"
#include "Sounds.h"
#include "Wav.h"

#include <filesystem>
#include <system_error>

namespace gen {

namespace {

std::vector<uint8_t> Text(const std::string& s)
{
    return std::vector<uint8_t>(s.begin(), s.end());
}

// The desktop's icon sizes; each is laid out as in the hicolor theme, so the
// folder installs as it is.
const int kIconSizes[] = { 16, 24, 32, 48, 64, 128, 256 };

std::string IconPath(int size)
{
    const std::string side = std::to_string(size);
    return "packaging/icons/" + side + "x" + side + "/apps/vesk.png";
}

} // namespace

std::vector<std::string> GeneratedFiles()
{
    std::vector<std::string> files = {
        "Vesk.bmp",
        "Data/sprites.dat", "Data/silver.png", "Data/gold.png", "Data/background.png",
        "Data/sounds.dat", "Data/tick.wav", "Data/clack.wav", "Data/chime.wav",
        "Data/whoosh.wav" };
    for (int size : kIconSizes)
        files.push_back(IconPath(size));
    return files;
}

bool GenerateAll(const std::string& root, std::string& failed)
{
    const std::string base = root.empty() ? std::string(".") : root;

    // The lists name files with the Windows separator, as the game expects.
    // Silver's token comes before Gold's: equal sizes keep the list's order,
    // and the sprite ids follow size, so Silver is 0, Gold 1, backdrop 2.
    const std::string sprites = "Data\\silver.png\nData\\gold.png\nData\\background.png\n";
    // Sound ids are line numbers: hover tick, placement, game over, pass.
    const std::string sounds = "Data\\tick.wav\nData\\clack.wav\nData\\chime.wav\nData\\whoosh.wav\n";

    const Rgba key = { 255, 0, 255, 255 };
    struct Item { std::string path; std::vector<uint8_t> bytes; };
    std::vector<Item> items = {
        { "Vesk.bmp", EncodePaletteBmp(QuantizeWithKey(PaintIcon(32), key)) },
        { "Data/sprites.dat", Text(sprites) },
        { "Data/silver.png", EncodePng(PaintToken(METAL_SILVER, TOKEN_SIZE, TOKEN_RADIUS), true) },
        { "Data/gold.png", EncodePng(PaintToken(METAL_GOLD, TOKEN_SIZE, TOKEN_RADIUS), true) },
        { "Data/background.png", EncodePng(PaintBackground(), false) },
        { "Data/sounds.dat", Text(sounds) },
        { "Data/tick.wav", EncodeWav(MakeTick()) },
        { "Data/clack.wav", EncodeWav(MakeClack()) },
        { "Data/chime.wav", EncodeWav(MakeChime()) },
        { "Data/whoosh.wav", EncodeWav(MakeWhoosh()) },
    };
    for (int size : kIconSizes)
        items.push_back({ IconPath(size), EncodePng(PaintIcon(size), true) });
    for (const Item& item : items)
    {
        const std::filesystem::path path = base + "/" + item.path;
        std::error_code ignored;
        std::filesystem::create_directories(path.parent_path(), ignored);
        if (!WriteFile(path.string(), item.bytes))
        {
            failed = path.string();
            return false;
        }
    }
    return true;
}

} // namespace gen
