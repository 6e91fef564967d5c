#ifndef VESK_TEXT_CFONTMANAGER_H
#define VESK_TEXT_CFONTMANAGER_H

#include <vector>
#include <ft2build.h>
#include FT_FREETYPE_H

class CTextureFont;

// Owns the FreeType library and the loaded fonts; a font's id is its place in the list.
class CFontManager
{
public:
    static CFontManager* GetInstance();

    CFontManager() = default;
    ~CFontManager();
    CFontManager(const CFontManager&) = delete;
    CFontManager& operator=(const CFontManager&) = delete;

    void Init();
    CTextureFont* LoadFont(const char* path, float size);   // null if it did not load
    CTextureFont* GetFont(unsigned pN) const;               // null for an id never loaded
    void Shutdown();

private:
    FT_Library                 m_library = nullptr;
    std::vector<CTextureFont*> m_fonts;
};

#endif
