#ifndef VESK_GRAPHICS_CRECTPACKER_H
#define VESK_GRAPHICS_CRECTPACKER_H

#include "graphics/Rect.h"
#include <vector>

// Places rectangles, largest area first, without overlap inside the free
// areas it is given, and reports the side of the smallest power-of-two
// square from the origin that holds them all. Used once per set:
// AddRect / AddFreeRect in any order, Pack, then read the positions.
class CRectPacker
{
public:
    CRectPacker();
    CRectPacker(const CRectPacker&) = delete;
    CRectPacker& operator=(const CRectPacker&) = delete;

    // The rectangle stays the caller's and must outlive Pack, which writes
    // its x and y. Only the first four fields are read, so a larger record
    // that starts with a Rect may be passed.
    void AddRect(Rect* pRect);
    void AddFreeRect(const Rect& r);

    // Places every rectangle, keeping `gap` pixels free to the right of and
    // below each one. False if any found no room (its x and y are left as
    // they were) or there was no usable free area. A rectangle with a
    // negative size fits nowhere; a negative gap counts as 0.
    bool Pack(int gap);

    int GetSize() const { return m_size; }

    // Free areas left, for tests.
    const std::vector<Rect>& GetFreeRects() const { return m_freeRects; }

private:
    // Puts r at f's top-left corner and appends the pieces of f that remain.
    void SplitFreeRect(const Rect& f, Rect& r, int gap);

    std::vector<Rect*> m_rects;      // in the order added; not owned
    std::vector<Rect>  m_freeRects;  // in the order added or cut
    int32_t            m_size;
};

#endif
