#ifndef GEN_FILES_H_INCLUDED
#define GEN_FILES_H_INCLUDED

#include "Image.h"

#include <string>
#include <vector>

namespace gen {

// Each writer returns false when the file cannot be written.

// Raw bytes.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

// An 8-bit PNG through libpng: RGBA when `withAlpha`, else RGB (the alpha is
// dropped).
bool WritePng(const std::string& path, const Image& image, bool withAlpha);

// An 8-bit palette BMP through SDL, for a colour-keyed icon: index 0 is `key`
// and marks every pixel less than half opaque; each other pixel keeps its
// exact colour, which a small icon's few hundred pixels leave room for.
bool WriteKeyedBmp(const std::string& path, const Image& image, Rgba key);

} // namespace gen

#endif
