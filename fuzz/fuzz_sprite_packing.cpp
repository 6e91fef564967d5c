// The sprite atlas packing (no SDL, no OpenGL) on random image sizes.
// Whatever the sizes: the table order is by larger side, stable; placed
// images lie inside the atlas, keep a one-pixel gap to every other image and
// keep their own size (exchanged only when turned); an image left out fits
// nowhere; the atlas side is the smallest power of two holding them all.
#include "graphics/CSpritePacker.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const size_t kMaxImages = 48;

[[noreturn]] void Fail(const char* what, const SpriteImage& s)
{
    std::fprintf(stderr, "sprite packing: %s (entry %zu at %d,%d size %dx%d%s)\n", what, s.entry, s.x, s.y,
                 s.w, s.h, s.turned ? ", turned" : "");
    std::abort();
}

int32_t Side(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
    case 0:  return in.ConsumeIntegralInRange<int32_t>(1, 1200);   // too large for most areas
    case 1:  return in.ConsumeIntegralInRange<int32_t>(1, 4);
    default: return in.ConsumeIntegralInRange<int32_t>(1, 300);
    }
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
    const int32_t area = in.ConsumeBool() ? CSpritePacker::kAtlasArea
                                          : int32_t(1) << in.ConsumeIntegralInRange<int>(0, 11);

    std::vector<SpriteImage> images(in.ConsumeIntegralInRange<size_t>(0, kMaxImages));
    std::vector<int32_t> width(images.size()), height(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        SpriteImage& s = images[i];
        s.name = "image " + std::to_string(i);
        s.entry = i;
        // An image that failed to load keeps w = h = 0.
        s.loaded = in.ConsumeIntegralInRange<int>(0, 7) != 0;
        s.w = width[i] = s.loaded ? Side(in) : 0;
        s.h = height[i] = s.loaded ? Side(in) : 0;
    }

    CSpritePacker packer(area);
    const int32_t side = packer.PackSprites(images);
    if (side != packer.GetSide())
        Fail("returned side and GetSide differ", SpriteImage());

    int64_t reach = 0;
    for (size_t i = 0; i < images.size(); ++i) {
        const SpriteImage& s = images[i];
        if (s.name != "image " + std::to_string(s.entry))
            Fail("an entry lost its name", s);
        if (i > 0) {
            const SpriteImage& p = images[i - 1];
            const int32_t key = std::max(s.w, s.h), prevKey = std::max(p.w, p.h);
            if (key < prevKey || (key == prevKey && s.entry < p.entry))
                Fail("table not in stable order of the larger side", s);
        }
        const bool upright = s.w == width[s.entry] && s.h == height[s.entry];
        const bool turned = s.w == height[s.entry] && s.h == width[s.entry];
        if (!(s.turned ? turned : upright))
            Fail("size changed other than by turning", s);
        if (!s.placed) {
            if (s.turned)
                Fail("turned but not placed", s);
            if (!s.loaded)
                continue;
            for (const Rect& f : packer.GetFreeRects())
                if ((s.w <= f.w && s.h <= f.h) || (s.h <= f.w && s.w <= f.h))
                    Fail("left out although a free rectangle holds it", s);
            continue;
        }
        if (!s.loaded)
            Fail("an image that did not load was placed", s);
        if (s.x < 0 || s.y < 0 || int64_t(s.x) + s.w > side || int64_t(s.y) + s.h > side)
            Fail("placed outside the atlas", s);
        reach = std::max(reach, std::max(int64_t(s.x) + s.w, int64_t(s.y) + s.h));
        for (size_t j = 0; j < i; ++j) {
            const SpriteImage& o = images[j];
            if (!o.placed)
                continue;
            const bool apart = int64_t(s.x) + s.w + 1 <= o.x || int64_t(o.x) + o.w + 1 <= s.x ||
                               int64_t(s.y) + s.h + 1 <= o.y || int64_t(o.y) + o.h + 1 <= s.y;
            if (!apart)
                Fail("overlaps or touches another image (the 1-pixel gap)", s);
        }
    }
    if (side < 1 || side > area || side != SmallestPowerOfTwoAtLeast(std::max<int64_t>(reach, 1)))
        Fail("atlas side is not the smallest power of two holding every image", SpriteImage());
    return 0;
}
