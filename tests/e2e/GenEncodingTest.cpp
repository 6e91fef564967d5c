// The generator's file writers, checked by decoding their output with the
// same libraries the game loads data with (SDL_image, SDL's BMP and WAV
// readers), so a file that the game would misread fails here.
#include "Bmp.h"
#include "Png.h"
#include "Quantize.h"
#include "SurfaceProbe.h"
#include "Wav.h"

#include <SDL_image.h>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace {

// A picture that makes every PNG row filter worth choosing somewhere:
// flat runs, horizontal and vertical ramps, noise and varied alpha.
gen::Image Patterned(int w, int h)
{
    gen::Image img(w, h);
    uint32_t s = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            s = s * 1103515245u + 12345u;
            gen::Rgba& p = img.at(x, y);
            switch ((y / 4) % 4)
            {
            case 0: p = { 40, 90, 200, 255 }; break;
            case 1: p = { uint8_t(x * 7), uint8_t(x * 3), uint8_t(255 - x), uint8_t(x * 11) }; break;
            case 2: p = { uint8_t(y * 9), uint8_t(y), uint8_t(y * 5 + x), uint8_t(128 + y) }; break;
            default: p = { uint8_t(s >> 24), uint8_t(s >> 16), uint8_t(s >> 8), uint8_t(s >> 3) }; break;
            }
        }
    return img;
}

class Encoding : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = probe::MakeTempDir();
        ASSERT_FALSE(m_dir.empty());
    }
    void TearDown() override
    {
        if (!m_dir.empty())
            std::filesystem::remove_all(m_dir);
    }
    std::string m_dir;
};

// Every pixel, alpha included, must come back exactly; odd sizes catch
// stride and row-length mistakes.
TEST_F(Encoding, png_with_alpha_decodes_to_the_same_pixels)
{
    gen::Image img = Patterned(37, 29);
    std::string path = m_dir + "/rgba.png";
    ASSERT_TRUE(gen::WritePng(path, img, true));
    SDL_Surface* s = IMG_Load(path.c_str());
    ASSERT_NE(s, nullptr) << IMG_GetError();
    ASSERT_EQ(s->w, 37);
    ASSERT_EQ(s->h, 29);
    EXPECT_NE(s->format->Amask, 0u);
    int wrong = 0;
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 37; ++x)
        {
            gen::Rgba a = img.at(x, y), b = probe::PixelAt(s, x, y);
            wrong += a.r != b.r || a.g != b.g || a.b != b.b || a.a != b.a;
        }
    EXPECT_EQ(wrong, 0);
    SDL_FreeSurface(s);
}

// Without alpha the file is RGB: the picture is opaque in the game's atlas
// whatever alpha the painter left.
TEST_F(Encoding, png_without_alpha_is_opaque_with_the_same_colours)
{
    gen::Image img = Patterned(64, 20);
    std::string path = m_dir + "/rgb.png";
    ASSERT_TRUE(gen::WritePng(path, img, false));
    SDL_Surface* s = IMG_Load(path.c_str());
    ASSERT_NE(s, nullptr) << IMG_GetError();
    EXPECT_EQ(s->format->Amask, 0u);
    int wrong = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 64; ++x)
        {
            gen::Rgba a = img.at(x, y), b = probe::PixelAt(s, x, y);
            wrong += a.r != b.r || a.g != b.g || a.b != b.b || b.a != 255;
        }
    EXPECT_EQ(wrong, 0);
    SDL_FreeSurface(s);
}

// Rows of a width that is not a multiple of four are padded in the file;
// the palette and every index must survive.
TEST_F(Encoding, palette_bmp_keeps_indices_and_colours_at_odd_widths)
{
    gen::IndexedImage img;
    img.width = 13;
    img.height = 7;
    img.palette = { { 255, 0, 255, 255 }, { 10, 20, 30, 255 }, { 200, 150, 50, 255 },
                    { 0, 0, 0, 255 }, { 255, 255, 255, 255 } };
    for (int i = 0; i < 13 * 7; ++i)
        img.indices.push_back(uint8_t((i * 7 + i / 13) % 5));
    std::string path = m_dir + "/p.bmp";
    ASSERT_TRUE(probe::WriteBytes(path, gen::EncodePaletteBmp(img)));

    SDL_Surface* s = SDL_LoadBMP(path.c_str());
    ASSERT_NE(s, nullptr) << SDL_GetError();
    ASSERT_EQ(s->w, 13);
    ASSERT_EQ(s->h, 7);
    ASSERT_NE(s->format->palette, nullptr);
    EXPECT_EQ(s->format->BitsPerPixel, 8);
    ASSERT_GE(s->format->palette->ncolors, 5);
    for (int i = 0; i < 5; ++i)
    {
        const SDL_Color& c = s->format->palette->colors[i];
        EXPECT_EQ(c.r, img.palette[size_t(i)].r);
        EXPECT_EQ(c.g, img.palette[size_t(i)].g);
        EXPECT_EQ(c.b, img.palette[size_t(i)].b);
    }
    int wrong = 0;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x)
        {
            uint8_t index = static_cast<uint8_t*>(s->pixels)[y * s->pitch + x];
            wrong += index != img.indices[size_t(y * 13 + x)];
        }
    EXPECT_EQ(wrong, 0);
    SDL_FreeSurface(s);
}

// Samples map to 16-bit values; out-of-range ones clip instead of wrapping
// round to the opposite sign (a loud crack).
TEST_F(Encoding, wav_is_mono_16_bit_44100_and_clips_out_of_range_samples)
{
    std::vector<float> in = { 0.0f, 0.5f, -0.5f, 1.0f, -1.0f, 1.7f, -3.0f, 0.25f };
    std::string path = m_dir + "/s.wav";
    ASSERT_TRUE(probe::WriteBytes(path, gen::EncodeWav(in)));
    probe::Wave w = probe::LoadWave(path);
    ASSERT_TRUE(w.loaded) << SDL_GetError();
    EXPECT_EQ(w.spec.freq, 44100);
    EXPECT_EQ(w.spec.format, AUDIO_S16LSB);
    EXPECT_EQ(w.spec.channels, 1);
    ASSERT_EQ(w.samples.size(), in.size());
    for (size_t i = 0; i < in.size(); ++i)
    {
        float clipped = std::fmax(-1.0f, std::fmin(1.0f, in[i]));
        EXPECT_NEAR(w.samples[i], clipped * 32767.0f, 0.51f) << "sample " << i;
    }
}

// The icon's palette: index 0 is the key and nothing else.
TEST(Quantize, key_index_marks_exactly_the_transparent_pixels)
{
    gen::Image img(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            img.at(x, y) = { uint8_t(x * 30), uint8_t(y * 30), 90, uint8_t((x + y) % 3 ? 255 : 0) };
    // An opaque pixel that happens to be the key colour must stay visible.
    img.at(1, 0) = { 255, 0, 255, 255 };
    img.at(2, 0) = { 255, 0, 255, 127 };   // below half: transparent

    gen::IndexedImage q = gen::QuantizeWithKey(img, { 255, 0, 255, 255 });
    ASSERT_EQ(q.indices.size(), 64u);
    ASSERT_LE(q.palette.size(), 256u);
    EXPECT_EQ(q.palette[0].r, 255);
    EXPECT_EQ(q.palette[0].g, 0);
    EXPECT_EQ(q.palette[0].b, 255);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
        {
            bool transparent = img.at(x, y).a < 128;
            EXPECT_EQ(q.indices[size_t(y * 8 + x)] == 0, transparent) << x << "," << y;
        }
}

// Few colours come back exactly; many colours stay close: a smooth metal
// ramp must not collapse into a handful of bands.
TEST(Quantize, keeps_few_colours_exactly_and_many_colours_close)
{
    gen::Image few(6, 1);
    for (int x = 0; x < 6; ++x)
        few.at(x, 0) = { uint8_t(40 * x), 7, uint8_t(200 - 30 * x), 255 };
    gen::IndexedImage q = gen::QuantizeWithKey(few, { 255, 0, 255, 255 });
    for (int x = 0; x < 6; ++x)
    {
        const gen::Rgba& c = q.palette[q.indices[size_t(x)]];
        EXPECT_EQ(c.r, few.at(x, 0).r);
        EXPECT_EQ(c.b, few.at(x, 0).b);
    }

    gen::Image many(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            many.at(x, y) = { uint8_t(x * 8), uint8_t(y * 8), uint8_t((x * y) % 256), 255 };
    q = gen::QuantizeWithKey(many, { 255, 0, 255, 255 });
    ASSERT_EQ(q.palette.size(), 256u);
    std::set<uint8_t> used(q.indices.begin(), q.indices.end());
    EXPECT_GT(used.size(), 200u);
    int worst = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
        {
            const gen::Rgba& a = many.at(x, y);
            const gen::Rgba& b = q.palette[q.indices[size_t(y * 32 + x)]];
            worst = std::max({ worst, std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b) });
        }
    EXPECT_LE(worst, 40);
}

} // namespace
