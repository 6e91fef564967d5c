#include "Image.h"

#include <cmath>

namespace gen {

Image::Image(int width, int height)
    : m_width(width), m_height(height)
{
    assert(width > 0 && height > 0);
    m_pixels.resize(size_t(width) * size_t(height));
}

void Image::compose(const Image& top, int dx, int dy)
{
    for (int y = 0; y < top.height(); ++y)
        for (int x = 0; x < top.width(); ++x)
        {
            int tx = x + dx, ty = y + dy;
            if (tx < 0 || ty < 0 || tx >= m_width || ty >= m_height)
                continue;
            const Rgba& s = top.at(x, y);
            Rgba& d = at(tx, ty);
            float sa = s.a / 255.0f, da = d.a / 255.0f;
            float oa = sa + da * (1.0f - sa);
            if (oa <= 0.0f)
                continue;
            auto mix = [&](uint8_t sc, uint8_t dc) {
                float c = (sc * sa + dc * da * (1.0f - sa)) / oa;
                return uint8_t(std::lround(std::fmin(255.0f, std::fmax(0.0f, c))));
            };
            d.r = mix(s.r, d.r);
            d.g = mix(s.g, d.g);
            d.b = mix(s.b, d.b);
            d.a = uint8_t(std::lround(oa * 255.0f));
        }
}

} // namespace gen
