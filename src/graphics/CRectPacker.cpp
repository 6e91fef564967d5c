#include "graphics/CRectPacker.h"

#include <algorithm>
#include <cassert>

CRectPacker::CRectPacker()
    : m_size(0)
{
}

void CRectPacker::AddRect(Rect* pRect)
{
    assert(pRect);
    m_rects.push_back(pRect);
}

void CRectPacker::AddFreeRect(const Rect& r)
{
    // Nothing beyond kMaxPowerOfTwo can be placed (no square side holds it),
    // so cutting a free area there loses nothing and keeps every later sum
    // of a position and a size inside 32 bits.
    Rect clipped = r;
    if (int64_t(r.x) + r.w > kMaxPowerOfTwo)
        clipped.w = static_cast<int32_t>(std::max<int64_t>(int64_t(kMaxPowerOfTwo) - r.x, -1));
    if (int64_t(r.y) + r.h > kMaxPowerOfTwo)
        clipped.h = static_cast<int32_t>(std::max<int64_t>(int64_t(kMaxPowerOfTwo) - r.y, -1));
    m_freeRects.push_back(clipped);
}

bool CRectPacker::Pack(int gap)
{
    if (m_freeRects.empty())
        return false;

    int32_t limit = 0;
    for (const Rect& f : m_freeRects)
        limit = std::max({limit, NextPowerOfTwoOfSum(f.x, f.w), NextPowerOfTwoOfSum(f.y, f.h)});
    if (limit == 0)
        return false;

    m_size = 0;
    bool ok = true;

    std::stable_sort(m_rects.begin(), m_rects.end(), [](const Rect* a, const Rect* b) {
        return uint32_t(a->w) * uint32_t(a->h) < uint32_t(b->w) * uint32_t(b->h);
    });

    // Largest first; among equal areas the one added later goes first.
    for (auto it = m_rects.rbegin(); it != m_rects.rend(); ++it) {
        Rect& r = **it;
        int32_t best = limit + 1;
        size_t chosen = m_freeRects.size();
        if (r.w >= 0 && r.h >= 0) {
            for (size_t i = 0; i < m_freeRects.size(); ++i) {
                const Rect& f = m_freeRects[i];
                if (r.w > f.w || r.h > f.h)
                    continue;
                const int32_t cost = std::max(NextPowerOfTwoOfSum(f.x, r.w), NextPowerOfTwoOfSum(f.y, r.h));
                if (cost != 0 && cost < best) {
                    chosen = i;
                    best = cost;
                    if (m_size >= cost)
                        break;   // no growth of the square needed
                }
            }
        }
        if (chosen == m_freeRects.size()) {
            ok = false;
            continue;
        }
        m_size = std::max(m_size, best);
        const Rect f = m_freeRects[chosen];
        m_freeRects.erase(m_freeRects.begin() + chosen);
        SplitFreeRect(f, r, gap);
    }
    return ok;
}

void CRectPacker::SplitFreeRect(const Rect& f, Rect& r, int gap)
{
    r.x = f.x;
    r.y = f.y;

    // In 64 bits: a huge gap must not wrap round into a piece that overlaps r.
    // r lies inside f and f inside the clipped area, so every piece fits 32 bits.
    const int64_t used_w = int64_t(r.w) + std::max(gap, 0);
    const int64_t used_h = int64_t(r.h) + std::max(gap, 0);
    const bool right = used_w < f.w;
    const bool below = used_h < f.h;
    if (right)
        m_freeRects.push_back({int32_t(f.x + used_w), f.y, int32_t(f.w - used_w), r.h});
    if (below)
        m_freeRects.push_back({f.x, int32_t(f.y + used_h), r.w, int32_t(f.h - used_h)});
    if (right && below)
        m_freeRects.push_back({int32_t(f.x + used_w), int32_t(f.y + used_h),
                               int32_t(f.w - used_w), int32_t(f.h - used_h)});
}
