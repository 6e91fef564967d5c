#ifndef GEN_PNG_H_INCLUDED
#define GEN_PNG_H_INCLUDED

#include "Image.h"

#include <string>
#include <vector>

namespace gen {

// Encodes a picture as PNG, 8 bits per channel: RGBA when `withAlpha`,
// else RGB (the alpha is dropped). Each row takes the filter that makes it
// smallest, so flat areas compress well.
std::vector<uint8_t> EncodePng(const Image& image, bool withAlpha);

// Writes the encoded picture; false when the file cannot be written.
bool WritePng(const std::string& path, const Image& image, bool withAlpha);

// Writes raw bytes to a file; false on any failure.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace gen

#endif
