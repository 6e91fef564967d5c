// The sprite sheet on a real OpenGL context; random packings are the fuzz targets'.
#include "graphics/CRectPacker.h"
#include "graphics/CSprite.h"
#include "graphics/CSpriteSheet.h"
#include "graphics/Shapes.h"
#include "graphics/Texture.h"
#include "support/Feedback.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <tuple>
#include <unistd.h>

namespace {

using Rgba = std::array<uint8_t, 4>;

// Every pixel differs from its neighbours, so a flip or a turn shows.
struct Image
{
    int w, h;
    uint8_t tag;
    bool alpha = false;   // else opaque
    Rgba At(int x, int y) const { return {uint8_t(x * 7 + 3), uint8_t(y * 5 + 1), tag, uint8_t(alpha ? x + 16 * y : 255)}; }
};

class Gl : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenGlWindow()) << "no OpenGL window (is DISPLAY set?): " << SDL_GetError();
        std::filesystem::create_directory(m_dir);
    }
    void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)), std::filesystem::remove_all(m_dir); }

    // An uncompressed TGA, top row first, with alpha if the image has it.
    std::string Tga(const std::string& name, const Image& image)
    {
        std::string t(18, '\0');
        t[2] = 2, t[12] = char(image.w), t[13] = char(image.w >> 8), t[14] = char(image.h), t[15] = char(image.h >> 8);
        t[16] = image.alpha ? 32 : 24, t[17] = image.alpha ? 0x28 : 0x20;
        for (int y = 0; y < image.h; ++y)
            for (int x = 0; x < image.w; ++x)
                for (int c : {2, 1, 0, 3}) t += c < 3 || image.alpha ? std::string(1, char(image.At(x, y)[c])) : "";
        std::ofstream(m_dir + name, std::ios::binary) << t;
        return m_dir + name;
    }

    // Loads a list, then expects sprite i's place to hold image i (turned a quarter clockwise if the sprite says so),
    // every other texel transparent, and the sprite drawn upright at its size (even sides: texels on pixels).
    void Load(const std::string& listText, const std::vector<Image>& bySprite)
    {
        std::ofstream(m_dir + "sprites.dat", std::ios::binary) << listText;
        sheet.Load(m_dir + "sprites.dat"), glBindTexture(GL_TEXTURE_2D, sheet.GetTextureId());
        int w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w), glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        ASSERT_TRUE(w == sheet.GetAtlasSide() && h == w && sheet.GetNumSprites() == bySprite.size()) << w << " " << h;
        std::vector<Rgba> atlas(size_t(w) * h), expected(atlas.size(), Rgba{0, 0, 0, 0});
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, atlas.data());
        for (unsigned i = 0; i < bySprite.size(); ++i) {
            const CSprite& s = sheet.GetSprite(i);
            const Image& image = bySprite[i];
            SCOPED_TRACE(i);
            EXPECT_TRUE(s.m_halfWidth * 2 == image.w && s.m_halfHeight * 2 == image.h && s.m_texId == sheet.GetTextureId());
            if (std::max(image.w, image.h) > 1024) continue;
            ASSERT_EQ(std::make_pair((s.m_u1 - s.m_u0) * w, (s.m_v1 - s.m_v0) * h),
                      s.m_turned ? std::make_pair(1.0f * image.h, 1.0f * image.w) : std::make_pair(1.0f * image.w, 1.0f * image.h));
            for (int iy = 0; iy < image.h; ++iy)
                for (int ix = 0; ix < image.w; ++ix)
                    expected.at(size_t(s.m_v0 * h + (s.m_turned ? ix : iy)) * w +
                                size_t(s.m_u0 * w + (s.m_turned ? image.h - 1 - iy : ix))) = image.At(ix, iy);
            if (image.h > 768) continue;
            std::vector<Rgba> shown(size_t(image.w) * image.h);
            glClear(GL_COLOR_BUFFER_BIT), glLoadIdentity(), glTranslatef(512, 384, 0), s.Draw();
            glReadPixels(512 - image.w / 2, 384 - image.h / 2, image.w, image.h, GL_RGBA, GL_UNSIGNED_BYTE, shown.data());
            for (size_t at = 0, wrong = 0; at < shown.size() && wrong < 3; ++at)   // rows bottom up
                if (std::memcmp(shown[at].data(), image.At(int(at % image.w), image.h - 1 - int(at / image.w)).data(), 3) && ++wrong)
                    ADD_FAILURE() << "drawn pixel " << at % image.w << "," << at / image.w;
        }
        for (size_t at = 0, wrong = 0; at < atlas.size() && wrong < 5; ++at)
            if (atlas[at] != expected[at] && ++wrong)
                ADD_FAILURE() << "texel " << at % w << "," << at / w << " alpha " << int(atlas[at][3]);
    }

    CSprite& Sprite(unsigned i) { return sheet.GetSprite(i); }

    CSpriteSheet sheet;
    const std::string m_dir = testing::TempDir() + "vesk-gfx-" + std::to_string(getpid()) + "/";
};

// Sprites are numbered smallest first and placed largest first where the atlas grows least; of equal sides the later
// first, leaving a strip 16 high that the tall image fills lying. A missing file or empty line takes no number.
TEST_F(Gl, sprite_sheet_worked_examples_give_order_places_and_texture)
{
    const Image a{64, 64, 10}, b{32, 48, 20}, c{128, 16, 30}, d{48, 32, 40, true};
    Load(Tga("a.tga", a) + "\n\n" + Tga("b.tga", b) + "\nnone.tga\n" + Tga("c.tga", c) + "\n" + Tga("d.tga", d), {b, d, a, c});
    EXPECT_EQ(sheet.GetAtlasSide(), 128);
    std::vector<float> places;
    for (unsigned i = 0; i < 4; ++i) places.insert(places.end(), {Sprite(i).m_u0 * 128, Sprite(i).m_v0 * 128});
    EXPECT_EQ(places, (std::vector<float>{65, 17, 0, 82, 0, 17, 0, 0}));

    const Image first{1024, 1007, 1}, second{1024, 1007, 2}, tall{16, 64, 4}, wide{999, 998, 8}, narrow{24, 8, 9, true};
    Load(Tga("1.tga", first) + "\n" + Tga("2.tga", second) + "\n" + Tga("w.tga", {1, 1025, 3}) + "\n" + Tga("t.tga", tall),
         {tall, second});
    EXPECT_TRUE(Sprite(0).m_turned);
    Load(Tga("x.tga", wide) + "\n" + Tga("n.tga", narrow), {narrow, wide});   // narrow fills the strip right of wide
    EXPECT_TRUE(!Sprite(0).m_turned && Sprite(0).m_u0 * 1024 == 1000 && Sprite(0).m_v0 == 0);

    // An image of no width is packed like any other: it takes 0,0 and the next one goes beside it.
    const Image none{0, 12, 5}, dot{8, 8, 6}, flat{1025, 0, 7}, thin{0, 1025, 8};   // the last two fit nowhere, draw nothing
    Load(Tga("z.tga", none) + "\n" + Tga("d.tga", dot) + "\n" + Tga("f.tga", flat) + "\n" + Tga("t.tga", thin), {dot, none, flat, thin});
    EXPECT_EQ(std::make_tuple(sheet.GetAtlasSide(), Sprite(0).m_u0 * 16, Sprite(1).m_halfHeight), std::make_tuple(16, 1.0f, 6.0f));
}

// The glyph packer's worked example to the coordinate: largest area first, of equal ones the later, the rest cut in three.
TEST(RectPacker, worked_example)
{
    Rect a{0, 0, 10, 20}, b{0, 0, 20, 10}, c{0, 0, 5, 5};
    CRectPacker packer;
    for (Rect* r : {&a, &b, &c}) packer.AddRect(r);
    packer.AddFreeRect({1, 1, 62, 62});
    std::vector<int> got{packer.Pack(1), a.x, a.y, b.x, b.y, c.x, c.y, packer.GetSize(), NextPowerOfTwo(kMaxPowerOfTwo + 1),
                         NextPowerOfTwo((1 << 17) + 1)};
    CRectPacker ties, exact;   // of free areas where the square grows alike the first; 0 by 0 never at 0,0
    Rect d{0, 0, 5, 5}, e{0, 0, 0, 0}, g{0, 0, 4, 4}, n{7, 7, -1, 5};   // g as wide as its area: only a piece below; n none
    ties.AddRect(&d), ties.AddRect(&e), ties.AddFreeRect({0, 0, 4, 4}), ties.AddFreeRect({1, 1, 9, 9}), ties.AddFreeRect({2, 2, 9, 9});
    exact.AddRect(&g), exact.AddRect(&n), exact.AddFreeRect({0, 0, 4, 9});
    got.insert(got.end(), {ties.Pack(0), d.x, d.y, e.x, e.y, exact.Pack(0), g.x, g.y, n.x, n.y});
    for (const CRectPacker* p : {&packer, &ties, &exact})
        for (const Rect& f : p->GetFreeRects()) got.insert(got.end(), {f.x, f.y, f.w, f.h});
    EXPECT_EQ(got, (std::vector<int>{true, 1, 12, 1, 1, 22, 1, 32, 0, 1 << 18, true, 1, 1, 2, 2, false, 0, 0, 7, 7, 22, 12, 41, 51, 12, 12,
                                     9, 20, 1, 33, 10, 30, 12, 33, 9, 30, 28, 1, 35, 5, 22, 7, 5, 4, 28, 7, 35, 4, 0, 0, 4, 4, 6, 1, 4, 5, 1, 6, 5, 4, 6, 6, 4, 4, 2, 2, 9, 0, 2, 2, 0, 9, 2, 2, 9, 9, 0, 4, 4, 5}));
}

// A disc is a fan of 32 triangles, a ring a closed band: their areas are 32-gons'; neither leaves a texture bound.
TEST_F(Gl, discs_and_rings_are_closed)
{
    const double gon = 16 * std::sin(M_PI / 16);   // a 32-gon's area over its radius squared
    for (bool disc : {true, false}) {
        double area = 0;
        glBindTexture(GL_TEXTURE_2D, 7), glLoadIdentity(), glTranslatef(512, 384, 0);
        for (const FeedbackPrimitive& p : CaptureFeedback([&] { disc ? DrawCircle(60, true) : DrawRing(60, 5); }))
            area += std::fabs((p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[2].x - p[0].x) * (p[1].y - p[0].y)) / 2;
        GLint bound = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_TRUE(std::fabs(area - gon * (disc ? 3600 : 65 * 65 - 3600)) < 0.5 && bound == 0) << area;
    }
}

// A texture the driver refuses is none and leaves no error; one someone else left pending fails no good upload.
TEST_F(Gl, a_refused_upload_gives_no_texture)
{
    GLint max = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
    EXPECT_EQ(UploadTexture(max * 2, GL_ALPHA8, GL_ALPHA, nullptr), 0u);
    glPopMatrix();   // the stack is empty: GL_STACK_UNDERFLOW
    EXPECT_NE(UploadTexture(4, GL_ALPHA8, GL_ALPHA, nullptr), 0u);
}

} // namespace
