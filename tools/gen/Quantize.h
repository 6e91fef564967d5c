#ifndef GEN_QUANTIZE_H_INCLUDED
#define GEN_QUANTIZE_H_INCLUDED

#include "Bmp.h"

namespace gen {

// Turns a picture into palette indices for a colour-keyed icon: index 0 is
// `key` and marks every pixel whose alpha is below half; the opaque pixels
// share at most 255 other colours, chosen by median cut so that smooth
// metal gradients keep their steps small. No opaque pixel gets index 0,
// even when its colour happens to equal the key.
IndexedImage QuantizeWithKey(const Image& image, Rgba key);

} // namespace gen

#endif
