#include "graphics/CSpritePacker.h"

#include <algorithm>
#include <cassert>

CSpritePacker::CSpritePacker(int32_t area)
    : m_area(area)
    , m_side(1)
{
    assert(area >= 1 && NextPowerOfTwo(area) == area);
    m_freeRects.push_back({0, 0, area, area});
}

int32_t CSpritePacker::PackSprites(std::vector<SpriteImage>& images)
{
    m_side = 1;
    std::stable_sort(images.begin(), images.end(), [](const SpriteImage& a, const SpriteImage& b) {
        return std::max(a.w, a.h) < std::max(b.w, b.h);
    });

    for (auto it = images.rbegin(); it != images.rend(); ++it) {
        SpriteImage& image = *it;
        // An image of no width or height loads too, and is packed like any
        // other: it costs and splits its free rectangle.
        if (!image.loaded)
            continue;

        // Free rectangles never reach beyond the area, so a fitting image
        // keeps every sum below within 32 bits.
        int32_t best = m_area + 1;
        size_t chosen = m_freeRects.size();
        for (size_t i = 0; i < m_freeRects.size(); ++i) {
            const Rect& f = m_freeRects[i];
            int32_t cost = 0;
            if (image.w <= f.w && image.h <= f.h)
                cost = std::max(NextPowerOfTwo(f.x + image.w), NextPowerOfTwo(f.y + image.h));
            else if (image.h <= f.w && image.w <= f.h)
                cost = std::max(NextPowerOfTwo(f.x + image.h), NextPowerOfTwo(f.y + image.w));
            if (cost != 0 && cost < best) {
                best = cost;
                chosen = i;
                if (cost <= m_side)
                    break;   // no growth of the atlas needed
            }
        }
        if (chosen == m_freeRects.size())
            continue;

        m_side = std::max(m_side, best);
        const Rect f = m_freeRects[chosen];
        m_freeRects.erase(m_freeRects.begin() + chosen);
        PlaceSprite(f, image);
    }
    return m_side;
}

void CSpritePacker::PlaceSprite(const Rect& f, SpriteImage& image)
{
    image.x = f.x;
    image.y = f.y;
    image.placed = true;
    if (image.w > f.w || image.h > f.h) {
        std::swap(image.w, image.h);
        image.turned = true;
    }
    const int32_t w = image.w;
    const int32_t h = image.h;
    // Pieces of zero or negative extent are kept too: only images no wider
    // (or higher) than that fit in them.
    if (w <= h) {
        m_freeRects.push_back({f.x, f.y + h + 1, w, f.h - h - 1});
        m_freeRects.push_back({f.x + w + 1, f.y, f.w - w - 1, f.h});
    } else {
        m_freeRects.push_back({f.x + w + 1, f.y, f.w - w - 1, h});
        m_freeRects.push_back({f.x, f.y + h + 1, f.w, f.h - h - 1});
    }
}
