// Sprite sheet and drawing on a real OpenGL context: the atlas read back
// texel by texel, the screen read back, vertices caught in feedback mode
// (window coordinates, origin bottom left).
#include "graphics/CSprite.h"
#include "graphics/CSpriteSheet.h"
#include "graphics/Shapes.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

struct Rgba
{
    uint8_t r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};
const Rgba kBlack{0, 0, 0, 255};

struct Image
{
    int w, h;
    std::function<Rgba(int x, int y)> pixel;   // y downwards, as the atlas must hold it
};

// Every pixel differs from its neighbours, so a flip or a turn shows.
Image Pattern(int w, int h, uint8_t tag)
{
    return {w, h, [tag](int x, int y) { return Rgba{uint8_t(x * 7 + 3), uint8_t(y * 5 + 1), tag, 255}; }};
}

// One window for the whole process, set up as the engine does; every test
// starts from identity matrices, whichever ran before it.
class GlWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static SDL_Surface* screen = SDL_Init(SDL_INIT_VIDEO) == 0 ? SDL_SetVideoMode(1024, 768, 32, SDL_OPENGL) : nullptr;
        ASSERT_NE(screen, nullptr) << "no OpenGL window (is DISPLAY set?): " << SDL_GetError();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 1024, 0, 768, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_TEXTURE_2D);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        char pattern[] = "/tmp/vesk-gfx-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        std::filesystem::remove_all(m_dir);
    }

    std::string File(const std::string& name) { return m_dir + "/" + name; }

    // An uncompressed TGA, top row first; 24 bits drop the alpha.
    std::string Tga(const std::string& name, const Image& image, int bits = 24)
    {
        std::string t(18, '\0');
        t[2] = 2, t[12] = char(image.w), t[13] = char(image.w >> 8), t[14] = char(image.h), t[15] = char(image.h >> 8);
        t[16] = char(bits), t[17] = char(bits == 32 ? 0x28 : 0x20);
        for (int y = 0; y < image.h; ++y)
            for (int x = 0; x < image.w; ++x) {
                const Rgba c = image.pixel(x, y);
                t += bits == 32 ? std::string{char(c.b), char(c.g), char(c.r), char(c.a)} : std::string{char(c.b), char(c.g), char(c.r)};
            }
        std::ofstream(File(name), std::ios::binary) << t;
        return File(name);
    }

    void Load(CSpriteSheet& sheet, const std::string& listText)
    {
        std::ofstream(File("sprites.dat"), std::ios::binary) << listText;
        sheet.Load(File("sprites.dat"));
    }

    // Sprite i's place holds image i (turned a quarter clockwise when the
    // sprite says so) and every other texel is transparent black.
    void ExpectAtlas(CSpriteSheet& sheet, const std::vector<Image>& bySprite)
    {
        glBindTexture(GL_TEXTURE_2D, sheet.GetTextureId());
        int w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        ASSERT_TRUE(w == sheet.GetAtlasSide() && h == w);
        std::vector<Rgba> atlas(size_t(w) * h), expected(atlas.size(), Rgba{0, 0, 0, 0});
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, atlas.data());
        std::vector<bool> owned(atlas.size());
        ASSERT_EQ(sheet.GetNumSprites(), bySprite.size());
        for (unsigned i = 0; i < bySprite.size(); ++i) {
            const CSprite& s = sheet.GetSprite(i);
            const Image& image = bySprite[i];
            ASSERT_TRUE(s.m_halfWidth * 2 == image.w && s.m_halfHeight * 2 == image.h && s.m_texId == sheet.GetTextureId());
            if (image.w == 0 || image.h == 0)
                continue;   // nothing to draw, nowhere in the atlas
            ASSERT_EQ((s.m_u1 - s.m_u0) * w, s.m_turned ? image.h : image.w) << "sprite " << i;
            ASSERT_EQ((s.m_v1 - s.m_v0) * h, s.m_turned ? image.w : image.h) << "sprite " << i;
            for (int iy = 0; iy < image.h; ++iy)
                for (int ix = 0; ix < image.w; ++ix) {
                    const size_t at = size_t(s.m_v0 * h + (s.m_turned ? ix : iy)) * w +
                                      size_t(s.m_u0 * w + (s.m_turned ? image.h - 1 - iy : ix));
                    ASSERT_TRUE(at < atlas.size() && !owned[at]) << "sprite " << i << " shares a texel";
                    owned[at] = true;
                    expected[at] = image.pixel(ix, iy);
                }
        }
        for (size_t at = 0, wrong = 0; at < atlas.size() && wrong < 5; ++at)
            if (!(atlas[at] == expected[at]) && ++wrong)
                ADD_FAILURE() << "texel " << at % w << "," << at / w << " alpha " << int(atlas[at].a);
    }

    std::string m_dir;
};

using SpriteSheet = GlWindow;
using Drawing = GlWindow;

TEST_F(SpriteSheet, worked_example_gives_size_order_coordinates_and_texture)
{
    const Image a = Pattern(64, 64, 10), b = Pattern(32, 48, 20), c = Pattern(128, 16, 30), d = Pattern(48, 32, 40);
    CSpriteSheet sheet;
    Load(sheet, Tga("a.tga", a) + "\n" + Tga("b.tga", b) + "\n" + Tga("c.tga", c) + "\n" + Tga("d.tga", d) + "\n");
    EXPECT_EQ(sheet.GetAtlasSide(), 128);
    ExpectAtlas(sheet, {b, d, a, c});
    const CSprite& spriteA = sheet.GetSprite(2);
    EXPECT_TRUE(spriteA.m_u0 == 0 && spriteA.m_u1 == 0.5f && spriteA.m_v0 == 17.0f / 128 && spriteA.m_v1 == 81.0f / 128);
    EXPECT_TRUE(sheet.GetSprite(0).m_u0 == 65.0f / 128 && sheet.GetSprite(0).m_v1 == 65.0f / 128);   // B at (65, 17)
}

// Lines that load nothing (empty, missing, not an image) take no index; an
// image without width takes its index and draws nothing; CR LF, Windows
// separators and a last line without its end read like any other.
TEST_F(SpriteSheet, failed_entries_take_no_index_and_alpha_is_kept)
{
    const Image tall = Pattern(20, 40, 1), wide = Pattern(40, 10, 2), small = Pattern(8, 8, 4), flat = Pattern(0, 12, 5),
                alpha{16, 16, [](int x, int y) { return Rgba{uint8_t(x * 16), uint8_t(y * 16), 77, uint8_t(x + y * 16)}; }};
    std::ofstream(File("text.tga")) << "not an image\n";
    std::string windowsPath = Tga("wide.tga", wide);
    std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
    CSpriteSheet sheet;
    Load(sheet, Tga("tall.tga", tall) + "\r\n\r\n" + File("missing.tga") + "\r\n" + windowsPath + "\r\n" +
                    File("text.tga") + "\r\n" + Tga("alpha.tga", alpha, 32) + "\r\n" + Tga("flat.tga", flat) + "\r\n" +
                    Tga("small.tga", small));
    ExpectAtlas(sheet, {small, flat, alpha, tall, wide});
}

// Among equal sides the later in the file is placed first and gets the room;
// the strip it leaves is 23 pixels high, so the tall image fits only lying.
TEST_F(SpriteSheet, image_that_fits_nowhere_is_left_out_and_overwrites_nothing)
{
    const Image first = Pattern(1024, 1000, 1), second = Pattern(1024, 1000, 2), tall = Pattern(16, 64, 4);
    CSpriteSheet sheet;
    Load(sheet, Tga("1.tga", first) + "\n" + Tga("2.tga", second) + "\n" + Tga("w.tga", Pattern(1025, 4, 3)) + "\n" +
                    Tga("t.tga", tall) + "\n");
    EXPECT_TRUE(sheet.GetSprite(0).m_turned);
    ExpectAtlas(sheet, {tall, second});
}

// The game asks for sprites 0 to 2 whatever the list held.
TEST_F(SpriteSheet, missing_list_and_indices_beyond_the_table_draw_nothing)
{
    for (const char* list : {"absent.dat", "empty.dat"}) {
        std::ofstream(File("empty.dat")) << "";
        CSpriteSheet sheet;
        sheet.Load(File(list));
        EXPECT_EQ(sheet.GetAtlasSide(), 1);
        ExpectAtlas(sheet, {});   // one transparent texel
    }
    CSpriteSheet sheet;
    Load(sheet, Tga("one.tga", Pattern(16, 16, 8)) + "\n");
    sheet.GetSprite(2).m_halfWidth = 500;   // a caller's change must not stick
    glTranslatef(512, 384, 0);
    sheet.GetSprite(2).Draw();
    sheet.GetSprite(1000000).Draw();
    std::vector<Rgba> screen(1024 * 768);
    glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, screen.data());
    EXPECT_EQ(std::count(screen.begin(), screen.end(), kBlack), long(screen.size()));
}

struct Vertex
{
    float x, y, s, t;
};
using Primitive = std::vector<Vertex>;

std::vector<Primitive> Capture(const std::function<void()>& draw)
{
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint count = glRenderMode(GL_RENDER);
    EXPECT_GE(count, 0) << "feedback buffer overflow";
    std::vector<Primitive> primitives;
    for (GLint i = 0; i < count;) {
        const GLint token = GLint(buffer[i++]);
        const bool line = token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN;
        EXPECT_TRUE(line || token == GL_POLYGON_TOKEN) << token;
        primitives.emplace_back();
        for (int k = 0, n = line ? 2 : int(buffer[i++]); k < n; ++k, i += 11)   // x y z, r g b a, s t p q
            primitives.back().push_back({buffer[i], buffer[i + 1], buffer[i + 7], buffer[i + 8]});
    }
    return primitives;
}

const float kCx = 512, kCy = 384;

bool HasRim(const Primitive& p, float radius, int i)
{
    const double angle = 2 * M_PI * i / 32;
    const float x = kCx + float(radius * std::cos(angle)), y = kCy + float(radius * std::sin(angle));
    return std::any_of(p.begin(), p.end(), [&](const Vertex& v) { return std::hypot(v.x - x, v.y - y) < 0.01f; });
}
float SignedArea(const Primitive& p)
{
    float area = 0;
    for (size_t i = 0; i < p.size(); ++i)
        area += (p[i].x * p[(i + 1) % p.size()].y - p[(i + 1) % p.size()].x * p[i].y) / 2;
    return area;
}

TEST_F(Drawing, sprite_is_a_quad_of_its_size_with_its_texture_corners)
{
    CSprite sprite;
    sprite.m_u0 = 0.25f, sprite.m_u1 = 0.5f, sprite.m_v0 = 0.125f, sprite.m_v1 = 0.75f;
    sprite.m_halfHeight = 16, sprite.m_halfWidth = 32, sprite.m_texId = 7;
    glTranslatef(kCx, kCy, 0);
    // Bottom left, top left, top right, bottom right: upright the image's top
    // row (v0) is the upper edge; turned, its top row is the place's right column (u1).
    const float corners[4][2] = {{-32, -16}, {-32, 16}, {32, 16}, {32, -16}};
    const float st[2][4][2] = {{{0.25f, 0.75f}, {0.25f, 0.125f}, {0.5f, 0.125f}, {0.5f, 0.75f}},
                               {{0.25f, 0.125f}, {0.5f, 0.125f}, {0.5f, 0.75f}, {0.25f, 0.75f}}};
    for (int turned : {0, 1}) {
        sprite.m_turned = turned;
        float area = 0;
        for (const Primitive& p : Capture([&] { sprite.Draw(); })) {
            area += SignedArea(p);
            for (const Vertex& v : p) {
                int k = 0;
                while (k < 4 && !(v.x == kCx + corners[k][0] && v.y == kCy + corners[k][1]))
                    ++k;
                ASSERT_LT(k, 4) << "vertex away from the corners: " << v.x << "," << v.y;
                EXPECT_TRUE(v.s == st[turned][k][0] && v.t == st[turned][k][1]) << "corner " << k << " turned " << turned;
            }
        }
        EXPECT_NEAR(area, -64 * 32, 0.5f) << "the quad covers its size once";
    }
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 7);
}

TEST_F(Drawing, circle_and_ring_follow_the_unit_circle_counter_clockwise)
{
    glTranslatef(kCx, kCy, 0);
    // Disc: 34 vertices, the centre then 33 rim points of which the last repeats the first.
    const std::vector<Primitive> fan = Capture([] { DrawCircle(60, true); });
    ASSERT_EQ(fan.size(), 32u);
    for (int k = 0; k < 32; ++k) {
        EXPECT_TRUE(fan[k].size() == 3 && HasRim(fan[k], 0, 0) && HasRim(fan[k], 60, k) && HasRim(fan[k], 60, k + 1)) << k;
        EXPECT_GT(SignedArea(fan[k]), 0) << k;
    }
    // Outline: 33 vertices in a loop, 32 sides and a closing side of no length.
    const std::vector<Primitive> loop = Capture([] { DrawCircle(5, false); });
    ASSERT_EQ(loop.size(), 33u);
    for (int k = 0; k < 33; ++k)
        EXPECT_TRUE(loop[k].size() == 2 && HasRim(loop[k], 5, k) && HasRim(loop[k], 5, (k + 1) % 33)) << k;
    // Ring: 66 vertices in a strip, vertex 2j inner point j, 2j + 1 outer point j.
    const std::vector<Primitive> band = Capture([] { DrawRing(50, 10); });
    ASSERT_EQ(band.size(), 64u);
    for (int k = 0; k < 64; ++k) {
        EXPECT_TRUE(HasRim(band[k], 50 + 10 * (k % 2), k / 2) && HasRim(band[k], 60 - 10 * (k % 2), (k + 1) / 2) &&
                    HasRim(band[k], 50 + 10 * (k % 2), k / 2 + 1)) << k;
        EXPECT_GT(SignedArea(band[k]), 0) << k;
    }
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0) << "shapes draw untextured";
}

} // namespace
