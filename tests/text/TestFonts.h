#ifndef VESK_TESTS_TEXT_TESTFONTS_H
#define VESK_TESTS_TEXT_TESTFONTS_H

// Builds tiny TrueType fonts whose glyphs are plain rectangles, so a test
// knows every glyph's bitmap to the pixel.
#include <cstdint>
#include <string>
#include <vector>

struct TestGlyph
{
    uint32_t code;              // character it is mapped from
    int16_t  x0, y0, x1, y1;    // the filled rectangle in font units; x0 == x1 for an empty glyph
    uint16_t advance;           // in font units
};

// unitsPerEm 40: at size 40 one font unit is one pixel.
std::string MakeTestFont(const std::vector<TestGlyph>& glyphs, uint16_t unitsPerEm = 40);

#endif
