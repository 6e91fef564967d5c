// The texture font in a real OpenGL window: what DrawString emits is caught
// in feedback mode, the atlas is read back and compared with FreeType's own
// rendering of the same glyphs.
#include "TestFonts.h"
#include "text/CFontManager.h"
#include "text/CTextureFont.h"

#include <SDL.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

const char* const kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";   // fonts-dejavu-core
const float kSize = 24.0f;

// One window per process, set up as the engine sets it: one unit per pixel, y up.
bool OpenWindow()
{
    static bool open = SDL_Init(SDL_INIT_VIDEO) == 0 && SDL_SetVideoMode(1024, 768, 32, SDL_OPENGL) != nullptr;
    if (open)
    {
        glViewport(0, 0, 1024, 768);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 1024, 0, 768, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_TEXTURE_2D);
    }
    return open;
}

// One glyph quad as drawn, relative to the origin it was drawn from.
struct Quad
{
    float x0, y0, x1, y1;   // left, bottom, right, top
    float s0, t0, s1, t1;   // texture coordinates at those edges
    bool  matched;          // every corner took the texture corner of the same side
};

// Draws `text` from (ox, oy) in feedback mode and gathers the quads.
std::vector<Quad> DrawQuads(const CTextureFont& font, const std::string& text, float ox = 100, float oy = 300)
{
    const int floatsPerVertex = 3 + 4 + 4;
    std::vector<GLfloat> buffer(64 + text.size() * 2 * (2 + 3 * floatsPerVertex));
    glLoadIdentity();
    glTranslatef(ox, oy, 0);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    font.DrawString(text.c_str());
    const GLint count = glRenderMode(GL_RENDER);
    EXPECT_GE(count, 0) << "feedback buffer overflow";

    // A quad comes back as one polygon of four corners or as two triangles.
    struct Vertex { float x, y, s, t; };
    std::vector<Quad> quads;
    std::vector<Vertex> corners;
    for (GLint i = 0; i < count;)
    {
        if (buffer[i++] != GL_POLYGON_TOKEN)
        {
            ADD_FAILURE() << "unexpected feedback token " << buffer[i - 1];
            break;
        }
        const int n = int(buffer[i++]);
        for (int k = 0; k < n; ++k, i += floatsPerVertex)
            corners.push_back({buffer[i] - ox, buffer[i + 1] - oy, buffer[i + 7], buffer[i + 8]});
        if (corners.size() < 4 || corners.size() == 5)
            continue;
        Quad q = {1e9f, 1e9f, -1e9f, -1e9f, 1e9f, 1e9f, -1e9f, -1e9f, true};
        for (const Vertex& v : corners)
        {
            q.x0 = std::min(q.x0, std::round(v.x)); q.x1 = std::max(q.x1, std::round(v.x));
            q.y0 = std::min(q.y0, std::round(v.y)); q.y1 = std::max(q.y1, std::round(v.y));
            q.s0 = std::min(q.s0, v.s); q.s1 = std::max(q.s1, v.s);
            q.t0 = std::min(q.t0, v.t); q.t1 = std::max(q.t1, v.t);
        }
        for (const Vertex& v : corners)
            q.matched = q.matched && (std::round(v.x) == q.x0) == (v.s == q.s0) &&
                        (std::round(v.y) == q.y0) == (v.t == q.t0);
        quads.push_back(q);
        corners.clear();
    }
    EXPECT_TRUE(corners.empty()) << "a quad was cut short";
    return quads;
}

// Where the pen stands after `text`: the left edge of a marker drawn after it,
// less the marker's own offset.
float PenAfter(const CTextureFont& font, const std::string& text)
{
    const std::vector<Quad> alone = DrawQuads(font, "|");
    const std::vector<Quad> after = DrawQuads(font, text + "|");
    if (alone.size() != 1 || after.size() != text.size() + 1)
    {
        ADD_FAILURE() << "expected one quad per byte";
        return NAN;
    }
    return after.back().x0 - alone[0].x0;
}

// The font's texture, as OpenGL holds it.
struct Atlas
{
    int side = 0;
    std::vector<unsigned char> texels;
    unsigned char At(int x, int y) const { return texels[size_t(y) * size_t(side) + size_t(x)]; }
};

Atlas ReadAtlas(const CTextureFont& font)
{
    Atlas atlas;
    glBindTexture(GL_TEXTURE_2D, 0);
    font.DrawString("");   // binds the font's texture
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(width, height) << "the atlas is square";
    atlas.side = width;
    atlas.texels.resize(size_t(width) * size_t(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, atlas.texels.data());
    return atlas;
}

// FreeType on its own, at the same size, as the reference rendering.
class Reference
{
public:
    Reference(const char* path, float size)
    {
        EXPECT_EQ(FT_Init_FreeType(&m_library), 0);
        EXPECT_EQ(FT_New_Face(m_library, path, 0, &m_face), 0);
        EXPECT_EQ(FT_Set_Char_Size(m_face, 0, FT_F26Dot6(size * 64), 72, 0), 0);
    }
    ~Reference()
    {
        FT_Done_Face(m_face);
        FT_Done_FreeType(m_library);
    }
    FT_Face Face() const { return m_face; }
    FT_GlyphSlot Render(FT_ULong code) const
    {
        EXPECT_EQ(FT_Load_Char(m_face, code, FT_LOAD_DEFAULT), 0) << code;
        EXPECT_EQ(FT_Render_Glyph(m_face->glyph, FT_RENDER_MODE_NORMAL), 0) << code;
        return m_face->glyph;
    }

private:
    FT_Library m_library = nullptr;
    FT_Face    m_face = nullptr;
};

class TextureFont : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenWindow()) << SDL_GetError();
        ASSERT_EQ(FT_Init_FreeType(&m_library), 0);
        char pattern[] = "/tmp/vesk-text-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }

    void TearDown() override
    {
        m_fonts.clear();   // faces go before their library
        FT_Done_FreeType(m_library);
        fs::remove_all(m_dir);
    }

    CTextureFont* Load(const std::string& path, float size = kSize)
    {
        m_fonts.emplace_back(new CTextureFont(path.c_str(), size, &m_library));
        return m_fonts.back().get();
    }

    std::string WriteFont(const std::string& bytes)
    {
        const std::string path = (m_dir / ("font" + std::to_string(m_files++) + ".ttf")).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    CTextureFont* LoadDejaVu()
    {
        EXPECT_TRUE(fs::exists(kDejaVu)) << "the text tests need fonts-dejavu-core";
        return Load(kDejaVu);
    }

    FT_Library m_library = nullptr;
    fs::path m_dir;
    int m_files = 0;
    std::vector<std::unique_ptr<CTextureFont>> m_fonts;
};

} // namespace

// Each glyph sits in the atlas bottom row first, exactly as FreeType draws
// it, with its place and metrics where DrawString takes them from; the
// texel column right of it and the row above it stay free.
TEST_F(TextureFont, glyphs_are_stored_upside_down_as_freetype_renders_them)
{
    CTextureFont* font = LoadDejaVu();
    ASSERT_TRUE(font->IsLoaded());
    const Atlas atlas = ReadAtlas(*font);
    const Reference reference(kDejaVu, kSize);

    // 0xE9 and 0xC5 are taken as codes 233 and 197, the Latin-1 letters.
    for (int c : {int('A'), int('g'), int('j'), int('W'), int('@'), int('1'), 0xE9, 0xC5})
    {
        SCOPED_TRACE(c);
        const std::vector<Quad> quads = DrawQuads(*font, std::string(1, char(c)));
        ASSERT_EQ(quads.size(), 1u);
        const Quad& q = quads[0];
        const FT_GlyphSlot slot = reference.Render(FT_ULong(c));
        const FT_Bitmap& bitmap = slot->bitmap;
        const int width = int(bitmap.width), rows = int(bitmap.rows);
        EXPECT_EQ(q.x0, slot->bitmap_left);
        EXPECT_EQ(q.y1, slot->bitmap_top);
        EXPECT_EQ(q.x1 - q.x0, width);
        EXPECT_EQ(q.y1 - q.y0, rows);
        EXPECT_TRUE(q.matched) << "texture corners follow the quad's corners";

        const int x = int(std::lround(q.s0 * atlas.side));
        const int y = int(std::lround(q.t0 * atlas.side));
        EXPECT_FLOAT_EQ(q.s0, float(x) / atlas.side) << "u is a whole texel";
        EXPECT_FLOAT_EQ(q.s1, float(x + width) / atlas.side);
        EXPECT_FLOAT_EQ(q.t1, float(y + rows) / atlas.side);
        ASSERT_TRUE(x >= 1 && y >= 1 && x + width < atlas.side && y + rows < atlas.side);

        int wrong = 0;
        for (int j = 0; j < rows; ++j)
            for (int i = 0; i < width; ++i)
                wrong += atlas.At(x + i, y + j) != bitmap.buffer[(rows - 1 - j) * bitmap.pitch + i];
        EXPECT_EQ(wrong, 0) << "texels that differ from FreeType's bitmap, flipped";
        int gap = 0;
        for (int j = 0; j <= rows; ++j)
            gap += atlas.At(x + width, y + j);
        for (int i = 0; i <= width; ++i)
            gap += atlas.At(x + i, y + rows);
        EXPECT_EQ(gap, 0) << "the gap right of and above the glyph holds something";
    }
}

// Every glyph the character map gives below 65536 is in the atlas once: the
// coverage adds up to exactly FreeType's, so none is missing, doubled or
// partly overwritten; row 0 and column 0 stay empty.
TEST_F(TextureFont, every_glyph_lands_once_in_a_power_of_two_square)
{
    CTextureFont* font = LoadDejaVu();
    ASSERT_TRUE(font->IsLoaded());
    const Atlas atlas = ReadAtlas(*font);
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    ASSERT_GT(atlas.side, 0);
    EXPECT_EQ(atlas.side & (atlas.side - 1), 0) << atlas.side;
    EXPECT_LE(atlas.side, maxSize);

    uint64_t edge = 0;
    for (int n = 0; n < atlas.side; ++n)
        edge += atlas.At(n, 0) + atlas.At(0, n);
    EXPECT_EQ(edge, 0u) << "row 0 or column 0 holds coverage";

    const Reference reference(kDejaVu, kSize);
    uint64_t expectedSum = 0, expectedLit = 0;
    FT_UInt index = 0;
    for (FT_ULong code = FT_Get_First_Char(reference.Face(), &index); index != 0 && code < 65536;
         code = FT_Get_Next_Char(reference.Face(), code, &index))
    {
        const FT_Bitmap& bitmap = reference.Render(code)->bitmap;
        for (unsigned j = 0; j < bitmap.rows; ++j)
            for (unsigned i = 0; i < bitmap.width; ++i)
            {
                const unsigned char value = bitmap.buffer[j * bitmap.pitch + i];
                expectedSum += value;
                expectedLit += value != 0;
            }
    }
    uint64_t sum = 0, lit = 0;
    for (unsigned char value : atlas.texels)
    {
        sum += value;
        lit += value != 0;
    }
    EXPECT_EQ(sum, expectedSum);
    EXPECT_EQ(lit, expectedLit);
}

// The places of all byte glyphs, each grown by the one-texel gap, never meet.
TEST_F(TextureFont, byte_glyphs_never_overlap)
{
    CTextureFont* font = LoadDejaVu();
    ASSERT_TRUE(font->IsLoaded());
    const Atlas atlas = ReadAtlas(*font);
    struct Place { int x, y, w, h, code; };
    std::vector<Place> places;
    for (int c = 1; c < 256; ++c)
    {
        const std::vector<Quad> quads = DrawQuads(*font, std::string(1, char(c)));
        ASSERT_EQ(quads.size(), 1u);
        const Quad& q = quads[0];
        if (q.x1 > q.x0 && q.y1 > q.y0)
            places.push_back({int(std::lround(q.s0 * atlas.side)), int(std::lround(q.t0 * atlas.side)),
                              int(q.x1 - q.x0), int(q.y1 - q.y0), c});
    }
    ASSERT_GT(places.size(), 150u);
    for (size_t a = 0; a < places.size(); ++a)
        for (size_t b = a + 1; b < places.size(); ++b)
        {
            const Place& p = places[a];
            const Place& r = places[b];
            const bool apart = p.x + p.w + 1 <= r.x || r.x + r.w + 1 <= p.x ||
                               p.y + p.h + 1 <= r.y || r.y + r.h + 1 <= p.y;
            EXPECT_TRUE(apart) << "codes " << p.code << " and " << r.code;
        }
}

TEST_F(TextureFont, empty_string_binds_the_texture_and_draws_nothing)
{
    CTextureFont* font = LoadDejaVu();
    ASSERT_TRUE(font->IsLoaded());
    EXPECT_TRUE(DrawQuads(*font, "").empty());
    glBindTexture(GL_TEXTURE_2D, 0);
    font->DrawString("");
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_NE(bound, 0);
    EXPECT_TRUE(glIsTexture(GLuint(bound)));
}

// The pen moves by each glyph's whole-pixel advance and by nothing else:
// no kerning, no new line, no move for a byte the font does not map.
TEST_F(TextureFont, pen_moves_by_each_advance)
{
    CTextureFont* font = LoadDejaVu();
    ASSERT_TRUE(font->IsLoaded());
    const Reference reference(kDejaVu, kSize);
    auto advance = [&](FT_ULong code) { return float(reference.Render(code)->advance.x >> 6); };

    EXPECT_EQ(PenAfter(*font, "A"), advance('A'));
    EXPECT_EQ(PenAfter(*font, "AV"), advance('A') + advance('V'));
    EXPECT_EQ(PenAfter(*font, "\xE9"), advance(0xE9));

    // A space draws a quad of no size and still moves the pen.
    const std::vector<Quad> space = DrawQuads(*font, " ");
    ASSERT_EQ(space.size(), 1u);
    EXPECT_EQ(space[0].x0, space[0].x1);
    EXPECT_EQ(space[0].y0, space[0].y1);
    EXPECT_GT(advance(' '), 0.0f);
    EXPECT_EQ(PenAfter(*font, " "), advance(' '));
    EXPECT_EQ(PenAfter(*font, "A A"), 2 * advance('A') + advance(' '));

    // An unmapped byte: a quad of no size at the pen, and the pen stays.
    int unmapped = 0;
    for (int c = 1; c < 32 && !unmapped; ++c)
        if (FT_Get_Char_Index(reference.Face(), FT_ULong(c)) == 0)
            unmapped = c;
    ASSERT_NE(unmapped, 0) << "the test font maps every control code";
    const std::string a = "A";
    const std::vector<Quad> quads = DrawQuads(*font, a + char(unmapped));
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_EQ(quads[1].x0, advance('A'));
    EXPECT_EQ(quads[1].x1, advance('A'));
    EXPECT_EQ(quads[1].y0, 0.0f);
    EXPECT_EQ(quads[1].y1, 0.0f);
    EXPECT_EQ(PenAfter(*font, a + char(unmapped) + "A"), 2 * advance('A'));

    // A line feed does not start a new line: the next glyph keeps the baseline.
    const std::vector<Quad> lines = DrawQuads(*font, "A\nA");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].y0, lines[0].y0);
    EXPECT_GT(lines[2].x0, lines[0].x0);
}

// Glyphs hang from the baseline by their top; a descender reaches below it.
TEST_F(TextureFont, descenders_reach_below_the_baseline)
{
    CTextureFont* font = LoadDejaVu();
    ASSERT_TRUE(font->IsLoaded());
    const std::vector<Quad> quads = DrawQuads(*font, "Agp");
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_GE(quads[0].y0, 0.0f) << "A sits on the baseline";
    EXPECT_LT(quads[1].y0, 0.0f);
    EXPECT_LT(quads[2].y0, 0.0f);
    EXPECT_GT(quads[1].y1, 0.0f);

    // The text starts at the current origin, wherever that is.
    const std::vector<Quad> moved = DrawQuads(*font, "Agp", 417, 123);
    ASSERT_EQ(moved.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(moved[i].x0, quads[i].x0);
        EXPECT_EQ(moved[i].y0, quads[i].y0);
    }
}

// One 10 x 20 glyph: placed at (1, 1) in a texture of side 32, the larger of
// 16 and 32, so its u and v are both 1/32.
TEST_F(TextureFont, single_glyph_font_packs_into_a_32_texture)
{
    CTextureFont* font = Load(WriteFont(MakeTestFont({{'A', 3, -4, 13, 16, 15}})), 40);
    ASSERT_TRUE(font->IsLoaded());
    const Atlas atlas = ReadAtlas(*font);
    ASSERT_EQ(atlas.side, 32);
    const std::vector<Quad> quads = DrawQuads(*font, "A");
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_FLOAT_EQ(quads[0].s0, 1.0f / 32);
    EXPECT_FLOAT_EQ(quads[0].t0, 1.0f / 32);
    EXPECT_FLOAT_EQ(quads[0].s1, 11.0f / 32);
    EXPECT_FLOAT_EQ(quads[0].t1, 21.0f / 32);
    EXPECT_EQ(quads[0].x0, 3);
    EXPECT_EQ(quads[0].x1, 13);
    EXPECT_EQ(quads[0].y0, -4);
    EXPECT_EQ(quads[0].y1, 16);
    EXPECT_EQ(PenAfter(*font, "A"), 15);

    int wrong = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            wrong += atlas.At(x, y) != ((x >= 1 && x < 11 && y >= 1 && y < 21) ? 255 : 0);
    EXPECT_EQ(wrong, 0);
}

// A one-pixel glyph makes a 2 x 2 texture, whose rows are shorter than the
// default unpack alignment.
TEST_F(TextureFont, tiny_atlas_rows_are_read_unpadded)
{
    CTextureFont* font = Load(WriteFont(MakeTestFont({{'.', 0, 0, 1, 1, 2}})), 40);
    ASSERT_TRUE(font->IsLoaded());
    const Atlas atlas = ReadAtlas(*font);
    ASSERT_EQ(atlas.side, 2);
    EXPECT_EQ(atlas.texels, (std::vector<unsigned char>{0, 0, 0, 255}));
}

// A glyph wider than the largest texture is left out: it draws nothing and
// does not move the pen, and the glyphs that fit are untouched.
TEST_F(TextureFont, glyph_too_large_for_the_texture_is_left_out)
{
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (maxSize + 8 > 32000)
        GTEST_SKIP() << "no glyph can outgrow a texture of side " << maxSize;
    const int16_t wide = int16_t(maxSize + 8);
    CTextureFont* font = Load(WriteFont(MakeTestFont({{'A', 0, 0, 10, 20, 12}, {'B', 0, 0, wide, 5, 7}})), 40);
    ASSERT_TRUE(font->IsLoaded());
    EXPECT_EQ(ReadAtlas(*font).side, 32);
    const std::vector<Quad> quads = DrawQuads(*font, "BA");
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_EQ(quads[0].x0, quads[0].x1);
    EXPECT_EQ(quads[0].y0, quads[0].y1);
    EXPECT_EQ(quads[1].x0, 0) << "B moved the pen";
    EXPECT_FLOAT_EQ(quads[1].s0, 1.0f / 32);
    EXPECT_FLOAT_EQ(quads[1].t0, 1.0f / 32);
}

// Codes from 65536 on have no record: their glyphs take no room.
TEST_F(TextureFont, codes_beyond_65535_are_skipped)
{
    CTextureFont* font = Load(WriteFont(MakeTestFont({{'A', 0, 0, 10, 20, 12}, {0x10041, 0, 0, 30, 40, 32}})), 40);
    ASSERT_TRUE(font->IsLoaded());
    const Atlas atlas = ReadAtlas(*font);
    EXPECT_EQ(atlas.side, 32);
    uint64_t sum = 0;
    for (unsigned char value : atlas.texels)
        sum += value;
    EXPECT_EQ(sum, 10u * 20u * 255u);

    CTextureFont* beyondOnly = Load(WriteFont(MakeTestFont({{0x1F600, 0, 0, 10, 10, 12}})), 40);
    EXPECT_FALSE(beyondOnly->IsLoaded());
}

TEST_F(TextureFont, font_without_glyphs_does_not_load)
{
    EXPECT_FALSE(Load(WriteFont(MakeTestFont({})), 40)->IsLoaded());
}

// Whatever the file holds, the font either loads or says it did not.
TEST_F(TextureFont, bad_font_files_do_not_load)
{
    std::ifstream in(kDejaVu, std::ios::binary);
    const std::string dejaVu((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(dejaVu.size(), 10000u);
    std::mt19937 random(42);
    std::string noise(5000, '\0');
    for (char& c : noise)
        c = char(random());

    EXPECT_FALSE(Load((m_dir / "missing.ttf").string())->IsLoaded());
    EXPECT_FALSE(Load(m_dir.string())->IsLoaded()) << "a directory";
    EXPECT_FALSE(Load(WriteFont(""))->IsLoaded());
    EXPECT_FALSE(Load(WriteFont(noise))->IsLoaded());
    EXPECT_FALSE(Load(WriteFont(dejaVu.substr(0, 2000)))->IsLoaded());
    EXPECT_FALSE(Load(WriteFont(std::string(dejaVu.size(), '\0')))->IsLoaded());

    // Cut short or scribbled over past the table directory: FreeType may
    // still open it; either way nothing breaks and a loaded font draws.
    std::string scribbled = dejaVu;
    for (size_t i = 400; i < scribbled.size(); i += 97)
        scribbled[i] = char(random());
    for (const std::string& bytes : {dejaVu.substr(0, dejaVu.size() / 2), scribbled})
    {
        CTextureFont* font = Load(WriteFont(bytes));
        if (font->IsLoaded())
            DrawQuads(*font, "Vesk \xE9");
    }

    for (float size : {NAN, -40.0f, INFINITY})
        EXPECT_FALSE(Load(kDejaVu, size)->IsLoaded()) << size;
    FT_Library none = nullptr;
    EXPECT_FALSE(CTextureFont(kDejaVu, kSize, &none).IsLoaded());
    EXPECT_FALSE(CTextureFont(kDejaVu, kSize, nullptr).IsLoaded());
}

// The manager numbers fonts by successful loads and owns them until Shutdown.
TEST(FontManager, ids_count_only_fonts_that_loaded)
{
    ASSERT_TRUE(OpenWindow()) << SDL_GetError();
    CFontManager* fonts = CFontManager::GetInstance();
    fonts->Init();
    CTextureFont* first = fonts->LoadFont(kDejaVu, kSize);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(fonts->LoadFont("/nonexistent/font.ttf", kSize), nullptr);
    CTextureFont* second = fonts->LoadFont(kDejaVu, 12.0f);
    ASSERT_NE(second, nullptr);

    EXPECT_EQ(fonts->GetFont(0), first);
    EXPECT_EQ(fonts->GetFont(1), second);
    EXPECT_EQ(fonts->GetFont(2), nullptr) << "an id never loaded";
    EXPECT_EQ(fonts->GetFont(~0u), nullptr);

    // Two independent fonts: two textures of their own sizes.
    const Atlas a = ReadAtlas(*first);
    GLint firstTexture = 0, secondTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &firstTexture);
    const Atlas b = ReadAtlas(*second);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &secondTexture);
    EXPECT_NE(firstTexture, secondTexture);
    EXPECT_GT(a.side, b.side);

    fonts->Shutdown();
    EXPECT_EQ(fonts->GetFont(0), nullptr);
    EXPECT_FALSE(glIsTexture(GLuint(firstTexture))) << "Shutdown deletes the textures";
    EXPECT_FALSE(glIsTexture(GLuint(secondTexture)));
    fonts->Shutdown();

    // Back to the start: Init may run again and ids start from 0.
    fonts->Init();
    CTextureFont* again = fonts->LoadFont(kDejaVu, kSize);
    EXPECT_NE(again, nullptr);
    EXPECT_EQ(fonts->GetFont(0), again);
    fonts->Shutdown();
}

TEST(FontManager, shutdown_without_init_releases_nothing)
{
    CFontManager* fonts = CFontManager::GetInstance();
    fonts->Shutdown();
    fonts->Shutdown();
    EXPECT_EQ(fonts->GetFont(0), nullptr);
}

// Callers keep to these; breaking one stops with the expression as written.
TEST(FontManagerDeathTest, preconditions_are_asserted)
{
    EXPECT_DEATH(CFontManager::GetInstance()->LoadFont(kDejaVu, kSize), "m_library");
    EXPECT_DEATH(
        {
            CFontManager::GetInstance()->Init();
            CFontManager::GetInstance()->Init();
        },
        "!m_library");
    EXPECT_DEATH(
        {
            FT_Library none = nullptr;
            CTextureFont(kDejaVu, kSize, &none).DrawString("A");
        },
        "m_texId");
}
