// The sprite atlas packing on random sizes: the table in stable order of the larger side; placed images inside the
// atlas, a pixel apart from each other and what is free, their size kept (exchanged when turned); the rest fit
// nowhere at a cost (0 by 0 costs nothing at 0,0); the atlas side the least power of two holding them all.
#include "FuzzSupport.h"
#include "graphics/CSpritePacker.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int32_t area = in.ConsumeBool() ? CSpritePacker::kAtlasArea : 1 << in.ConsumeIntegralInRange<int>(0, 11);
    std::vector<SpriteImage> images(in.ConsumeIntegralInRange<size_t>(0, 48));
    std::vector<std::pair<int32_t, int32_t>> sizes;
    for (SpriteImage& s : images) {
        s.entry = sizes.size();
        s.loaded = in.ConsumeIntegralInRange<int>(0, 7) != 0;   // one that did not load keeps 0 by 0
        const int32_t max[] = {4, 300, 300, 1200};   // now and then tiny or too large for most areas
        for (int32_t* side : {&s.w, &s.h})
            *side = s.loaded ? in.ConsumeIntegralInRange<int32_t>(0, max[in.ConsumeIntegralInRange<int>(0, 3)]) : 0;
        sizes.emplace_back(s.w, s.h);
    }
    CSpritePacker packer(area);
    const int32_t side = packer.PackSprites(images);

    auto key = [&sizes](const SpriteImage& s) {
        return std::make_pair(std::max(sizes[s.entry].first, sizes[s.entry].second), s.entry);
    };
    int64_t reach = 1;
    for (size_t i = 0; i < images.size(); ++i) {
        const SpriteImage& s = images[i];
        const auto [w, h] = sizes[s.entry];
        auto fail = [&s](const std::string& what) {
            FuzzFail("sprite packing", "entry " + std::to_string(s.entry) + " " + what);
        };
        if (i > 0 && key(s) < key(images[i - 1])) fail("breaks the stable order of the larger side");
        if (!(s.turned ? s.w == h && s.h == w && s.placed : s.w == w && s.h == h))
            fail("changed its size other than by turning");
        for (const Rect& f : packer.GetFreeRects())
            if (s.placed ? !Apart(s, f, 0) : s.loaded && int64_t(f.x) + f.y + w + h > 0 &&
                                                 ((w <= f.w && h <= f.h) || (h <= f.w && w <= f.h)))
                fail(s.placed ? "lies under a free rectangle" : "was left out although a free rectangle holds it");
        if (!s.placed) continue;
        if (!s.loaded || s.x < 0 || s.y < 0 || int64_t(s.x) + s.w > side || int64_t(s.y) + s.h > side)
            fail("did not load or lies outside the atlas, and was placed");
        reach = std::max({reach, int64_t(s.x) + s.w, int64_t(s.y) + s.h});
        for (size_t j = 0; j < i; ++j)
            if (images[j].placed && !Apart(s, images[j], 1)) fail("overlaps or touches another image (the 1-pixel gap)");
    }
    if (side > area || side != PowerOfTwoAtLeast(reach) || side != packer.GetSide())
        FuzzFail("sprite packing", "atlas side " + std::to_string(side) + " for placements to " + std::to_string(reach));
    return 0;
}
