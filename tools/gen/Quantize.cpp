#include "Quantize.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace gen {

namespace {

struct Box
{
    std::vector<Rgba> colours;   // with repeats: the count weighs the mean

    int Range(int channel) const
    {
        int lo = 255, hi = 0;
        for (const Rgba& c : colours)
        {
            int v = channel == 0 ? c.r : channel == 1 ? c.g : c.b;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        return hi - lo;
    }

    Rgba Mean() const
    {
        double r = 0, g = 0, b = 0;
        for (const Rgba& c : colours)
        {
            r += c.r;
            g += c.g;
            b += c.b;
        }
        double n = double(colours.size());
        Rgba m;
        m.r = uint8_t(std::lround(r / n));
        m.g = uint8_t(std::lround(g / n));
        m.b = uint8_t(std::lround(b / n));
        m.a = 255;
        return m;
    }
};

int Distance(const Rgba& a, const Rgba& b)
{
    int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return dr * dr + dg * dg + db * db;
}

} // namespace

IndexedImage QuantizeWithKey(const Image& image, Rgba key)
{
    IndexedImage out;
    out.width = image.width();
    out.height = image.height();
    out.indices.assign(size_t(out.width) * size_t(out.height), 0);
    key.a = 255;
    out.palette.push_back(key);

    std::vector<Rgba> opaque;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.at(x, y).a >= 128)
            {
                Rgba c = image.at(x, y);
                c.a = 255;
                opaque.push_back(c);
            }
    if (opaque.empty())
        return out;

    // Median cut: split the box with the widest channel until 255 boxes.
    std::vector<Box> boxes(1);
    boxes[0].colours = opaque;
    while (boxes.size() < 255)
    {
        int bestBox = -1, bestChannel = 0, bestRange = 0;
        for (size_t i = 0; i < boxes.size(); ++i)
            for (int ch = 0; ch < 3; ++ch)
            {
                int range = boxes[i].Range(ch);
                if (range > bestRange && boxes[i].colours.size() > 1)
                {
                    bestRange = range;
                    bestBox = int(i);
                    bestChannel = ch;
                }
            }
        if (bestBox < 0)
            break;   // every box holds one colour only
        std::vector<Rgba>& cs = boxes[size_t(bestBox)].colours;
        auto value = [bestChannel](const Rgba& c) {
            return bestChannel == 0 ? c.r : bestChannel == 1 ? c.g : c.b;
        };
        std::stable_sort(cs.begin(), cs.end(),
                         [&](const Rgba& a, const Rgba& b) { return value(a) < value(b); });
        // Split between different values, as near the median as possible.
        size_t mid = cs.size() / 2;
        while (mid < cs.size() && mid > 0 && value(cs[mid]) == value(cs[mid - 1]))
            ++mid;
        if (mid == cs.size())
        {
            mid = cs.size() / 2;
            while (mid > 0 && value(cs[mid]) == value(cs[mid - 1]))
                --mid;
        }
        Box upper;
        upper.colours.assign(cs.begin() + long(mid), cs.end());
        cs.resize(mid);
        boxes.push_back(upper);
    }

    for (const Box& b : boxes)
        out.palette.push_back(b.Mean());

    std::map<uint32_t, uint8_t> cache;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
        {
            const Rgba& c = image.at(x, y);
            if (c.a < 128)
                continue;
            uint32_t keyOf = (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b;
            auto it = cache.find(keyOf);
            uint8_t index;
            if (it != cache.end())
                index = it->second;
            else
            {
                int best = 1, bestDist = Distance(c, out.palette[1]);
                for (size_t i = 2; i < out.palette.size(); ++i)
                {
                    int d = Distance(c, out.palette[i]);
                    if (d < bestDist)
                    {
                        bestDist = d;
                        best = int(i);
                    }
                }
                index = uint8_t(best);
                cache[keyOf] = index;
            }
            out.indices[size_t(y) * size_t(out.width) + size_t(x)] = index;
        }
    return out;
}

} // namespace gen
