#ifndef VESK_TEXT_CTEXTUREFONT_H
#define VESK_TEXT_CTEXTUREFONT_H

#include <cstdint>
#include <ft2build.h>
#include FT_FREETYPE_H

// One TrueType font at one size, its glyphs rendered into one alpha texture.
class CTextureFont
{
public:
    struct Glyph
    {
        float   u;          // left column / texture side
        float   v;          // bottom row / texture side (stored upside down)
        float   width;
        float   height;
        int32_t left;
        int32_t top;
        int32_t advanceX;
        int32_t advanceY;
    };

    CTextureFont(const char* path, float size, FT_Library* library);
    ~CTextureFont();
    CTextureFont(const CTextureFont&) = delete;
    CTextureFont& operator=(const CTextureFont&) = delete;

    bool IsLoaded() const { return m_texId != 0 && m_face != nullptr && m_texSize != 0; }
    void DrawString(const char* text) const;   // from the current origin, on the baseline

private:
    void Build(const char* path, float size, FT_Library library);

    uint32_t m_texSize;
    uint32_t m_texId;
    FT_Face  m_face;
    Glyph    m_glyphs[65536];
};

#endif
