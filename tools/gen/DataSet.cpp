#include "DataSet.h"
#include "Art.h"
#include "Bmp.h"
#include "Png.h"
#include "Quantize.h"
#include "Sounds.h"
#include "Wav.h"

#include <sys/stat.h>

namespace gen {

namespace {

std::vector<uint8_t> Text(const std::string& s)
{
    return std::vector<uint8_t>(s.begin(), s.end());
}

bool MakeDir(const std::string& path)
{
    struct stat st;
    if (stat(path.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    return mkdir(path.c_str(), 0755) == 0;
}

} // namespace

std::vector<std::string> GeneratedFiles()
{
    return { "Vesk.bmp",
             "Data/sprites.dat", "Data/silver.png", "Data/gold.png", "Data/background.png",
             "Data/sounds.dat", "Data/tick.wav", "Data/clack.wav", "Data/chime.wav",
             "Data/whoosh.wav",
             "packaging/vesk.png" };
}

bool GenerateAll(const std::string& root, std::string& failed)
{
    const std::string base = root.empty() ? std::string(".") : root;
    for (const char* dir : { "/Data", "/packaging" })
        if (!MakeDir(base + dir))
        {
            failed = base + dir;
            return false;
        }

    // The lists name files with the Windows separator, as the game expects.
    // Silver's token comes before Gold's: equal sizes keep the list's order,
    // and the sprite ids follow size, so Silver is 0, Gold 1, backdrop 2.
    const std::string sprites = "Data\\silver.png\nData\\gold.png\nData\\background.png\n";
    // Sound ids are line numbers: hover tick, placement, game over, pass.
    const std::string sounds = "Data\\tick.wav\nData\\clack.wav\nData\\chime.wav\nData\\whoosh.wav\n";

    const Rgba key = { 255, 0, 255, 255 };
    struct Item { std::string path; std::vector<uint8_t> bytes; };
    const Item items[] = {
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
        { "packaging/vesk.png", EncodePng(PaintIcon(64), true) },
    };
    for (const Item& item : items)
        if (!WriteFile(base + "/" + item.path, item.bytes))
        {
            failed = base + "/" + item.path;
            return false;
        }
    return true;
}

} // namespace gen
