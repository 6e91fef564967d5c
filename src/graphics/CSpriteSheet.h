#ifndef VESK_GRAPHICS_CSPRITESHEET_H
#define VESK_GRAPHICS_CSPRITESHEET_H

#include "graphics/CSprite.h"
#include <vector>

// The sprite table and its atlas texture, built once from "Data\sprites.dat".
class CSpriteSheet
{
public:
    static CSpriteSheet* GetInstance();

    void Load();     // needs a current OpenGL context
    void Unload();   // does nothing: the atlas goes with the context

    // An index beyond the table gives an empty sprite that draws nothing.
    CSprite& GetSprite(unsigned index);
    unsigned GetNumSprites() const { return static_cast<unsigned>(m_Sprites.size()); }

private:
    std::vector<CSprite> m_Sprites;
};

#endif
