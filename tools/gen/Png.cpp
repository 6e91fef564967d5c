#include "Png.h"

#include <cstdio>
#include <png.h>

namespace gen {

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

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}

} // namespace gen
