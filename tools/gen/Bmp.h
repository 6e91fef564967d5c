#ifndef GEN_BMP_H_INCLUDED
#define GEN_BMP_H_INCLUDED

#include "Image.h"

#include <vector>

namespace gen {

// A picture of palette indices, rows from the top.
struct IndexedImage
{
    int width = 0;
    int height = 0;
    std::vector<uint8_t> indices;   // width * height, row after row
    std::vector<Rgba> palette;      // at most 256 colours; alpha is ignored
};

// Encodes an 8-bit palette BMP (BITMAPINFOHEADER, uncompressed, rows stored
// bottom-up and padded to four bytes, as the format requires).
std::vector<uint8_t> EncodePaletteBmp(const IndexedImage& image);

} // namespace gen

#endif
