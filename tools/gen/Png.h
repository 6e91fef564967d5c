#ifndef GEN_PNG_H_INCLUDED
#define GEN_PNG_H_INCLUDED

#include "Image.h"

#include <string>
#include <vector>

namespace gen {

// Writes the picture as an 8-bit PNG through libpng: RGBA when `withAlpha`,
// else RGB (the alpha is dropped). False when the file cannot be written.
bool WritePng(const std::string& path, const Image& image, bool withAlpha);

// Writes raw bytes to a file; false on any failure.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace gen

#endif
