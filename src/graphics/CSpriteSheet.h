#ifndef VESK_GRAPHICS_CSPRITESHEET_H
#define VESK_GRAPHICS_CSPRITESHEET_H

#include "graphics/CSprite.h"
#include <cstdint>
#include <string>
#include <vector>

// The sprite table and its atlas texture, built once from "Data\sprites.dat".
// Sprites are numbered by image size, smallest larger side first.
class CSpriteSheet
{
public:
    static CSpriteSheet* GetInstance();

    // The game uses the one instance; tests build their own.
    CSpriteSheet() = default;
    CSpriteSheet(const CSpriteSheet&) = delete;
    CSpriteSheet& operator=(const CSpriteSheet&) = delete;

    void Load();     // needs a current OpenGL context
    void Unload();   // does nothing: the atlas goes with the context

    // Loads the list at `listPath` (Windows separators allowed), starting
    // afresh; an earlier atlas texture is left to its context.
    void Load(const std::string& listPath);

    // An index beyond the table gives an empty sprite that draws nothing.
    CSprite& GetSprite(unsigned index);
    unsigned GetNumSprites() const { return static_cast<unsigned>(m_Sprites.size()); }

    // What the last Load made, for tests and tools.
    int32_t GetAtlasSide() const { return m_AtlasSide; }
    uint32_t GetTextureId() const { return m_TexId; }

private:
    std::vector<CSprite>     m_Sprites;
    int32_t                  m_AtlasSide = 0;
    uint32_t                 m_TexId = 0;
    CSprite                  m_EmptySprite; // handed out for indices beyond the table
};

#endif
