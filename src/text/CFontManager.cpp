#include "text/CFontManager.h"

#include "text/CTextureFont.h"

#include <cassert>
#include <memory>

CFontManager* CFontManager::GetInstance()
{
    static CFontManager* instance = new CFontManager();
    return instance;
}

CFontManager::~CFontManager()
{
    Shutdown();
}

void CFontManager::Init()
{
    assert(!m_library);
    if (FT_Init_FreeType(&m_library) != 0)
        m_library = nullptr;
}

CTextureFont* CFontManager::LoadFont(const char* path, float size)
{
    assert(m_library);
    // Held until listed, so a failed load or a full list frees the font.
    std::unique_ptr<CTextureFont> font(new CTextureFont(path, size, &m_library));
    if (!font->IsLoaded())
        return nullptr;
    m_fonts.push_back(font.get());
    return font.release();
}

CTextureFont* CFontManager::GetFont(unsigned pN) const
{
    // Without its font the game still runs and draws no text.
    if (pN >= m_fonts.size())
        return nullptr;
    return m_fonts[pN];
}

void CFontManager::Shutdown()
{
    // Fonts first: each releases its face, which needs the library alive.
    for (CTextureFont* font : m_fonts)
        delete font;
    m_fonts.clear();
    if (m_library)
    {
        FT_Done_FreeType(m_library);
        m_library = nullptr;
    }
}
