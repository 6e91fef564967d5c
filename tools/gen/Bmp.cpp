#include "Bmp.h"

#include <cassert>

namespace gen {

namespace {

void PutLE(std::vector<uint8_t>& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

} // namespace

std::vector<uint8_t> EncodePaletteBmp(const IndexedImage& image)
{
    assert(image.width > 0 && image.height > 0);
    assert(image.indices.size() == size_t(image.width) * size_t(image.height));
    assert(!image.palette.empty() && image.palette.size() <= 256);

    const uint32_t stride = (uint32_t(image.width) + 3u) & ~3u;
    const uint32_t colours = uint32_t(image.palette.size());
    const uint32_t dataOffset = 14 + 40 + 4 * colours;
    const uint32_t dataSize = stride * uint32_t(image.height);

    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    PutLE(out, dataOffset + dataSize, 4);
    PutLE(out, 0, 4);                    // reserved
    PutLE(out, dataOffset, 4);

    PutLE(out, 40, 4);                   // BITMAPINFOHEADER
    PutLE(out, uint32_t(image.width), 4);
    PutLE(out, uint32_t(image.height), 4);   // positive: bottom-up rows
    PutLE(out, 1, 2);                    // planes
    PutLE(out, 8, 2);                    // bits per pixel
    PutLE(out, 0, 4);                    // BI_RGB
    PutLE(out, dataSize, 4);
    PutLE(out, 2835, 4);                 // 72 dpi
    PutLE(out, 2835, 4);
    PutLE(out, colours, 4);
    PutLE(out, colours, 4);

    for (const Rgba& c : image.palette)
    {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }

    for (int y = image.height - 1; y >= 0; --y)
    {
        const uint8_t* row = &image.indices[size_t(y) * size_t(image.width)];
        out.insert(out.end(), row, row + image.width);
        for (uint32_t pad = uint32_t(image.width); pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

} // namespace gen
