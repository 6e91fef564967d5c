#include "Art.h"

#include <cmath>
#include <functional>

namespace gen {

namespace {

constexpr float PI = 3.14159265358979f;

float Clamp01(float v) { return std::fmin(1.0f, std::fmax(0.0f, v)); }

float SmoothStep(float e0, float e1, float x)
{
    float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

float Mix(float a, float b, float t) { return a + (b - a) * t; }

struct Colour { float r, g, b; };

Colour Mix(Colour a, Colour b, float t) { return { Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t) }; }

uint8_t ToByte(float v) { return uint8_t(std::lround(std::fmin(255.0f, std::fmax(0.0f, v)))); }

struct Palette { Colour dark, mid, light; };

// Each metal's dark, middle and light tone, in the order of Metal.
const Palette kMetals[] = { { { 66, 70, 78 }, { 178, 182, 190 }, { 252, 253, 255 } },
                            { { 88, 58, 22 }, { 216, 172, 96 }, { 255, 244, 206 } } };

// 1 on the raised emblem, 0 off it, with a bevel of about a pixel and a half.
float EmblemMask(Metal metal, float x, float y, float radius)
{
    float bevel = 1.5f / radius;
    if (metal == METAL_GOLD) {
        // A hexagon, like the board's cells.
        float d = 0.0f;
        for (int i = 0; i < 3; ++i) {
            float a = PI / 6.0f + float(i) * PI / 3.0f;
            d = std::fmax(d, std::fabs(x * std::cos(a) + y * std::sin(a)) / radius);
        }
        return 1.0f - SmoothStep(0.38f - bevel, 0.38f + bevel, d);
    }
    float r = std::sqrt(x * x + y * y) / radius;
    return SmoothStep(0.24f - bevel, 0.24f + bevel, r) * (1.0f - SmoothStep(0.48f - bevel, 0.48f + bevel, r));
}

// Relief of a token, in units of its full height, at (x, y) from its middle.
float TokenHeight(Metal metal, float x, float y, float radius)
{
    float r = std::sqrt(x * x + y * y) / radius;
    float h;
    if (r >= 0.80f) {   // rounded outer rim
        float u = (r - 0.80f) / 0.20f;
        h = 1.0f - u * u;
    } else if (r >= 0.70f) {   // a groove between rim and face
        float v = (r - 0.75f) / 0.05f;
        h = 0.5f + ((v < 0.0f ? 0.85f : 1.0f) - 0.5f) * v * v;
    } else {   // slightly domed face
        float q = r / 0.70f;
        h = 1.0f - 0.15f * q * q;
    }
    return h + 0.35f * EmblemMask(metal, x, y, radius);
}

Colour ShadeToken(Metal metal, float x, float y, float radius)
{
    const float height = std::fmax(2.0f, radius * 0.14f);   // relief in pixels
    const float e = 0.35f;
    float dhx = (TokenHeight(metal, x + e, y, radius) - TokenHeight(metal, x - e, y, radius)) * height / (2.0f * e);
    float dhy = (TokenHeight(metal, x, y + e, radius) - TokenHeight(metal, x, y - e, radius)) * height / (2.0f * e);
    float normalZ = 1.0f / std::sqrt(dhx * dhx + dhy * dhy + 1.0f);   // of the surface's unit normal

    // Tokens are drawn turned to their place in a stack, so the light must
    // not come from one side (a turned relief would look sunken): a soft
    // light from the front, plus a ring of light around the viewer that
    // catches every slope of a given steepness alike, as on a coin.
    float diffuse = Clamp01(normalZ);
    float slope = normalZ - 0.86f;
    float specular = std::exp(-slope * slope / 0.004f);
    float sheen = std::pow(diffuse, 40.0f);   // flat tops glint a little

    // Recesses catch less light.
    float r = std::sqrt(x * x + y * y) / radius;
    float groove = r > 0.70f && r < 0.80f ? 1.0f - std::fabs(r - 0.75f) / 0.05f : 0.0f;
    float ambient = 1.0f - 0.35f * groove;

    // The face around the emblem is satin, darker than the polished emblem
    // and rim, so the emblem reads without any side light.
    float satin = r < 0.72f ? 1.0f - 0.28f * (1.0f - EmblemMask(metal, x, y, radius)) : 1.0f;
    float falloff = 1.0f - 0.15f * r * r;

    const Palette& p = kMetals[metal];
    float t = (0.2f + 0.75f * diffuse * diffuse) * ambient * satin * falloff;
    return Mix(Mix(p.dark, p.mid, Clamp01(t)), p.light, Clamp01(0.8f * specular + 0.25f * sheen));
}

// The backdrop's triangle lattice at (fx, fy) from the middle: 1 on a line, fading to 0 within a
// pixel of it. Its side is a quarter of the board's cell spacing (170), so its corners meet every cell centre.
float Lattice(float fx, float fy)
{
    const float rowStep = 42.5f * std::sin(PI / 3.0f);
    const float normals[3][2] = { { 0.0f, 1.0f }, { std::sin(PI / 3.0f), 0.5f }, { -std::sin(PI / 3.0f), 0.5f } };
    float lattice = 0.0f;
    for (const auto& n : normals) {
        float t = (fx * n[0] + fy * n[1]) / rowStep;
        float dist = std::fabs(t - std::round(t)) * rowStep;
        lattice = std::fmax(lattice, Clamp01(1.0f - dist / 0.9f));
    }
    return lattice;
}

// A picture of `pixel(x, y)` at every pixel.
Image Paint(int width, int height, const std::function<Rgba(int x, int y)>& pixel)
{
    Image img{ width, height, {} };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            img.pixels.push_back(pixel(x, y));
    return img;
}

// A token in a picture: its metal, and its middle and radius in pixels.
struct Disc { Metal metal; float cx, cy, radius; };

// The discs, each in front of the ones after it, sampled 4 x 4 times per
// pixel for smooth edges. Where none reaches, alpha is 0 and the colour is
// the last one's rim, so filtering never pulls in a dark fringe.
Image PaintDiscs(int size, const std::vector<Disc>& discs)
{
    const int sub = 4;
    const Disc& back = discs.back();
    const Colour edge = ShadeToken(back.metal, back.radius * 0.97f, 0.0f, back.radius);
    return Paint(size, size, [&](int px, int py) {
        Colour sum = { 0, 0, 0 };
        int covered = 0;
        for (int sy = 0; sy < sub; ++sy)
            for (int sx = 0; sx < sub; ++sx)
                for (const Disc& d : discs) {
                    float x = float(px) + (float(sx) + 0.5f) / sub - d.cx;
                    float y = float(py) + (float(sy) + 0.5f) / sub - d.cy;
                    if (x * x + y * y >= d.radius * d.radius)
                        continue;
                    Colour c = ShadeToken(d.metal, x, y, d.radius);
                    sum = { sum.r + c.r, sum.g + c.g, sum.b + c.b };
                    ++covered;
                    break;
                }
        const float n = float(covered);
        Colour c = covered ? Colour{ sum.r / n, sum.g / n, sum.b / n } : edge;
        return Rgba{ ToByte(c.r), ToByte(c.g), ToByte(c.b), ToByte(255.0f * n / float(sub * sub)) };
    });
}

} // namespace

Image PaintToken(Metal metal)
{
    const float middle = float(TOKEN_SIZE) * 0.5f;
    return PaintDiscs(TOKEN_SIZE, { { metal, middle, middle, TOKEN_RADIUS } });
}

Image PaintBackground()
{
    const Colour centreColour = { 86, 108, 120 };
    const Colour edgeColour = { 28, 37, 45 };
    // 4 x 4 ordered dither keeps the slow gradient free of bands.
    const int bayer[4][4] = { { 0, 8, 2, 10 }, { 12, 4, 14, 6 }, { 3, 11, 1, 9 }, { 15, 7, 13, 5 } };
    return Paint(BACKGROUND_WIDTH, BACKGROUND_HEIGHT, [&](int x, int y) {
        // Image rows run down; the board's drawing space runs up.
        float fx = float(x) + 0.5f - 512.0f;
        float fy = float(BACKGROUND_HEIGHT - y) - 0.5f - 384.0f;
        float d = std::sqrt((fx * fx) / (620.0f * 620.0f) + (fy * fy) / (470.0f * 470.0f));
        Colour c = Mix(centreColour, edgeColour, SmoothStep(0.15f, 1.3f, d));

        // Soft mottling from a few slow waves.
        float mottle = std::sin(fx * 0.011f + 1.3f) * std::sin(fy * 0.014f - 0.7f) +
                       0.6f * std::sin((fx + fy) * 0.023f + 2.1f) * std::sin((fx - fy) * 0.017f);
        float lift = 2.2f * mottle + 7.0f * Lattice(fx, fy) * (1.0f - SmoothStep(0.35f, 1.05f, d));

        float dither = (float(bayer[y & 3][x & 3]) + 0.5f) / 16.0f - 0.5f;
        return Rgba{ ToByte(c.r + lift + dither), ToByte(c.g + lift + dither),
                     ToByte(c.b + lift * 1.1f + dither), 255 };
    });
}

Image PaintIcon(int size)
{
    // Gold in front at the bottom left, Silver behind at the top right.
    const float s = float(size) / 32.0f, gold = std::round(28.0f * s) * 0.5f, silver = std::round(24.0f * s) * 0.5f;
    return PaintDiscs(size, { { METAL_GOLD, gold, float(size) - gold, 12.8f * s },
                              { METAL_SILVER, float(size) - silver, silver, 10.8f * s } });
}

Image PaintMaskableIcon(int size)
{
    // A launcher may cut it to any shape that holds the middle circle of 80 %: the two tokens
    // shrunk into that circle, on the backdrop's dark edge to every border.
    const int inner = int(std::lround(float(size) * 0.75f)), at = (size - inner) / 2;
    const Image icon = PaintIcon(inner);
    const Colour back = { 28, 37, 45 };
    return Paint(size, size, [&](int x, int y) {
        const bool in = x >= at && y >= at && x < at + inner && y < at + inner;
        const Rgba p = in ? icon.pixels[size_t((y - at) * inner + (x - at))] : Rgba{};
        const float a = float(p.a) / 255.0f;
        return Rgba{ ToByte(Mix(back.r, float(p.r), a)), ToByte(Mix(back.g, float(p.g), a)),
                     ToByte(Mix(back.b, float(p.b), a)), 255 };
    });
}

} // namespace gen
