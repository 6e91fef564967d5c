#ifndef GEN_IMAGE_H_INCLUDED
#define GEN_IMAGE_H_INCLUDED

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gen {

// One straight (not premultiplied) RGBA pixel.
struct Rgba { uint8_t r = 0, g = 0, b = 0, a = 0; };

// An RGBA picture, rows from the top, as the files store it.
class Image
{
public:
    Image(int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }

    Rgba& at(int x, int y);
    const Rgba& at(int x, int y) const;

    // Draws `top` over this picture with its alpha (the usual "over").
    void compose(const Image& top, int dx, int dy);

private:
    int m_width;
    int m_height;
    std::vector<Rgba> m_pixels;
};

inline Rgba& Image::at(int x, int y)
{
    assert(x >= 0 && x < m_width && y >= 0 && y < m_height);
    return m_pixels[size_t(y) * size_t(m_width) + size_t(x)];
}

inline const Rgba& Image::at(int x, int y) const
{
    assert(x >= 0 && x < m_width && y >= 0 && y < m_height);
    return m_pixels[size_t(y) * size_t(m_width) + size_t(x)];
}

} // namespace gen

#endif
