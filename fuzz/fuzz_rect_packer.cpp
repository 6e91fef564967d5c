// CRectPacker (the glyph atlas packer) on random rectangles and free areas.
// What must hold whatever the input: placed rectangles lie inside one free
// area, keep `gap` clear of every other rectangle placed in the same area,
// Pack's result says whether all found room, and the reported size is the
// smallest power of two that holds them all.
#include "graphics/CRectPacker.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const int32_t kUnplaced = INT32_MIN;   // no free area reaches there
const size_t  kMaxRects = 96;
const size_t  kMaxFree  = 6;

[[noreturn]] void Fail(const char* what, size_t i, const Rect& r)
{
    std::fprintf(stderr, "rect packer: %s (rectangle %zu at %d,%d size %dx%d)\n", what, i, r.x, r.y, r.w, r.h);
    std::abort();
}

// Mostly atlas-sized numbers, sometimes anything up to `max`, so both the
// everyday layouts and the overflow edges get explored.
int32_t Extent(FuzzedDataProvider& in, int32_t max)
{
    if (max <= 0)
        return 0;
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0:  return in.ConsumeIntegralInRange<int32_t>(0, max);
    case 1:  return max - in.ConsumeIntegralInRange<int32_t>(0, max < 4 ? max : 4);
    default: return in.ConsumeIntegralInRange<int32_t>(0, max < 2048 ? max : 2048);
    }
}

bool Overlaps(const Rect& a, const Rect& b)
{
    // Only positive extents cover anything.
    if (a.w <= 0 || a.h <= 0 || b.w <= 0 || b.h <= 0)
        return false;
    return int64_t(a.x) < int64_t(b.x) + b.w && int64_t(b.x) < int64_t(a.x) + a.w &&
           int64_t(a.y) < int64_t(b.y) + b.h && int64_t(b.y) < int64_t(a.y) + a.h;
}

bool Inside(const Rect& r, const Rect& f)
{
    return r.x >= f.x && r.y >= f.y && int64_t(r.x) + r.w <= int64_t(f.x) + f.w &&
           int64_t(r.y) + r.h <= int64_t(f.y) + f.h;
}

// The gap to the right of and below each rectangle is kept: two rectangles
// of one free area are at least `gap` apart along x or along y.
bool Separated(const Rect& a, const Rect& b, int gap)
{
    return int64_t(a.x) + a.w + gap <= b.x || int64_t(b.x) + b.w + gap <= a.x ||
           int64_t(a.y) + a.h + gap <= b.y || int64_t(b.y) + b.h + gap <= a.y;
}

int64_t SmallestPowerOfTwoAtLeast(int64_t n)
{
    int64_t p = 1;
    while (p < n)
        p *= 2;
    return p;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int gap = in.ConsumeIntegralInRange<int>(0, 3);

    // Free areas that do not overlap one another, as the font's single area
    // does not: the packer never promises to untangle overlapping areas.
    std::vector<Rect> areas;
    const size_t nAreas = in.ConsumeIntegralInRange<size_t>(0, kMaxFree);
    for (size_t i = 0; i < nAreas; ++i) {
        Rect f;
        f.x = Extent(in, INT32_MAX);
        f.y = Extent(in, INT32_MAX);
        // A width or height of 0 or less holds nothing; keep x + w representable.
        f.w = in.ConsumeBool() ? -in.ConsumeIntegralInRange<int32_t>(0, 3) : Extent(in, INT32_MAX - f.x);
        f.h = in.ConsumeBool() ? -in.ConsumeIntegralInRange<int32_t>(0, 3) : Extent(in, INT32_MAX - f.y);
        bool clash = false;
        for (const Rect& other : areas)
            clash = clash || Overlaps(f, other);
        if (!clash)
            areas.push_back(f);
    }

    std::vector<Rect> rects(in.ConsumeIntegralInRange<size_t>(0, kMaxRects));
    for (Rect& r : rects) {
        r.x = r.y = kUnplaced;
        r.w = Extent(in, INT32_MAX);
        r.h = Extent(in, INT32_MAX);
    }

    CRectPacker packer;
    // Adds interleaved, as the calling order allows.
    size_t nextArea = 0;
    for (Rect& r : rects) {
        packer.AddRect(&r);
        if (nextArea < areas.size() && in.ConsumeBool())
            packer.AddFreeRect(areas[nextArea++]);
    }
    for (; nextArea < areas.size(); ++nextArea)
        packer.AddFreeRect(areas[nextArea]);

    const bool ok = packer.Pack(gap);
    const int32_t side = packer.GetSize();

    std::vector<size_t> areaOf(rects.size(), SIZE_MAX);
    int64_t reach = 0;
    bool allPlaced = true;
    for (size_t i = 0; i < rects.size(); ++i) {
        const Rect& r = rects[i];
        if (r.x == kUnplaced && r.y == kUnplaced) {
            allPlaced = false;
            continue;
        }
        if (r.x == kUnplaced || r.y == kUnplaced)
            Fail("only one coordinate was written", i, r);
        for (size_t a = 0; a < areas.size() && areaOf[i] == SIZE_MAX; ++a)
            if (Inside(r, areas[a]))
                areaOf[i] = a;
        if (areaOf[i] == SIZE_MAX)
            Fail("placed outside every free area", i, r);
        reach = std::max(reach, std::max(int64_t(r.x) + r.w, int64_t(r.y) + r.h));
    }

    for (size_t i = 0; i < rects.size(); ++i) {
        if (areaOf[i] == SIZE_MAX)
            continue;
        for (size_t j = i + 1; j < rects.size(); ++j) {
            if (areaOf[j] == SIZE_MAX)
                continue;
            if (Overlaps(rects[i], rects[j]))
                Fail("overlaps another placed rectangle", i, rects[i]);
            // An empty rectangle on an edge shared by two areas may be
            // counted to the wrong one: keep the gap check to real extents.
            const bool empty = rects[i].w == 0 || rects[i].h == 0 || rects[j].w == 0 || rects[j].h == 0;
            if (areaOf[i] == areaOf[j] && !empty && !Separated(rects[i], rects[j], gap))
                Fail("closer than the gap to another rectangle of its area", i, rects[i]);
        }
    }

    if (ok && !allPlaced)
        Fail("Pack reported success with a rectangle left out", 0, Rect{side, side, 0, 0});
    if (!ok && allPlaced && !rects.empty())
        Fail("Pack reported failure with every rectangle placed", 0, Rect{side, side, 0, 0});
    if (reach > 0) {
        if (side != SmallestPowerOfTwoAtLeast(reach))
            Fail("size is not the smallest power-of-two square holding the placements", 0,
                 Rect{side, side, int32_t(reach), 0});
    } else if (side != 0) {
        Fail("size set although nothing was placed", 0, Rect{side, side, 0, 0});
    }
    return 0;
}
