// The texture font against FreeType's own rendering: DrawString caught in feedback mode, the atlas read back.
#include "support/Feedback.h"
#include "text/CFontManager.h"
#include "text/CTextureFont.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

const char* const kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";   // fonts-dejavu-core
const float kSize = 16.0f;   // where "-", "_" and the macron are one row high

// What a string draws from the pen's start: its vertices' and texture coordinates' bounds, each corner's own texel.
struct Drawn { float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f, s0 = 1e9f, t0 = 1e9f, s1 = -1e9f, t1 = -1e9f; bool matched = true; };

Drawn Draw(const CTextureFont& font, const std::string& text)
{
    glLoadIdentity(), glTranslatef(100, 300, 0);
    FeedbackPrimitive all;
    for (const FeedbackPrimitive& p : CaptureFeedback([&] { font.DrawString(text.c_str()); }))
        all.insert(all.end(), p.begin(), p.end());
    Drawn d;
    for (FeedbackVertex& v : all) {
        v.x = std::round(v.x - 100), v.y = std::round(v.y - 300);
        d.x0 = std::min(d.x0, v.x), d.x1 = std::max(d.x1, v.x), d.y0 = std::min(d.y0, v.y), d.y1 = std::max(d.y1, v.y);
        d.s0 = std::min(d.s0, v.s), d.s1 = std::max(d.s1, v.s), d.t0 = std::min(d.t0, v.t), d.t1 = std::max(d.t1, v.t);
    }
    for (const FeedbackVertex& v : all)
        d.matched = d.matched && (v.x == d.x0) == (v.s == d.s0) && (v.y == d.y0) == (v.t == d.t0);
    return d;
}

// A pixel of FreeType's bitmap as the texture holds it: grey as it is, one bit as 0 or 255.
int Texel(const FT_Bitmap& b, int row, int i)
{
    const unsigned char* r = b.buffer + row * b.pitch;
    return b.pixel_mode == FT_PIXEL_MODE_MONO ? (r[i / 8] >> (7 - i % 8) & 1) * 255 : r[i];
}

// Every byte's glyph sits in the atlas bottom row first, exactly as FreeType draws it, where its quad says, never in
// row or column 0, the column right and row above it free; the pen moves by whole pixels; a byte without a glyph
// draws and moves nothing. In an outline font and a bitmap font of one bit per pixel.
class TextureFont : public ::testing::TestWithParam<std::pair<const char*, float>> {};

TEST_P(TextureFont, every_byte_draws_freetypes_bitmap_upside_down)
{
    const auto [path, size] = GetParam();
    ASSERT_TRUE(OpenGlWindow()) << SDL_GetError();
    FT_Library library = nullptr;
    FT_Face reference = nullptr;
    ASSERT_TRUE(!FT_Init_FreeType(&library) && !FT_New_Face(library, path, 0, &reference) &&
                !FT_Set_Char_Size(reference, 0, FT_F26Dot6(size * 64), 72, 0)) << "the text tests need fonts-dejavu-core";
    const CTextureFont font(path, size, &library);
    ASSERT_TRUE(font.IsLoaded());
    EXPECT_FALSE(CTextureFont(nullptr, size, &library).IsLoaded() || CTextureFont(path, size, nullptr).IsLoaded());   // no crash
    CFontManager& fonts = *CFontManager::GetInstance();   // ids count the fonts that loaded
    fonts.Init();
    const CTextureFont *first = fonts.LoadFont(path, size), *none = fonts.LoadFont("/nonexistent", size), *second = fonts.LoadFont(path, size);
    EXPECT_TRUE(first && !none && !fonts.LoadFont(path, -1) && !fonts.LoadFont(path, NAN) && second != first &&
                fonts.GetFont(0) == first && fonts.GetFont(1) == second && !fonts.GetFont(2));
    fonts.Shutdown();
    EXPECT_EQ(fonts.GetFont(0), nullptr);
    font.DrawString("");   // binds the font's texture
    int side = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &side);
    std::vector<unsigned char> atlas(size_t(side) * side);
    glPixelStorei(GL_PACK_ALIGNMENT, 1), glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, atlas.data());

    for (int c = 1; c < 256; ++c) {
        SCOPED_TRACE(c);
        const Drawn q = Draw(font, std::string(1, char(c))), twice = Draw(font, std::string(2, char(c)));
        if (FT_Get_Char_Index(reference, FT_ULong(c)) == 0) {
            EXPECT_TRUE(q.x0 == 0 && q.x1 == 0 && q.y0 == 0 && q.y1 == 0 && twice.x1 == 0);
            continue;
        }
        ASSERT_EQ(FT_Load_Char(reference, FT_ULong(c), FT_LOAD_RENDER), 0);
        const FT_Bitmap& bitmap = reference->glyph->bitmap;
        const int width = int(bitmap.width), rows = int(bitmap.rows);
        EXPECT_TRUE(q.x0 == reference->glyph->bitmap_left && q.y1 == reference->glyph->bitmap_top && q.x1 - q.x0 == width &&
                    q.y1 - q.y0 == rows && q.matched && twice.x1 - q.x1 == reference->glyph->advance.x >> 6);
        if (width == 0 || rows == 0) continue;
        const int x = int(std::lround(q.s0 * side)), y = int(std::lround(q.t0 * side));
        EXPECT_TRUE(q.s0 == float(x) / side && q.s1 == float(x + width) / side && q.t1 == float(y + rows) / side);
        ASSERT_TRUE(x >= 1 && y >= 1 && x + width < side && y + rows < side);
        int wrong = 0, gap = 0;
        auto at = [&](int i, int j) { return atlas[size_t(y + j) * side + x + i]; };
        for (int j = 0; j <= rows; ++j)
            for (int i = 0; i <= width; ++i)
                if (i == width || j == rows)
                    gap += at(i, j);
                else wrong += at(i, j) != Texel(bitmap, rows - 1 - j, i);
        EXPECT_EQ(std::make_pair(wrong, gap), std::make_pair(0, 0)) << "texels unlike FreeType's, flipped; the gap right and above";
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, TextureFont, ::testing::Values(std::pair{kDejaVu, kSize}, std::pair{kDejaVu, 7.0f},
    std::pair{VESK_SOURCE_DIR "/fuzz/corpus/fuzz_font/bitmap_40px.bdf", 40.0f}));

} // namespace
