#ifndef VESK_GRAPHICS_CSPRITEPACKER_H
#define VESK_GRAPHICS_CSPRITEPACKER_H

#include "graphics/Rect.h"
#include <cstddef>
#include <string>
#include <vector>

// One entry of the sprite list, as the atlas packing sees it: sizes and a
// place, no pixels, so the packing runs without SDL or OpenGL.
struct SpriteImage
{
    std::string name;           // the line as read, without its line end
    size_t      entry = 0;      // position in the list, in file order
    bool        loaded = false; // its image loaded; only loaded images are packed
    int32_t     x = 0;          // top-left corner of its place in the atlas,
    int32_t     y = 0;          // y counted downwards from the first row
    int32_t     w = 0;          // size of its place: the image's width and
    int32_t     h = 0;          // height, exchanged when turned
    bool        turned = false; // placed with width and height exchanged
    bool        placed = false; // the packing found room for it
};

// Packs sprite images into a square area with a one-pixel gap between them:
// larger side first, guillotine split of the chosen free rectangle, and an
// atlas side that is the smallest power of two holding every placement.
class CSpritePacker
{
public:
    static const int32_t kAtlasArea = 1024;

    // `area` is the side of the square to pack into, a power of two.
    explicit CSpritePacker(int32_t area = kAtlasArea);

    // Sorts `images` in place by their larger side, smallest first, keeping
    // the file order among equal keys (this is the sprites' final order),
    // then places the loaded ones, largest first. An image that fits in no
    // free rectangle stays unplaced. Returns the atlas side.
    int32_t PackSprites(std::vector<SpriteImage>& images);

    int32_t GetSide() const { return m_side; }
    const std::vector<Rect>& GetFreeRects() const { return m_freeRects; }

private:
    // Places the image at f's top-left corner (turned if it only fits so)
    // and appends the two pieces of f beside and below it.
    void PlaceSprite(const Rect& f, SpriteImage& image);

    std::vector<Rect> m_freeRects;
    int32_t           m_area;
    int32_t           m_side;
};

#endif
