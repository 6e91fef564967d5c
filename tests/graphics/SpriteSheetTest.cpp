// The sprite sheet on a real OpenGL context: list reading, image loading,
// the atlas texture read back pixel by pixel, and the sprite table.
#include "GlTestSupport.h"

#include "graphics/CSpriteSheet.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ListedImage
{
    int w;
    int h;
    PixelFunction pixel;   // as the atlas must hold it
};

// A pattern that shows any flip or turn: every pixel differs from its neighbours.
PixelFunction Pattern(uint8_t tag)
{
    return [tag](int x, int y) { return Rgba{uint8_t(x * 7 + 3), uint8_t(y * 5 + 1), tag, 255}; };
}

PixelFunction Solid(Rgba c)
{
    return [c](int, int) { return c; };
}

// Four quadrants: red top left, green top right, blue bottom left, yellow bottom right.
PixelFunction Quadrants(int w, int h)
{
    return [w, h](int x, int y) {
        const bool right = x >= w / 2, bottom = y >= h / 2;
        if (!bottom)
            return right ? Rgba{0, 255, 0, 255} : Rgba{255, 0, 0, 255};
        return right ? Rgba{255, 255, 0, 255} : Rgba{0, 0, 255, 255};
    };
}

class SpriteSheetTest : public GlWindowTest
{
protected:
    // Writes a 24-bit BMP for the image and returns its path.
    std::string Bmp(const std::string& name, const ListedImage& image)
    {
        const std::string path = m_dir.File(name);
        EXPECT_TRUE(WriteBmp24(path, image.w, image.h, image.pixel)) << path;
        return path;
    }

    std::string List(const std::vector<std::string>& lines, const std::string& lineEnd = "\n", bool lastEnd = true)
    {
        std::string text;
        for (size_t i = 0; i < lines.size(); ++i)
            text += lines[i] + (i + 1 < lines.size() || lastEnd ? lineEnd : "");
        m_dir.Write("sprites.dat", text);
        return m_dir.File("sprites.dat");
    }

    // The atlas holds each sprite's image in its place (turned ones turned a
    // quarter clockwise) and transparent black everywhere else.
    void ExpectAtlas(const CSpriteSheet& sheet, const std::vector<ListedImage>& bySprite)
    {
        int w = 0, h = 0;
        const std::vector<Rgba> atlas = ReadTexture(sheet.GetTextureId(), &w, &h);
        ASSERT_EQ(w, sheet.GetAtlasSide());
        ASSERT_EQ(h, sheet.GetAtlasSide());
        ASSERT_EQ(bySprite.size(), sheet.GetNumSprites());
        std::vector<bool> covered(atlas.size(), false);
        int mismatches = 0;
        for (unsigned i = 0; i < bySprite.size(); ++i) {
            CSprite& sprite = const_cast<CSpriteSheet&>(sheet).GetSprite(i);
            const int x0 = int(sprite.m_u0 * w), y0 = int(sprite.m_v0 * h);
            const ListedImage& image = bySprite[i];
            ASSERT_EQ(sprite.m_halfWidth * 2, image.w) << "sprite " << i;
            ASSERT_EQ(sprite.m_halfHeight * 2, image.h) << "sprite " << i;
            const int placeW = sprite.m_turned ? image.h : image.w;
            const int placeH = sprite.m_turned ? image.w : image.h;
            ASSERT_EQ(int((sprite.m_u1 - sprite.m_u0) * w + 0.5f), placeW) << "sprite " << i;
            ASSERT_EQ(int((sprite.m_v1 - sprite.m_v0) * h + 0.5f), placeH) << "sprite " << i;
            for (int iy = 0; iy < image.h; ++iy)
                for (int ix = 0; ix < image.w; ++ix) {
                    const int ax = x0 + (sprite.m_turned ? image.h - 1 - iy : ix);
                    const int ay = y0 + (sprite.m_turned ? ix : iy);
                    ASSERT_TRUE(ax >= 0 && ay >= 0 && ax < w && ay < h);
                    const size_t at = size_t(ay) * w + ax;
                    EXPECT_FALSE(covered[at]) << "two sprites share atlas pixel " << ax << "," << ay;
                    covered[at] = true;
                    if (!(atlas[at] == image.pixel(ix, iy)) && ++mismatches <= 5)
                        ADD_FAILURE() << "sprite " << i << " pixel " << ix << "," << iy << ": atlas "
                                      << atlas[at] << ", image " << image.pixel(ix, iy);
                }
        }
        const Rgba clear{0, 0, 0, 0};
        for (size_t at = 0; at < atlas.size(); ++at)
            if (!covered[at] && !(atlas[at] == clear) && ++mismatches <= 5)
                ADD_FAILURE() << "pixel outside every sprite at " << at % w << "," << at / w << ": " << atlas[at];
        EXPECT_EQ(mismatches, 0);
    }

    Rgba ScreenPixel(int x, int y)
    {
        Rgba c;
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &c);
        return c;
    }

    // Draws the sprite centred on (cx, cy) and checks its quadrants and edges.
    void ExpectDrawnUpright(const CSprite& sprite, int cx, int cy)
    {
        const int hw = int(sprite.m_halfWidth), hh = int(sprite.m_halfHeight);
        glClear(GL_COLOR_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(float(cx), float(cy), 0);
        sprite.Draw();
        glFinish();
        EXPECT_EQ(ScreenPixel(cx - hw / 2, cy + hh / 2), (Rgba{255, 0, 0, 255})) << "top left";
        EXPECT_EQ(ScreenPixel(cx + hw / 2, cy + hh / 2), (Rgba{0, 255, 0, 255})) << "top right";
        EXPECT_EQ(ScreenPixel(cx - hw / 2, cy - hh / 2), (Rgba{0, 0, 255, 255})) << "bottom left";
        EXPECT_EQ(ScreenPixel(cx + hw / 2, cy - hh / 2), (Rgba{255, 255, 0, 255})) << "bottom right";
        const Rgba background{0, 0, 0, 255};
        EXPECT_FALSE(ScreenPixel(cx - hw, cy) == background);
        EXPECT_EQ(ScreenPixel(cx - hw - 1, cy), background);
        EXPECT_FALSE(ScreenPixel(cx + hw - 1, cy) == background);
        EXPECT_EQ(ScreenPixel(cx + hw, cy), background);
        EXPECT_FALSE(ScreenPixel(cx, cy + hh - 1) == background);
        EXPECT_EQ(ScreenPixel(cx, cy + hh), background);
        EXPECT_FALSE(ScreenPixel(cx, cy - hh) == background);
        EXPECT_EQ(ScreenPixel(cx, cy - hh - 1), background);
    }

    void TearDown() override
    {
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    TempDir m_dir;
};

TEST_F(SpriteSheetTest, worked_example_gives_size_order_and_coordinates)
{
    const ListedImage a{64, 64, Pattern(10)}, b{32, 48, Pattern(20)}, c{128, 16, Pattern(30)}, d{48, 32, Pattern(40)};
    CSpriteSheet sheet;
    sheet.Load(List({Bmp("a.bmp", a), Bmp("b.bmp", b), Bmp("c.bmp", c), Bmp("d.bmp", d)}));

    ASSERT_EQ(sheet.GetNumSprites(), 4u);
    EXPECT_EQ(sheet.GetAtlasSide(), 128);
    ExpectAtlas(sheet, {b, d, a, c});

    const CSprite& spriteA = sheet.GetSprite(2);
    EXPECT_EQ(spriteA.m_u0, 0.0f);
    EXPECT_EQ(spriteA.m_u1, 0.5f);
    EXPECT_EQ(spriteA.m_v0, 0.1328125f);
    EXPECT_EQ(spriteA.m_v1, 0.6328125f);
    EXPECT_EQ(spriteA.m_halfHeight, 32.0f);
    EXPECT_EQ(spriteA.m_halfWidth, 32.0f);
    // B at (65, 17), 32 x 48: half height before half width.
    const CSprite& spriteB = sheet.GetSprite(0);
    EXPECT_EQ(spriteB.m_u0, 65.0f / 128);
    EXPECT_EQ(spriteB.m_u1, 97.0f / 128);
    EXPECT_EQ(spriteB.m_v0, 17.0f / 128);
    EXPECT_EQ(spriteB.m_v1, 65.0f / 128);
    EXPECT_EQ(spriteB.m_halfHeight, 24.0f);
    EXPECT_EQ(spriteB.m_halfWidth, 16.0f);

    for (unsigned i = 0; i < 4; ++i) {
        EXPECT_EQ(sheet.GetSprite(i).m_texId, sheet.GetTextureId());
        EXPECT_FALSE(sheet.GetSprite(i).m_turned);
    }
    EXPECT_NE(sheet.GetTextureId(), 0u);
    glBindTexture(GL_TEXTURE_2D, sheet.GetTextureId());
    GLint param = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &param);
    EXPECT_EQ(param, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &param);
    EXPECT_EQ(param, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &param);
    EXPECT_EQ(param, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &param);
    EXPECT_EQ(param, GL_REPEAT);
}

TEST_F(SpriteSheetTest, failed_entries_take_no_index_and_equal_sides_keep_file_order)
{
    const ListedImage tall{20, 40, Pattern(1)}, wide{40, 10, Pattern(2)}, square{40, 40, Pattern(3)},
        small{8, 8, Pattern(4)};
    m_dir.Write("text.bmp", "not an image\n");
    // CR LF ends, an empty line, a missing file, a file that is no image, and
    // a last line without a line end.
    const std::string list = List({Bmp("tall.bmp", tall), "", m_dir.File("missing.bmp"), Bmp("wide.bmp", wide),
                                   m_dir.File("text.bmp"), Bmp("square.bmp", square), Bmp("small.bmp", small)},
                                  "\r\n", false);
    CSpriteSheet sheet;
    sheet.Load(list);
    ASSERT_EQ(sheet.GetNumSprites(), 4u);
    ExpectAtlas(sheet, {small, tall, wide, square});
    EXPECT_EQ(sheet.GetImages().size(), 7u);
}

TEST_F(SpriteSheetTest, atlas_side_follows_the_images)
{
    {   // One image filling the whole area.
        const ListedImage full{1024, 1024, Pattern(9)};
        CSpriteSheet sheet;
        sheet.Load(List({Bmp("full.bmp", full)}));
        ASSERT_EQ(sheet.GetNumSprites(), 1u);
        EXPECT_EQ(sheet.GetAtlasSide(), 1024);
        const CSprite& s = sheet.GetSprite(0);
        EXPECT_EQ(s.m_u0, 0.0f);
        EXPECT_EQ(s.m_v0, 0.0f);
        EXPECT_EQ(s.m_u1, 1.0f);
        EXPECT_EQ(s.m_v1, 1.0f);
        ExpectAtlas(sheet, {full});
    }
    {
        const ListedImage dot{1, 1, Solid({200, 100, 50, 255})};
        CSpriteSheet sheet;
        sheet.Load(List({Bmp("dot.bmp", dot)}));
        EXPECT_EQ(sheet.GetAtlasSide(), 1);
        ExpectAtlas(sheet, {dot});
    }
}

TEST_F(SpriteSheetTest, missing_or_empty_list_gives_no_sprites_and_a_clear_texel)
{
    for (bool exists : {false, true}) {
        if (exists)
            List({}, "\n");
        CSpriteSheet sheet;
        sheet.Unload();   // safe before a load
        sheet.Load(m_dir.File(exists ? "sprites.dat" : "absent.dat"));
        EXPECT_EQ(sheet.GetNumSprites(), 0u);
        EXPECT_EQ(sheet.GetAtlasSide(), 1);
        int w = 0, h = 0;
        const std::vector<Rgba> atlas = ReadTexture(sheet.GetTextureId(), &w, &h);
        EXPECT_EQ(w, 1);
        EXPECT_EQ(h, 1);
        ASSERT_EQ(atlas.size(), 1u);
        EXPECT_EQ(atlas[0], (Rgba{0, 0, 0, 0}));
        const CSprite& none = sheet.GetSprite(0);
        EXPECT_EQ(none.m_halfWidth, 0.0f);
        EXPECT_EQ(none.m_halfHeight, 0.0f);
        sheet.Unload();
    }
}

// A short sprite list must not stop the game: the world asks for sprites 0 to 2.
TEST_F(SpriteSheetTest, sprite_beyond_the_table_is_empty_and_draws_nothing)
{
    const ListedImage one{16, 16, Solid({255, 255, 255, 255})};
    CSpriteSheet sheet;
    sheet.Load(List({Bmp("one.bmp", one)}));
    ASSERT_EQ(sheet.GetNumSprites(), 1u);

    CSprite& beyond = sheet.GetSprite(2);
    EXPECT_EQ(beyond.m_halfWidth, 0.0f);
    EXPECT_EQ(beyond.m_halfHeight, 0.0f);
    EXPECT_EQ(beyond.m_u1, 0.0f);
    beyond.m_halfWidth = 500;   // a caller's change must not stick
    EXPECT_EQ(sheet.GetSprite(1000000).m_halfWidth, 0.0f);
    EXPECT_EQ(sheet.GetSprite(0).m_halfWidth, 8.0f);

    glClear(GL_COLOR_BUFFER_BIT);
    glTranslatef(512, 384, 0);
    sheet.GetSprite(7).Draw();
    std::vector<uint8_t> screen(1024 * 768 * 4);
    glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, screen.data());
    size_t lit = 0;
    for (size_t i = 0; i < screen.size(); i += 4)
        lit += screen[i] | screen[i + 1] | screen[i + 2] ? 1 : 0;
    EXPECT_EQ(lit, 0u);
}

TEST_F(SpriteSheetTest, alpha_and_colour_key_carry_into_the_atlas)
{
    const ListedImage alpha{16, 16, [](int x, int y) {
        return Rgba{uint8_t(x * 16), uint8_t(y * 16), 77, uint8_t(x + y * 16)};
    }};
    ASSERT_TRUE(WritePngRgba(m_dir.File("alpha.png"), alpha.w, alpha.h, alpha.pixel));

    const std::vector<Rgba> palette{{12, 34, 56, 255}, {250, 20, 20, 255}, {20, 20, 250, 255}};
    auto index = [](int x, int y) { return (x + y) % 3; };
    const ListedImage keyed{12, 12, [&palette, index](int x, int y) {
        const int i = index(x, y);
        return i == 0 ? Rgba{0, 0, 0, 0} : palette[i];
    }};
    ASSERT_TRUE(WritePngPalette(m_dir.File("keyed.png"), keyed.w, keyed.h, palette, 0, index));

    const ListedImage opaque{8, 8, Pattern(5)};
    CSpriteSheet sheet;
    sheet.Load(List({m_dir.File("alpha.png"), m_dir.File("keyed.png"), Bmp("opaque.bmp", opaque)}));
    ASSERT_EQ(sheet.GetNumSprites(), 3u);
    ExpectAtlas(sheet, {opaque, keyed, alpha});
}

TEST_F(SpriteSheetTest, image_without_room_is_left_out_and_overwrites_nothing)
{
    const ListedImage first{1024, 600, Solid({255, 0, 0, 255})}, second{1024, 600, Pattern(6)},
        tooWide{1025, 4, Solid({0, 0, 255, 255})}, small{4, 4, Solid({9, 9, 9, 255})};
    CSpriteSheet sheet;
    sheet.Load(List({Bmp("first.bmp", first), Bmp("second.bmp", second), Bmp("wide.bmp", tooWide),
                     Bmp("small.bmp", small)}));
    // Largest first, later in the file first among equals: second gets the room.
    ASSERT_EQ(sheet.GetNumSprites(), 2u);
    ExpectAtlas(sheet, {small, second});
}

TEST_F(SpriteSheetTest, sprite_draws_upright_at_its_own_size)
{
    const ListedImage quads{16, 64, Quadrants(16, 64)};
    CSpriteSheet sheet;
    sheet.Load(List({Bmp("quads.bmp", quads)}));
    ASSERT_EQ(sheet.GetNumSprites(), 1u);
    EXPECT_FALSE(sheet.GetSprite(0).m_turned);
    ExpectDrawnUpright(sheet.GetSprite(0), 300, 400);
    EXPECT_EQ(BoundTexture(), GLint(sheet.GetTextureId()));
}

TEST_F(SpriteSheetTest, image_placed_turned_still_draws_upright)
{
    // The large image leaves a strip 23 pixels high: the tall one fits only lying.
    const ListedImage big{1024, 1000, Solid({90, 90, 90, 255})}, quads{16, 64, Quadrants(16, 64)};
    CSpriteSheet sheet;
    sheet.Load(List({Bmp("quads.bmp", quads), Bmp("big.bmp", big)}));
    ASSERT_EQ(sheet.GetNumSprites(), 2u);
    EXPECT_EQ(sheet.GetAtlasSide(), 1024);
    const CSprite& turned = sheet.GetSprite(0);
    EXPECT_TRUE(turned.m_turned);
    EXPECT_EQ(turned.m_halfWidth, 8.0f);
    EXPECT_EQ(turned.m_halfHeight, 32.0f);
    EXPECT_EQ(turned.m_v0, 1001.0f / 1024);
    ExpectAtlas(sheet, {quads, big});
    ExpectDrawnUpright(turned, 200, 300);
}

// The game's own call: "Data\sprites.dat" with Windows paths inside, from
// the working directory.
TEST_F(SpriteSheetTest, singleton_loads_the_data_list_relative_to_the_working_folder)
{
    ASSERT_EQ(mkdir(m_dir.File("Data").c_str(), 0755), 0);
    const ListedImage token{24, 24, Pattern(11)}, backdrop{64, 32, Pattern(12)};
    Bmp("Data/token.bmp", token);
    Bmp("Data/backdrop.bmp", backdrop);
    m_dir.Write("Data/sprites.dat", "Data\\backdrop.bmp\r\nData\\token.bmp\r\n");

    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(m_dir.Path().c_str()), 0);
    CSpriteSheet* sheet = CSpriteSheet::GetInstance();
    sheet->Load();
    ASSERT_EQ(chdir(cwd), 0);

    EXPECT_EQ(sheet, CSpriteSheet::GetInstance());
    ASSERT_EQ(sheet->GetNumSprites(), 2u);
    ExpectAtlas(*sheet, {token, backdrop});
    sheet->Unload();
    EXPECT_EQ(sheet->GetNumSprites(), 2u);   // the table stays for the whole run
}

} // namespace
