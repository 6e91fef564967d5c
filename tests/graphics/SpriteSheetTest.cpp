// The sprite sheet on a real OpenGL context: list and image loading, the
// atlas read back texel by texel, the sprite table and drawing.
#include "GlTestSupport.h"

#include "graphics/CSpriteSheet.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Image
{
    int w, h;
    PixelFunction pixel;   // as the atlas must hold it
};

// Every pixel differs from its neighbours, so a flip or a turn shows.
PixelFunction Pattern(uint8_t tag)
{
    return [tag](int x, int y) { return Rgba{uint8_t(x * 7 + 3), uint8_t(y * 5 + 1), tag, 255}; };
}

const Rgba kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255}, kYellow{255, 255, 0, 255};

// Red top left, green top right, blue bottom left, yellow bottom right.
Image Quadrants(int w, int h)
{
    return {w, h, [w, h](int x, int y) { return y < h / 2 ? (x < w / 2 ? kRed : kGreen) : (x < w / 2 ? kBlue : kYellow); }};
}

class SpriteSheetTest : public GlWindowTest
{
protected:
    std::string Bmp(const std::string& name, const Image& image)
    {
        EXPECT_TRUE(WriteBmp24(m_dir.File(name), image.w, image.h, image.pixel)) << name;
        return m_dir.File(name);
    }

    // Loads a list of these lines, each ended by `end` (the last one too if `lastEnd`).
    void Load(CSpriteSheet& sheet, const std::vector<std::string>& lines, const std::string& end = "\n",
              bool lastEnd = true)
    {
        std::string text;
        for (size_t i = 0; i < lines.size(); ++i)
            text += lines[i] + (i + 1 < lines.size() || lastEnd ? end : "");
        m_dir.Write("sprites.dat", text);
        sheet.Load(m_dir.File("sprites.dat"));
    }

    // Sprite i's place holds image i (turned a quarter clockwise when the
    // sprite says so) and the rest of the atlas is transparent black.
    void ExpectAtlas(CSpriteSheet& sheet, const std::vector<Image>& bySprite)
    {
        int w = 0, h = 0;
        const std::vector<Rgba> atlas = ReadTexture(sheet.GetTextureId(), &w, &h);
        ASSERT_EQ(w, sheet.GetAtlasSide());
        ASSERT_EQ(h, sheet.GetAtlasSide());
        ASSERT_EQ(sheet.GetNumSprites(), bySprite.size());
        std::vector<const Image*> owner(atlas.size(), nullptr);
        std::vector<Rgba> expected(atlas.size(), Rgba{0, 0, 0, 0});
        for (unsigned i = 0; i < bySprite.size(); ++i) {
            const CSprite& s = sheet.GetSprite(i);
            const Image& image = bySprite[i];
            ASSERT_EQ(s.m_halfWidth * 2, image.w) << "sprite " << i;
            ASSERT_EQ(s.m_halfHeight * 2, image.h) << "sprite " << i;
            ASSERT_EQ((s.m_u1 - s.m_u0) * w, s.m_turned ? image.h : image.w) << "sprite " << i;
            ASSERT_EQ((s.m_v1 - s.m_v0) * h, s.m_turned ? image.w : image.h) << "sprite " << i;
            for (int iy = 0; iy < image.h; ++iy)
                for (int ix = 0; ix < image.w; ++ix) {
                    const size_t at = size_t(s.m_v0 * h + (s.m_turned ? ix : iy)) * w +
                                      size_t(s.m_u0 * w + (s.m_turned ? image.h - 1 - iy : ix));
                    ASSERT_LT(at, atlas.size());
                    ASSERT_EQ(owner[at], nullptr) << "sprites " << i << " and another share a texel";
                    owner[at] = &image;
                    expected[at] = image.pixel(ix, iy);
                }
        }
        int wrong = 0;
        for (size_t at = 0; at < atlas.size() && wrong < 5; ++at)
            if (!(atlas[at] == expected[at]) && ++wrong)
                ADD_FAILURE() << "texel " << at % w << "," << at / w << " is " << atlas[at] << ", expected "
                              << expected[at];
    }

    Rgba ScreenPixel(int x, int y)
    {
        Rgba c;
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &c);
        return c;
    }

    // Draws a quadrant sprite at (cx, cy): the right colours in the right
    // corners, and exactly its own size.
    void ExpectDrawnUpright(const CSprite& sprite, int cx, int cy)
    {
        const int hw = int(sprite.m_halfWidth), hh = int(sprite.m_halfHeight);
        glClear(GL_COLOR_BUFFER_BIT);
        glTranslatef(float(cx), float(cy), 0);
        sprite.Draw();
        glFinish();
        EXPECT_EQ(ScreenPixel(cx - hw / 2, cy + hh / 2), kRed);
        EXPECT_EQ(ScreenPixel(cx + hw / 2, cy + hh / 2), kGreen);
        EXPECT_EQ(ScreenPixel(cx - hw / 2, cy - hh / 2), kBlue);
        EXPECT_EQ(ScreenPixel(cx + hw / 2, cy - hh / 2), kYellow);
        const Rgba black{0, 0, 0, 255};
        EXPECT_TRUE(ScreenPixel(cx - hw - 1, cy) == black && ScreenPixel(cx + hw, cy) == black);
        EXPECT_TRUE(ScreenPixel(cx, cy + hh) == black && ScreenPixel(cx, cy - hh - 1) == black);
        EXPECT_FALSE(ScreenPixel(cx - hw, cy - hh) == black || ScreenPixel(cx + hw - 1, cy + hh - 1) == black);
    }

    TempDir m_dir;
};

TEST_F(SpriteSheetTest, worked_example_gives_size_order_coordinates_and_texture)
{
    const Image a{64, 64, Pattern(10)}, b{32, 48, Pattern(20)}, c{128, 16, Pattern(30)}, d{48, 32, Pattern(40)};
    CSpriteSheet sheet;
    Load(sheet, {Bmp("a.bmp", a), Bmp("b.bmp", b), Bmp("c.bmp", c), Bmp("d.bmp", d)});
    EXPECT_EQ(sheet.GetAtlasSide(), 128);
    ExpectAtlas(sheet, {b, d, a, c});

    const CSprite& spriteA = sheet.GetSprite(2);
    EXPECT_EQ(spriteA.m_u0, 0.0f);
    EXPECT_EQ(spriteA.m_u1, 0.5f);
    EXPECT_EQ(spriteA.m_v0, 0.1328125f);
    EXPECT_EQ(spriteA.m_v1, 0.6328125f);
    EXPECT_EQ(spriteA.m_halfHeight, 32.0f);
    EXPECT_EQ(spriteA.m_halfWidth, 32.0f);
    const CSprite& spriteB = sheet.GetSprite(0);   // at (65, 17)
    EXPECT_EQ(spriteB.m_u0, 65.0f / 128);
    EXPECT_EQ(spriteB.m_v1, 65.0f / 128);
    for (unsigned i = 0; i < 4; ++i)
        EXPECT_EQ(sheet.GetSprite(i).m_texId, sheet.GetTextureId());

    glBindTexture(GL_TEXTURE_2D, sheet.GetTextureId());
    const std::pair<GLenum, GLint> params[] = {{GL_TEXTURE_MIN_FILTER, GL_NEAREST}, {GL_TEXTURE_MAG_FILTER, GL_LINEAR},
                                               {GL_TEXTURE_WRAP_S, GL_REPEAT}, {GL_TEXTURE_WRAP_T, GL_REPEAT}};
    for (const auto& [name, value] : params) {
        GLint param = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &param);
        EXPECT_EQ(param, value) << name;
    }
}

TEST_F(SpriteSheetTest, failed_entries_take_no_index_and_equal_sides_keep_file_order)
{
    const Image tall{20, 40, Pattern(1)}, wide{40, 10, Pattern(2)}, square{40, 40, Pattern(3)}, small{8, 8, Pattern(4)};
    m_dir.Write("text.bmp", "not an image\n");
    CSpriteSheet sheet;
    // CR LF ends, an empty line, a missing file, a file that is no image, no final line end.
    Load(sheet, {Bmp("tall.bmp", tall), "", m_dir.File("missing.bmp"), Bmp("wide.bmp", wide), m_dir.File("text.bmp"),
                 Bmp("square.bmp", square), Bmp("small.bmp", small)}, "\r\n", false);
    ExpectAtlas(sheet, {small, tall, wide, square});
}

TEST_F(SpriteSheetTest, atlas_side_is_the_smallest_power_of_two)
{
    const Image full{1024, 1024, Pattern(9)}, dot{1, 1, [](int, int) { return Rgba{200, 100, 50, 255}; }};
    CSpriteSheet fullSheet, dotSheet;
    Load(fullSheet, {Bmp("full.bmp", full)});
    EXPECT_EQ(fullSheet.GetAtlasSide(), 1024);
    EXPECT_EQ(fullSheet.GetSprite(0).m_u1, 1.0f);
    EXPECT_EQ(fullSheet.GetSprite(0).m_v1, 1.0f);
    ExpectAtlas(fullSheet, {full});
    Load(dotSheet, {Bmp("dot.bmp", dot)});
    EXPECT_EQ(dotSheet.GetAtlasSide(), 1);
    ExpectAtlas(dotSheet, {dot});
}

// A missing or short sprite list must not stop the game, which asks for sprites 0 to 2.
TEST_F(SpriteSheetTest, missing_list_and_indices_beyond_the_table_give_empty_sprites)
{
    for (const char* list : {"absent.dat", "sprites.dat"}) {
        m_dir.Write("sprites.dat", "");
        CSpriteSheet sheet;
        sheet.Unload();   // safe before a load
        sheet.Load(m_dir.File(list));
        EXPECT_EQ(sheet.GetAtlasSide(), 1);
        ExpectAtlas(sheet, {});   // a 1 x 1 transparent texel
        EXPECT_EQ(sheet.GetSprite(0).m_halfWidth, 0.0f);
    }

    const Image one{16, 16, Pattern(8)};
    CSpriteSheet sheet;
    Load(sheet, {Bmp("one.bmp", one)});
    CSprite& beyond = sheet.GetSprite(2);
    EXPECT_TRUE(beyond.m_halfWidth == 0 && beyond.m_halfHeight == 0 && beyond.m_u1 == 0 && beyond.m_v1 == 0);
    beyond.m_halfWidth = 500;   // a caller's change must not stick
    EXPECT_EQ(sheet.GetSprite(1000000).m_halfWidth, 0.0f);
    EXPECT_EQ(sheet.GetSprite(0).m_halfWidth, 8.0f);

    glTranslatef(512, 384, 0);
    sheet.GetSprite(7).Draw();
    std::vector<Rgba> screen(1024 * 768);
    glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, screen.data());
    EXPECT_EQ(std::count(screen.begin(), screen.end(), Rgba{0, 0, 0, 255}), long(screen.size()));
}

TEST_F(SpriteSheetTest, alpha_and_colour_key_carry_into_the_atlas)
{
    const Image alpha{16, 16, [](int x, int y) { return Rgba{uint8_t(x * 16), uint8_t(y * 16), 77, uint8_t(x + y * 16)}; }};
    ASSERT_TRUE(WritePngRgba(m_dir.File("alpha.png"), alpha.w, alpha.h, alpha.pixel));
    const std::vector<Rgba> palette{{12, 34, 56, 255}, {250, 20, 20, 255}, {20, 20, 250, 255}};
    auto index = [](int x, int y) { return (x + y) % 3; };
    const Image keyed{12, 12, [&](int x, int y) { return index(x, y) ? palette[index(x, y)] : Rgba{0, 0, 0, 0}; }};
    ASSERT_TRUE(WritePngKeyed(m_dir.File("keyed.png"), keyed.w, keyed.h, palette, index));
    const Image opaque{8, 8, Pattern(5)};
    CSpriteSheet sheet;
    Load(sheet, {m_dir.File("alpha.png"), m_dir.File("keyed.png"), Bmp("opaque.bmp", opaque)});
    ExpectAtlas(sheet, {opaque, keyed, alpha});
}

TEST_F(SpriteSheetTest, image_without_room_is_left_out_and_overwrites_nothing)
{
    const Image first{1024, 600, Pattern(1)}, second{1024, 600, Pattern(2)}, tooWide{1025, 4, Pattern(3)},
        small{4, 4, Pattern(4)};
    CSpriteSheet sheet;
    Load(sheet, {Bmp("first.bmp", first), Bmp("second.bmp", second), Bmp("wide.bmp", tooWide), Bmp("small.bmp", small)});
    // Among equal sides the later in the file is placed first and gets the room.
    ExpectAtlas(sheet, {small, second});
}

TEST_F(SpriteSheetTest, sprites_draw_upright_at_their_own_size_also_when_placed_turned)
{
    const Image quads = Quadrants(16, 64), big{1024, 1000, Pattern(7)};
    CSpriteSheet alone, packed;
    Load(alone, {Bmp("quads.bmp", quads)});
    EXPECT_FALSE(alone.GetSprite(0).m_turned);
    ExpectDrawnUpright(alone.GetSprite(0), 300, 400);
    EXPECT_EQ(BoundTexture(), GLint(alone.GetTextureId()));

    // The large image leaves a strip 23 pixels high: the tall one fits only lying.
    glLoadIdentity();
    Load(packed, {Bmp("quads.bmp", quads), Bmp("big.bmp", big)});
    EXPECT_TRUE(packed.GetSprite(0).m_turned);
    EXPECT_EQ(packed.GetSprite(0).m_v0, 1001.0f / 1024);
    ExpectAtlas(packed, {quads, big});
    ExpectDrawnUpright(packed.GetSprite(0), 200, 300);
}

// The game's own call: "Data\sprites.dat" with Windows paths inside, from the working folder.
TEST_F(SpriteSheetTest, singleton_loads_the_data_list_relative_to_the_working_folder)
{
    ASSERT_EQ(mkdir(m_dir.File("Data").c_str(), 0755), 0);
    const Image token{24, 24, Pattern(11)}, backdrop{64, 32, Pattern(12)};
    Bmp("Data/token.bmp", token);
    Bmp("Data/backdrop.bmp", backdrop);
    m_dir.Write("Data/sprites.dat", "Data\\backdrop.bmp\r\nData\\token.bmp\r\n");
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(m_dir.path.c_str()), 0);
    CSpriteSheet::GetInstance()->Load();
    ASSERT_EQ(chdir(cwd), 0);

    CSpriteSheet::GetInstance()->Unload();   // changes nothing
    EXPECT_EQ(CSpriteSheet::GetInstance(), CSpriteSheet::GetInstance());
    ExpectAtlas(*CSpriteSheet::GetInstance(), {token, backdrop});
}

} // namespace
