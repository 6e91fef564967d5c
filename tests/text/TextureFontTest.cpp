// The texture font in a real OpenGL window: what DrawString emits is caught
// in feedback mode, the atlas is read back and compared with FreeType's own
// rendering of the same glyphs.
#include "text/CFontManager.h"
#include "text/CTextureFont.h"

#include <SDL.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

namespace fs = std::filesystem;

namespace {

const char* const kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";   // fonts-dejavu-core
const float kSize = 24.0f;

// One window per process, one unit per pixel, y up, as the engine sets it.
bool OpenWindow()
{
    static bool open = SDL_Init(SDL_INIT_VIDEO) == 0 && SDL_SetVideoMode(1024, 768, 32, SDL_OPENGL) != nullptr;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1024, 0, 768, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_TEXTURE_2D);
    return open;
}

// One glyph quad as drawn, relative to the origin (100, 300) it was drawn from.
struct Quad
{
    float x0, y0, x1, y1;   // left, bottom, right, top
    float s0, t0, s1, t1;   // texture coordinates at those edges
    bool  matched;          // every corner took the texture corner of the same side
};

std::vector<Quad> DrawQuads(const CTextureFont& font, const std::string& text)
{
    std::vector<GLfloat> buffer(64 + text.size() * 80);
    glLoadIdentity();
    glTranslatef(100, 300, 0);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    font.DrawString(text.c_str());
    const GLint count = glRenderMode(GL_RENDER);
    EXPECT_GE(count, 0) << "feedback buffer overflow";
    // A quad comes back as one polygon of four corners or as two triangles.
    std::vector<Quad> quads;
    std::vector<std::array<float, 4>> corners;   // x, y, s, t
    for (GLint i = 0; i < count;) {
        EXPECT_EQ(buffer[i++], GL_POLYGON_TOKEN);
        for (int k = 0, n = int(buffer[i++]); k < n; ++k, i += 11)   // x y z, r g b a, s t p q
            corners.push_back({std::round(buffer[i] - 100), std::round(buffer[i + 1] - 300), buffer[i + 7], buffer[i + 8]});
        if (corners.size() < 4 || corners.size() == 5)
            continue;
        Quad q = {1e9f, 1e9f, -1e9f, -1e9f, 1e9f, 1e9f, -1e9f, -1e9f, true};
        for (const auto& v : corners) {
            q.x0 = std::min(q.x0, v[0]), q.x1 = std::max(q.x1, v[0]), q.y0 = std::min(q.y0, v[1]), q.y1 = std::max(q.y1, v[1]);
            q.s0 = std::min(q.s0, v[2]), q.s1 = std::max(q.s1, v[2]), q.t0 = std::min(q.t0, v[3]), q.t1 = std::max(q.t1, v[3]);
        }
        for (const auto& v : corners)
            q.matched = q.matched && (v[0] == q.x0) == (v[2] == q.s0) && (v[1] == q.y0) == (v[3] == q.t0);
        quads.push_back(q);
        corners.clear();
    }
    EXPECT_TRUE(corners.empty()) << "a quad was cut short";
    return quads;
}

// The font's alpha texture, as OpenGL holds it.
std::vector<unsigned char> ReadAtlas(const CTextureFont& font, int* side)
{
    font.DrawString("");   // binds the font's texture
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, side);
    std::vector<unsigned char> texels(size_t(*side) * size_t(*side));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

class TextureFont : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenWindow()) << SDL_GetError();
        ASSERT_TRUE(fs::exists(kDejaVu)) << "the text tests need fonts-dejavu-core";
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
        const std::string path = (m_dir / ("font" + std::to_string(m_fonts.size()) + ".ttf")).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    FT_Library m_library = nullptr;
    fs::path m_dir;
    std::vector<std::unique_ptr<CTextureFont>> m_fonts;
};

// Each glyph sits in the atlas bottom row first, exactly as FreeType draws
// it, at the place and size its quad says; the texel column right of it and
// the row above it stay free, and the pen moves by whole-pixel advances.
TEST_F(TextureFont, glyphs_are_stored_upside_down_as_freetype_renders_them)
{
    CTextureFont* font = Load(kDejaVu);
    ASSERT_TRUE(font->IsLoaded());
    int side = 0;
    const std::vector<unsigned char> atlas = ReadAtlas(*font, &side);
    auto at = [&](int x, int y) { return atlas[size_t(y) * side + x]; };
    FT_Face reference = nullptr;
    ASSERT_EQ(FT_New_Face(m_library, kDejaVu, 0, &reference), 0);
    ASSERT_EQ(FT_Set_Char_Size(reference, 0, FT_F26Dot6(kSize * 64), 72, 0), 0);

    for (int c : {int('A'), int('g'), int('j'), int('@'), 0xE9}) {   // 0xE9: the Latin-1 letter
        SCOPED_TRACE(c);
        const std::vector<Quad> quads = DrawQuads(*font, std::string(1, char(c)));
        ASSERT_EQ(quads.size(), 1u);
        const Quad& q = quads[0];
        ASSERT_EQ(FT_Load_Char(reference, FT_ULong(c), FT_LOAD_RENDER), 0);
        const FT_Bitmap& bitmap = reference->glyph->bitmap;
        const int width = int(bitmap.width), rows = int(bitmap.rows);
        EXPECT_TRUE(q.x0 == reference->glyph->bitmap_left && q.y1 == reference->glyph->bitmap_top);
        EXPECT_TRUE(q.x1 - q.x0 == width && q.y1 - q.y0 == rows && q.matched);
        const int x = int(std::lround(q.s0 * side)), y = int(std::lround(q.t0 * side));
        EXPECT_TRUE(q.s0 == float(x) / side && q.s1 == float(x + width) / side && q.t1 == float(y + rows) / side);
        ASSERT_TRUE(x >= 1 && y >= 1 && x + width < side && y + rows < side);
        int wrong = 0, gap = 0;
        for (int j = 0; j <= rows; ++j)
            for (int i = 0; i <= width; ++i)
                if (i == width || j == rows)
                    gap += at(x + i, y + j);
                else
                    wrong += at(x + i, y + j) != bitmap.buffer[(rows - 1 - j) * bitmap.pitch + i];
        EXPECT_EQ(wrong, 0) << "texels that differ from FreeType's bitmap, flipped";
        EXPECT_EQ(gap, 0) << "the gap right of and above the glyph holds something";
    }
    ASSERT_EQ(FT_Load_Char(reference, 'A', FT_LOAD_DEFAULT), 0);
    const long advanceA = reference->glyph->advance.x >> 6;
    const std::vector<Quad> two = DrawQuads(*font, "AA"), line = DrawQuads(*font, "A\nA");
    ASSERT_TRUE(two.size() == 2 && line.size() == 3);
    EXPECT_EQ(two[1].x0 - two[0].x0, advanceA);
    EXPECT_EQ(line[2].y0, line[0].y0) << "a line feed starts no new line";
}

// The places of all byte glyphs, each grown by the one-texel gap, never meet.
TEST_F(TextureFont, byte_glyphs_never_overlap)
{
    CTextureFont* font = Load(kDejaVu);
    ASSERT_TRUE(font->IsLoaded());
    int side = 0;
    ReadAtlas(*font, &side);
    std::vector<std::array<int, 5>> places;   // x, y, w, h, code
    for (int c = 1; c < 256; ++c) {
        const std::vector<Quad> quads = DrawQuads(*font, std::string(1, char(c)));
        ASSERT_EQ(quads.size(), 1u);
        const Quad& q = quads[0];
        if (q.x1 > q.x0 && q.y1 > q.y0)
            places.push_back({int(std::lround(q.s0 * side)), int(std::lround(q.t0 * side)), int(q.x1 - q.x0), int(q.y1 - q.y0), c});
    }
    ASSERT_GT(places.size(), 150u);
    for (size_t a = 0; a < places.size(); ++a)
        for (size_t b = a + 1; b < places.size(); ++b) {
            const auto &p = places[a], &r = places[b];
            EXPECT_TRUE(p[0] + p[2] + 1 <= r[0] || r[0] + r[2] + 1 <= p[0] || p[1] + p[3] + 1 <= r[1] || r[1] + r[3] + 1 <= p[1])
                << "codes " << p[4] << " and " << r[4];
        }
}

// Whatever the file holds, the font either loads or says it did not.
TEST_F(TextureFont, bad_font_files_do_not_load)
{
    std::ifstream in(kDejaVu, std::ios::binary);
    const std::string dejaVu((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::mt19937 random(42);
    std::string noise(5000, '\0');
    std::generate(noise.begin(), noise.end(), [&random] { return char(random()); });
    for (const std::string& path : {(m_dir / "missing.ttf").string(), m_dir.string(), WriteFont(""), WriteFont(noise),
                                    WriteFont(dejaVu.substr(0, 2000))})
        EXPECT_FALSE(Load(path)->IsLoaded()) << path;
    // Cut short or scribbled over past the table directory, FreeType may still
    // open it; either way nothing breaks and a loaded font draws.
    std::string scribbled = dejaVu;
    for (size_t i = 400; i < scribbled.size(); i += 97)
        scribbled[i] = char(random());
    for (const std::string& bytes : {dejaVu.substr(0, dejaVu.size() / 2), scribbled})
        if (CTextureFont* font = Load(WriteFont(bytes)); font->IsLoaded())
            DrawQuads(*font, "Vesk \xE9");
    for (float size : {NAN, -40.0f, INFINITY})
        EXPECT_FALSE(Load(kDejaVu, size)->IsLoaded()) << size;
    EXPECT_FALSE(CTextureFont(kDejaVu, kSize, nullptr).IsLoaded());
}

// The manager numbers fonts by successful loads and owns them until Shutdown.
TEST(FontManager, ids_skip_failed_loads_and_a_missing_id_is_null)
{
    ASSERT_TRUE(OpenWindow()) << SDL_GetError();
    CFontManager* fonts = CFontManager::GetInstance();
    fonts->Init();
    CTextureFont* first = fonts->LoadFont(kDejaVu, kSize);
    EXPECT_EQ(fonts->LoadFont("/nonexistent/font.ttf", kSize), nullptr);
    CTextureFont* second = fonts->LoadFont(kDejaVu, 12.0f);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(fonts->GetFont(0), first);
    EXPECT_EQ(fonts->GetFont(1), second);
    EXPECT_EQ(fonts->GetFont(2), nullptr);
    EXPECT_EQ(fonts->GetFont(~0u), nullptr);
    fonts->Shutdown();
    EXPECT_EQ(fonts->GetFont(0), nullptr);
}

} // namespace
