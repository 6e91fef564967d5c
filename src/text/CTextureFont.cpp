#include "text/CTextureFont.h"

#include "data/DataFile.h"
#include "graphics/CRectPacker.h"
#include "graphics/Rect.h"
#include "graphics/Texture.h"

#include FT_BITMAP_H
#include FT_OUTLINE_H
#include <GL/gl.h>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>
#include <vector>

namespace
{

// Codes at or above this have no record.
const FT_ULong kNumCodes = 65536;

// The largest glyph texture made, whatever OpenGL would take: the game's
// font needs 1024 texels a side; a font that needs more than this is broken
// and its glyphs beyond it are left out, rather than the texture, the
// glyphs' coverage and the driver's copy taking gigabytes.
const GLint kMaxTextureSide = 8192;

// A glyph's place in the atlas; the packer reads and writes the Rect part.
struct GlyphRect : Rect
{
    uint32_t code;
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

// Every mapped glyph below kNumCodes, rendered once: its metrics, its place
// in the atlas once packed, and its coverage (top row first, `rect.w` bytes
// a row) kept in one store, so the atlas is filled without rendering again.
struct RenderedGlyph
{
    GlyphRect rect;
    int32_t   left;
    int32_t   top;
    int32_t   advanceX;
    int32_t   advanceY;
    size_t    offset;     // into the coverage store
};

// Whether an outline just loaded could lie in a texture of `side` texels,
// judged before it is rendered: a broken font can ask for bitmaps of
// gigabytes, which no texture could hold anyway. A glyph that is a bitmap
// already is measured once rendered, like every glyph.
bool Fits(FT_GlyphSlot slot, double side)
{
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE)
        return true;
    FT_BBox box;
    FT_Outline_Get_CBox(&slot->outline, &box);
    return (double(box.xMax) - double(box.xMin)) / 64 < side && (double(box.yMax) - double(box.yMin)) / 64 < side;
}

// Glyphs that could not all lie in one texture of `side` texels are left
// out, so the coverage kept never outgrows the largest texture.
void RenderGlyphs(FT_Library library, FT_Face face, int32_t side, std::vector<RenderedGlyph>& glyphs,
                  std::vector<unsigned char>& coverage)
{
    const size_t budget = size_t(side) * size_t(side);
    FT_UInt glyphIndex = 0;
    for (FT_ULong code = FT_Get_First_Char(face, &glyphIndex);
         glyphIndex != 0 && code < kNumCodes;     // codes come in ascending order
         code = FT_Get_Next_Char(face, code, &glyphIndex))
    {
        if (FT_Load_Glyph(face, glyphIndex, FT_LOAD_DEFAULT) != 0 || !Fits(face->glyph, side) ||
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0)
            continue;
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        if (bitmap.width >= unsigned(side) || bitmap.rows >= unsigned(side) ||
            coverage.size() + size_t(bitmap.width) * bitmap.rows > budget)
            continue;

        RenderedGlyph glyph;
        // The packer leaves a rectangle it could not place where it was:
        // (-1, -1) then means "left out".
        glyph.rect.x = -1;
        glyph.rect.y = -1;
        glyph.rect.w = static_cast<int32_t>(bitmap.width);
        glyph.rect.h = static_cast<int32_t>(bitmap.rows);
        glyph.rect.code = static_cast<uint32_t>(code);
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.advanceX = static_cast<int32_t>(slot->advance.x >> 6);
        glyph.advanceY = static_cast<int32_t>(slot->advance.y >> 6);
        glyph.offset = coverage.size();
        if (AppendCoverage(library, bitmap, coverage))
            glyphs.push_back(glyph);
    }
}

// Places the glyphs in the smallest power-of-two square the driver takes,
// with row 0 and column 0 empty and one texel between glyphs. Returns its
// side, or 0 if none fits.
int32_t PackGlyphs(std::vector<RenderedGlyph>& glyphs, int32_t maxSize)
{
    CRectPacker packer;
    for (RenderedGlyph& glyph : glyphs)
        packer.AddRect(&glyph.rect);
    packer.AddFreeRect(Rect{1, 1, maxSize - 2, maxSize - 2});
    packer.Pack(1);   // glyphs that found no room are left out when copied
    const int32_t side = packer.GetSize();
    return side > 0 && side <= maxSize ? side : 0;
}

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
    if (FT_New_Face(library, HostPath(path).c_str(), 0, &m_face) != 0)
    {
        m_face = nullptr;
        return;
    }

    // 26.6 fixed point, fraction cut towards zero; 72 dpi makes size the em in pixels.
    if (!std::isfinite(size) || size < 0.0f || size * 64.0f >= 2147483648.0f)
        return;
    if (FT_Set_Char_Size(m_face, 0, static_cast<FT_F26Dot6>(size * 64.0f), 72, 0) != 0)
        return;

    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    maxSize = std::min(maxSize, kMaxTextureSide);
    std::vector<RenderedGlyph> glyphs;
    std::vector<unsigned char> coverage;
    RenderGlyphs(library, m_face, maxSize, glyphs, coverage);
    const int32_t side = PackGlyphs(glyphs, maxSize);
    if (side == 0)
        return;

    std::vector<unsigned char> texels(size_t(side) * size_t(side), 0);
    for (const RenderedGlyph& glyph : glyphs)
    {
        const GlyphRect& rect = glyph.rect;
        if (!IsPlaced(rect, side))
            continue;   // keeps its zero record: draws nothing, never overwrites a neighbour
        Glyph& record = m_glyphs[rect.code];
        record.u = float(rect.x) / float(side);
        record.v = float(rect.y) / float(side);
        record.width = float(rect.w);
        record.height = float(rect.h);
        record.left = glyph.left;
        record.top = glyph.top;
        record.advanceX = glyph.advanceX;
        record.advanceY = glyph.advanceY;

        // Upside down: the glyph's bottom row goes to the rectangle's first
        // row, which the y-up projection draws lowest. A glyph without
        // extent (a space, or a zero-width mark) has no coverage to copy.
        if (rect.w == 0 || rect.h == 0)
            continue;
        const size_t width = size_t(rect.w);
        for (int32_t j = 0; j < rect.h; ++j)
            std::memcpy(&texels[size_t(rect.y + j) * size_t(side) + size_t(rect.x)],
                        &coverage[glyph.offset + size_t(rect.h - 1 - j) * width], width);
    }

    m_texId = UploadTexture(side, GL_ALPHA8, GL_ALPHA, texels.data());
    if (m_texId)
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
