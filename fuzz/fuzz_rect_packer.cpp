// CRectPacker on random rectangles and free areas that do not overlap: each placed inside one area, `gap` from the
// others there; Pack says if all found room; the rest fit nowhere; the size is the least power of two holding all.
#include "FuzzSupport.h"
#include "graphics/CRectPacker.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// Mostly atlas-sized numbers, sometimes anything up to `max`: everyday layouts and overflow edges.
int32_t Extent(FuzzedDataProvider& in, int32_t max)
{
    switch (max <= 0 ? -1 : in.ConsumeIntegralInRange<int>(0, 7)) {
    case -1: return 0;
    case 0:  return in.ConsumeIntegralInRange<int32_t>(0, max);
    case 1:  return max - in.ConsumeIntegralInRange<int32_t>(0, std::min(max, 4));
    default: return in.ConsumeIntegralInRange<int32_t>(0, std::min(max, 2048));
    }
}

// A width or height of 0 or less holds nothing; x + w stays representable.
int32_t AreaExtent(FuzzedDataProvider& in, int32_t at)
{
    return in.ConsumeBool() ? -in.ConsumeIntegralInRange<int32_t>(0, 3) : Extent(in, INT32_MAX - at);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int gap = in.ConsumeIntegralInRange<int>(0, 3);
    std::vector<Rect> areas;
    for (size_t i = in.ConsumeIntegralInRange<size_t>(0, 6); i > 0; --i) {
        Rect f{Extent(in, INT32_MAX), Extent(in, INT32_MAX), 0, 0};
        f.w = AreaExtent(in, f.x), f.h = AreaExtent(in, f.y);
        if (std::all_of(areas.begin(), areas.end(), [&f](const Rect& a) { return Apart(a, f, 0); })) areas.push_back(f);
    }
    std::vector<Rect> rects(in.ConsumeIntegralInRange<size_t>(0, 96));
    CRectPacker packer;
    for (Rect& r : rects) {
        r = {INT32_MIN, INT32_MIN, Extent(in, INT32_MAX), Extent(in, INT32_MAX)};   // no free area reaches INT32_MIN
        packer.AddRect(&r);
    }
    for (const Rect& f : areas) packer.AddFreeRect(f);
    const bool ok = packer.Pack(gap);

    std::vector<size_t> areaOf(rects.size(), areas.size());   // areas.size(): not placed
    int64_t reach = 0;
    for (size_t i = 0; i < rects.size(); ++i) {
        const Rect& r = rects[i];
        if (r.x == INT32_MIN && r.y == INT32_MIN) {
            // What was left out fits in no free rectangle (but 0 by 0 costs nothing at 0,0: it may find no place).
            for (const Rect& f : packer.GetFreeRects())
                if (r.w <= f.w && r.h <= f.h && int64_t(r.w) + r.h > 0)
                    FuzzFail("rect packer", "rectangle " + std::to_string(i) + " left out, though a free one holds it");
            continue;
        }
        areaOf[i] = std::find_if(areas.begin(), areas.end(), [&r](const Rect& f) {
                        return r.x >= f.x && r.y >= f.y && int64_t(r.x) + r.w <= int64_t(f.x) + f.w &&
                               int64_t(r.y) + r.h <= int64_t(f.y) + f.h;
                    }) - areas.begin();
        if (areaOf[i] == areas.size())
            FuzzFail("rect packer", "rectangle " + std::to_string(i) + " placed outside every free area");
        reach = std::max({reach, int64_t(r.x) + r.w, int64_t(r.y) + r.h});
        // An empty rectangle on an edge shared by two areas may be counted to the wrong one: Apart leaves those out.
        for (size_t j = 0; j < i; ++j)
            if (areaOf[j] < areas.size() && !Apart(r, rects[j], areaOf[i] == areaOf[j] ? gap : 0))
                FuzzFail("rect packer", "rectangles " + std::to_string(j) + " and " + std::to_string(i) + " too close");
    }
    const bool allPlaced = std::count(areaOf.begin(), areaOf.end(), areas.size()) == 0;
    if (!rects.empty() && ok != allPlaced)
        FuzzFail("rect packer", ok ? "Pack reported success with a rectangle left out" : "Pack failed with all placed");
    if (packer.GetSize() != (reach > 0 ? PowerOfTwoAtLeast(reach) : 0))
        FuzzFail("rect packer", "size " + std::to_string(packer.GetSize()) + " for placements to " + std::to_string(reach));
    return 0;
}
