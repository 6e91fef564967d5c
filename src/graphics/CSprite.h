#ifndef VESK_GRAPHICS_CSPRITE_H
#define VESK_GRAPHICS_CSPRITE_H

#include <cstdint>

// Where one image lies in the sprite atlas, and its size. Owns nothing.
class CSprite
{
public:
    // Draws a textured quad of the image's size centred on the current
    // origin, upright, and leaves the atlas bound.
    void Draw() const;

    float    m_u0 = 0;          // left edge
    float    m_u1 = 0;          // right edge
    float    m_v0 = 0;          // top row
    float    m_v1 = 0;          // just below the bottom row
    float    m_halfHeight = 0;
    float    m_halfWidth = 0;
    uint32_t m_texId = 0;
    // The image lies in the atlas turned a quarter clockwise (its top row is
    // the place's right column); the coordinates above are its place's.
    bool     m_turned = false;
};

#endif
