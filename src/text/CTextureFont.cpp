#include "text/CTextureFont.h"

#include "graphics/CRectPacker.h"
#include "graphics/Rect.h"

#include FT_BITMAP_H
#include <GL/gl.h>

#include <cassert>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace
{

// Codes at or above this have no record.
const FT_ULong kNumCodes = 65536;

// A glyph's place in the atlas; the packer reads and writes the Rect part.
struct GlyphRect : Rect
{
    uint32_t code;
};

// What rendering taught us of one glyph. Its coverage is kept (top row
// first, `w` bytes a row) so the atlas is filled without rendering again.
struct RenderedGlyph
{
    int32_t left;
    int32_t top;
    int32_t advanceX;
    int32_t advanceY;
    size_t  offset;     // into the shared coverage store
};

// A bitmap row, counted from the top, whatever the sign of the pitch.
const unsigned char* BitmapRow(const FT_Bitmap& bitmap, unsigned row)
{
    const long pitch = bitmap.pitch;
    if (pitch >= 0)
        return bitmap.buffer + row * pitch;
    return bitmap.buffer + (bitmap.rows - 1 - row) * -pitch;
}

// Appends the slot's bitmap to `store` as 8-bit coverage, 0 to 255. Outline
// glyphs render to 8-bit grey already; embedded bitmaps may come in other
// depths, which are widened so a row never reads past its bytes.
bool AppendCoverage(FT_Library library, const FT_Bitmap& bitmap, std::vector<unsigned char>& store)
{
    const size_t width = bitmap.width;
    const size_t rows = bitmap.rows;
    if (width == 0 || rows == 0)
        return true;
    if (!bitmap.buffer)
        return false;

    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.num_grays == 256)
    {
        const size_t start = store.size();
        store.resize(start + width * rows);
        for (size_t j = 0; j < rows; ++j)
            std::memcpy(&store[start + j * width], BitmapRow(bitmap, j), width);
        return true;
    }

    FT_Bitmap grey;
    FT_Bitmap_Init(&grey);
    bool ok = FT_Bitmap_Convert(library, &bitmap, &grey, 1) == 0 && grey.num_grays >= 2 &&
              grey.width == bitmap.width && grey.rows == bitmap.rows && grey.buffer;
    if (ok)
    {
        const unsigned maxGrey = grey.num_grays - 1;
        const size_t start = store.size();
        store.resize(start + width * rows);
        for (size_t j = 0; j < rows; ++j)
        {
            const unsigned char* src = BitmapRow(grey, j);
            for (size_t i = 0; i < width; ++i)
                store[start + j * width + i] = static_cast<unsigned char>(src[i] * 255u / maxGrey);
        }
    }
    FT_Bitmap_Done(library, &grey);
    return ok;
}

// The packer leaves a rectangle it could not place where it was; ours
// start at (-1, -1), so that and anything outside the texture means "left out".
bool IsPlaced(const GlyphRect& r, int32_t side)
{
    return r.x >= 0 && r.y >= 0 && int64_t(r.x) + r.w <= side && int64_t(r.y) + r.h <= side;
}

} // namespace

CTextureFont::CTextureFont(const char* path, float size, FT_Library* library)
    : m_texSize(0), m_texId(0), m_face(nullptr)
{
    std::memset(m_glyphs, 0, sizeof(m_glyphs));
    if (!path || !library || !*library)
        return;
    try
    {
        Build(path, size, *library);
    }
    catch (...)
    {
        // Only memory exhaustion gets here; free what was built before it leaves.
        if (m_texId)
            glDeleteTextures(1, &m_texId);
        if (m_face)
            FT_Done_Face(m_face);
        throw;
    }
}

CTextureFont::~CTextureFont()
{
    if (m_texId)
        glDeleteTextures(1, &m_texId);
    if (m_face)
        FT_Done_Face(m_face);
}

void CTextureFont::Build(const char* path, float size, FT_Library library)
{
    if (FT_New_Face(library, path, 0, &m_face) != 0)
    {
        m_face = nullptr;
        return;
    }

    // 26.6 fixed point, fraction cut towards zero; 72 dpi makes size the em in pixels.
    if (!std::isfinite(size) || size < 0.0f || size * 64.0f >= 2147483648.0f)
        return;
    if (FT_Set_Char_Size(m_face, 0, static_cast<FT_F26Dot6>(size * 64.0f), 72, 0) != 0)
        return;

    // Render every mapped glyph once, keeping its coverage for the atlas.
    std::vector<GlyphRect> rects;
    std::vector<RenderedGlyph> rendered;
    std::vector<unsigned char> coverage;
    FT_UInt glyphIndex = 0;
    for (FT_ULong code = FT_Get_First_Char(m_face, &glyphIndex);
         glyphIndex != 0 && code < kNumCodes;     // codes come in ascending order
         code = FT_Get_Next_Char(m_face, code, &glyphIndex))
    {
        if (FT_Load_Glyph(m_face, glyphIndex, FT_LOAD_DEFAULT) != 0 ||
            FT_Render_Glyph(m_face->glyph, FT_RENDER_MODE_NORMAL) != 0)
            continue;
        const FT_GlyphSlot slot = m_face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        if (bitmap.width > 0x7fffffffu || bitmap.rows > 0x7fffffffu)
            continue;

        RenderedGlyph glyph;
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.advanceX = static_cast<int32_t>(slot->advance.x >> 6);
        glyph.advanceY = static_cast<int32_t>(slot->advance.y >> 6);
        glyph.offset = coverage.size();
        if (!AppendCoverage(library, bitmap, coverage))
            continue;

        GlyphRect rect;
        rect.x = -1;
        rect.y = -1;
        rect.w = static_cast<int32_t>(bitmap.width);
        rect.h = static_cast<int32_t>(bitmap.rows);
        rect.code = static_cast<uint32_t>(code);
        rects.push_back(rect);
        rendered.push_back(glyph);
    }

    // Row 0 and column 0 stay empty and glyphs keep one texel apart.
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    CRectPacker packer;
    for (GlyphRect& rect : rects)
        packer.AddRect(&rect);
    packer.AddFreeRect(Rect{1, 1, maxSize - 2, maxSize - 2});
    packer.Pack(1);   // glyphs that found no room are left out below
    const int32_t side = packer.GetSize();
    if (side <= 0 || side > maxSize)
        return;

    // Each glyph goes in upside down: its bottom row at the rectangle's
    // first row, which the y-up projection draws lowest.
    std::unique_ptr<unsigned char, decltype(&std::free)> texels(
        static_cast<unsigned char*>(std::calloc(size_t(side) * size_t(side), 1)), &std::free);
    if (!texels)
        throw std::bad_alloc();
    for (size_t n = 0; n < rects.size(); ++n)
    {
        const GlyphRect& rect = rects[n];
        if (!IsPlaced(rect, side))
            continue;   // keeps its zero record: draws nothing, never overwrites a neighbour
        const RenderedGlyph& glyph = rendered[n];
        const size_t width = size_t(rect.w);
        for (int32_t j = 0; j < rect.h; ++j)
        {
            const unsigned char* src = &coverage[glyph.offset + size_t(rect.h - 1 - j) * width];
            std::memcpy(texels.get() + size_t(rect.y + j) * size_t(side) + size_t(rect.x), src, width);
        }

        Glyph& record = m_glyphs[rect.code];
        record.u = float(rect.x) / float(side);
        record.v = float(rect.y) / float(side);
        record.width = float(rect.w);
        record.height = float(rect.h);
        record.left = glyph.left;
        record.top = glyph.top;
        record.advanceX = glyph.advanceX;
        record.advanceY = glyph.advanceY;
    }
    std::vector<unsigned char>().swap(coverage);

    GLuint texId = 0;
    glGenTextures(1, &texId);
    if (texId == 0)
        return;
    glBindTexture(GL_TEXTURE_2D, texId);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);

    // Rows are `side` bytes with no padding, which can be fewer than the
    // default alignment of 4 for tiny fonts.
    GLint oldAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &oldAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int i = 0; i < 8 && glGetError() != GL_NO_ERROR; ++i)
    {
        // drop errors left by others, so the check below is ours
    }
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA8, side, side, 0, GL_ALPHA, GL_UNSIGNED_BYTE, texels.get());
    const GLenum error = glGetError();
    glPixelStorei(GL_UNPACK_ALIGNMENT, oldAlignment);
    if (error != GL_NO_ERROR)
    {
        // A texture the driver refused would draw blank text as if loaded.
        glDeleteTextures(1, &texId);
        return;
    }

    m_texId = texId;
    m_texSize = static_cast<uint32_t>(side);
}

void CTextureFont::DrawString(const char* text) const
{
    assert(m_texId);
    glBindTexture(GL_TEXTURE_2D, m_texId);
    glBegin(GL_QUADS);
    const float side = float(m_texSize);
    int px = 0;
    int py = 0;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); c && *c; ++c)
    {
        const Glyph& g = m_glyphs[*c];
        const float x0 = float(px + g.left);
        const float yt = float(py + g.top);
        const float s1 = g.u + g.width / side;
        const float t1 = g.v + g.height / side;
        glTexCoord2f(g.u, g.v);
        glVertex2f(x0, yt - g.height);
        glTexCoord2f(g.u, t1);
        glVertex2f(x0, yt);
        glTexCoord2f(s1, t1);
        glVertex2f(x0 + g.width, yt);
        glTexCoord2f(s1, g.v);
        glVertex2f(x0 + g.width, yt - g.height);
        px += g.advanceX;
        py += g.advanceY;
    }
    glEnd();
}
