// Drawing, in the engine's own window and projection (Xvfb and Mesa):
// geometry captured in feedback mode, colours read back from the frame.

#include "WorldTestSupport.h"

#include "engine/CEngineSettings.h"
#include "engine/CGameEngine.h"
#include "engine/DataFile.h"
#include "graphics/CSpriteSheet.h"
#include "text/CFontManager.h"
#include "text/CTextureFont.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <unistd.h>
#include <vector>

using namespace worldtest;

namespace {

// Sprite sizes tell whose token a quad is.
const int kSilverSide = 16, kGoldSide = 20, kBackSide = 64;

struct Vertex { float x, y, r, g, b, a, s, t; };
typedef std::vector<Vertex> Polygon;

std::vector<Polygon> Capture(const std::function<void()>& draw)
{
    static std::vector<GLfloat> buf(1 << 22);
    glFeedbackBuffer(GLsizei(buf.size()), GL_3D_COLOR_TEXTURE, buf.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint n = glRenderMode(GL_RENDER);
    std::vector<Polygon> out;
    for (GLint i = 0; i < n;) {   // only polygons are drawn here
        EXPECT_EQ(buf[i], GL_POLYGON_TOKEN);
        const int count = int(buf[i + 1]);
        i += 2;
        out.emplace_back();
        for (int k = 0; k < count; ++k, i += 11)   // x y z, r g b a, s t r q
            out.back().push_back(Vertex{buf[i], buf[i + 1], buf[i + 3], buf[i + 4], buf[i + 5], buf[i + 6],
                                        buf[i + 7], buf[i + 8]});
    }
    return out;
}

// A white sprite quad (one polygon or two triangles): its centre, half side
// and the rotation of its picture, from where the picture's bottom-left went.
struct Quad { float cx, cy, half, angle; };

std::vector<Quad> SpriteQuads(const std::vector<Polygon>& polys, const CSprite& sprite)
{
    std::vector<Quad> quads;
    std::vector<Vertex> v;
    for (const Polygon& p : polys) {
        if (p[0].r < 0.99f || p[0].g < 0.99f || p[0].b < 0.99f)
            continue;
        v.insert(v.end(), p.begin(), p.end());
        if (v.size() < 6 && !(p.size() == 4 && v.size() == 4))
            continue;
        float x0 = 1e9f, x1 = -1e9f, y0 = 1e9f, y1 = -1e9f;
        for (const Vertex& u : v)
            x0 = std::min(x0, u.x), x1 = std::max(x1, u.x), y0 = std::min(y0, u.y), y1 = std::max(y1, u.y);
        Quad q{(x0 + x1) / 2, (y0 + y1) / 2, 0, 0};
        for (const Vertex& u : v)
            if (std::fabs(u.s - sprite.m_u0) < 1e-4f && std::fabs(u.t - sprite.m_v1) < 1e-4f) {
                q.half = std::hypot(u.x - q.cx, u.y - q.cy) / std::sqrt(2.0f);
                q.angle = std::fmod(std::atan2(u.y - q.cy, u.x - q.cx) * 57.29578f + 135 + 720, 360.0f);
            }
        quads.push_back(q);
        v.clear();
    }
    return quads;
}

float AngleGap(float a, float b)
{
    const float d = std::fmod(std::fabs(a - b), 360.0f);
    return std::min(d, 360 - d);
}

::testing::AssertionResult PixelIs(int x, int y, float r, float g, float b)
{
    unsigned char px[3];
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, px);
    if (std::abs(px[0] - r * 255) <= 3 && std::abs(px[1] - g * 255) <= 3 && std::abs(px[2] - b * 255) <= 3)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << int(px[0]) << "," << int(px[1]) << "," << int(px[2]);
}

const float kGold[3] = {216 / 255.0f, 178 / 255.0f, 120 / 255.0f};

void WriteBmp(const std::string& path, int side)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, side, side, 24, 0xFF, 0xFF00, 0xFF0000, 0);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 200, 150, 100));
    EXPECT_EQ(SDL_SaveBMP(s, path.c_str()), 0);
    SDL_FreeSurface(s);
}

std::string FontFile()
{
    for (const char* f : {VESK_SOURCE_DIR "/Data/36DAYSAG.TTF", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"})
        if (std::ifstream(f).good())
            return f;
    return "";
}

class WorldDraw : public WorldTest
{
protected:
    static void SetUpTestSuite()
    {
        WorldTest::SetUpTestSuite();
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        const std::string dir = SoundFolder();
        WriteBmp(dir + "/Data/s.bmp", kSilverSide);
        WriteBmp(dir + "/Data/g.bmp", kGoldSide);
        WriteBmp(dir + "/Data/b.bmp", kBackSide);
        std::ofstream(dir + "/" + HostPath("Data\\sprites.dat")) << "Data\\b.bmp\nData\\s.bmp\nData\\g.bmp\n";

        char previous[4096];
        ASSERT_TRUE(getcwd(previous, sizeof previous) && chdir(dir.c_str()) == 0);
        CEngineSettings settings = CEngineSettings::DefaultSettings();
        settings.m_IconFile.clear();
        s_Started = CGameEngine::GetInstance()->Init(settings);
        ASSERT_EQ(chdir(previous), 0);
        ASSERT_TRUE(s_Started) << CGameEngine::GetInstance()->GetInitError();
        ASSERT_EQ(CSpriteSheet::GetInstance()->GetNumSprites(), 3u);

        // This world looks for the font before there is one, and keeps that.
        ASSERT_EQ(CFontManager::GetInstance()->GetFont(0), nullptr);
        s_Fontless = new CGameWorld(CGameEngine::GetInstance());
        s_Fontless->Draw();
        if (!FontFile().empty())
            CFontManager::GetInstance()->LoadFont(FontFile().c_str(), 40);
    }

    // The audio thread must stop before the process ends.
    static void TearDownTestSuite()
    {
        delete s_Fontless;
        CGameEngine::GetInstance()->Shutdown();
    }

    void SetUp() override
    {
        if (!s_Started)
            GTEST_SKIP() << "no window";
        WorldTest::SetUp();
    }

    size_t PolygonsPerSprite()
    {
        glLoadIdentity();
        glTranslatef(300, 300, 0);   // away from the edges, so nothing is clipped
        return Capture([&] { m_World->DrawTokens(1, 0); }).size();
    }

    size_t TokensNear(const std::vector<Polygon>& polys, const CVector2& at, int side)
    {
        size_t n = 0;
        for (const Quad& q : SpriteQuads(polys, CSpriteSheet::GetInstance()->GetSprite(side == kGoldSide ? 1 : 0)))
            n += std::fabs(q.half * 2 - side) < 0.5f && std::hypot(q.cx - at.x, q.cy - at.y) < 60;
        return n;
    }

    // Does the frame hold, polygon for polygon, what the font draws for
    // `text` from (x, y) in colour c?
    bool Shows(const std::vector<Polygon>& frame, const char* text, float x, float y, const float* c)
    {
        const std::vector<Polygon> ref = Capture([&] {
            glLoadIdentity();
            glTranslatef(x, y, 0);
            glColor4f(c[0], c[1], c[2], 1);
            CFontManager::GetInstance()->GetFont(0)->DrawString(text);
        });
        auto same = [](const Vertex& a, const Vertex& b) {
            return std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.r - b.r) + std::fabs(a.g - b.g) +
                       std::fabs(a.b - b.b) + std::fabs(a.s - b.s) + std::fabs(a.t - b.t) < 1e-3f;
        };
        for (size_t at = 0; !ref.empty() && at + ref.size() <= frame.size(); ++at) {
            bool match = true;
            for (size_t i = 0; i < ref.size() && match; ++i) {
                match = frame[at + i].size() == ref[i].size();
                for (size_t k = 0; k < ref[i].size() && match; ++k)
                    match = same(frame[at + i][k], ref[i][k]);
            }
            if (match)
                return true;
        }
        return false;
    }

    static bool s_Started;
    static CGameWorld* s_Fontless;
};

bool WorldDraw::s_Started = false;
CGameWorld* WorldDraw::s_Fontless = nullptr;

} // namespace

// Stacks: up to nine on the inner ring at whole-degree steps, the tenth on
// the centre, the rest on the outer ring; each picture turned with its
// place; Gold's sprite for team 0 only; the matrix left as it was.
TEST_F(WorldDraw, token_stacks)
{
    for (int count : {0, 1, 2, 7, 10, 19}) {
        for (int team : {0, 1, 2}) {
            GLfloat before[16], after[16];
            glLoadIdentity();
            glTranslatef(300, 420, 0);
            glGetFloatv(GL_MODELVIEW_MATRIX, before);
            const std::vector<Quad> q = SpriteQuads(Capture([&] { m_World->DrawTokens(uint8_t(count), uint8_t(team)); }),
                                                    CSpriteSheet::GetInstance()->GetSprite(team == 0 ? 1 : 0));
            glGetFloatv(GL_MODELVIEW_MATRIX, after);
            EXPECT_EQ(std::memcmp(before, after, sizeof before), 0);
            ASSERT_EQ(q.size(), size_t(count));
            for (int i = 0; i < count; ++i) {
                const float a = i < 9 ? float((i * 360) / std::min(count, 9)) : i == 9 ? 0.0f : float(i * 40 + 20);
                const float radius = count == 1 || i == 9 ? 0.0f : i < 9 ? 25.0f : 44.0f;
                EXPECT_NEAR(q[i].cx, 300 + radius * std::cos(a / 57.29578f), 0.05f) << count << ":" << i;
                EXPECT_NEAR(q[i].cy, 420 + radius * std::sin(a / 57.29578f), 0.05f) << count << ":" << i;
                EXPECT_LT(AngleGap(q[i].angle, count == 1 ? 0.0f : a), 0.2f) << count << ":" << i;
                EXPECT_NEAR(q[i].half * 2, team == 0 ? kGoldSide : kSilverSide, 0.05f);
            }
        }
    }
}

// Without a font: the menu is the background alone, and the game screen is
// exactly cells, stocks, rings and tokens, whatever texts it would show.
TEST_F(WorldDraw, no_text_without_a_font)
{
    const size_t perSprite = PolygonsPerSprite();
    s_Fontless->OnMouseMove(200, 768 - 470);
    ASSERT_EQ(s_Fontless->GetMenuHover(), 1);
    EXPECT_EQ(Capture([&] { s_Fontless->Draw(); }).size(), perSprite);

    for (const CGameState& s : {Position({"0 0 3", "pass"}), Position({"0 0 3", "pass", "pass"})}) {
        s_Fontless->StartGame(1, 0);
        s_Fontless->SetState(s);
        s_Fontless->OnMouseMove(130, 768 - 130);   // "Pass" would show too
        size_t tokens = s.GetTeamTokens(0) + s.GetTeamTokens(1);
        for (uint32_t r = 0; r < 5; ++r)
            for (uint32_t c = 0; c < s.GetRowLength(r); ++c)
                tokens += s.GetCellTokens(r, c);
        EXPECT_EQ(Capture([&] { s_Fontless->Draw(); }).size(), 19 * 2 * 32 + 2 * 64 + (1 + tokens) * perSprite);
    }
}

// While Gold drags 3 onto Silver's 2, the cell shows 5 gold tokens, Gold's
// stock 5 fewer, Silver's 2 more; on its own cell Gold pays only the added
// ones; a cancel brings back the state's values.
TEST_F(WorldDraw, stocks_during_a_drag)
{
    StartAt(Position({"0 0 1", "2 2 2"}));   // 18 and 17 in hand
    const CVector2 c = Cell(2, 2), own = Cell(0, 0), gold(130, 130), silver(894, 130);
    Press(c.x, c.y);
    MoveTo(c.x + 120, c.y);
    std::vector<Polygon> f = Capture([&] { m_World->Draw(); });
    EXPECT_EQ(TokensNear(f, c, kGoldSide) * 100 + TokensNear(f, c, kSilverSide), 500u);
    EXPECT_EQ(TokensNear(f, gold, kGoldSide), 13u);
    EXPECT_EQ(TokensNear(f, silver, kSilverSide), 19u);

    Press(own.x, own.y);
    MoveTo(own.x + 100, own.y);
    f = Capture([&] { m_World->Draw(); });
    EXPECT_EQ(TokensNear(f, own, kGoldSide), 3u);
    EXPECT_EQ(TokensNear(f, gold, kGoldSide), 16u);
    EXPECT_EQ(TokensNear(f, silver, kSilverSide), 17u);

    Press(0, 0, SDL_BUTTON_RIGHT);
    f = Capture([&] { m_World->Draw(); });
    EXPECT_EQ(TokensNear(f, c, kGoldSide) * 100 + TokensNear(f, c, kSilverSide), 2u);
    EXPECT_EQ(TokensNear(f, own, kGoldSide), 1u);
    EXPECT_EQ(TokensNear(f, gold, kGoldSide), 18u);
    EXPECT_EQ(TokensNear(f, silver, kSilverSide), 17u);
}

// The highlight ring is gold on Gold's cell through the pause, silver on
// Silver's cell after its placement, gone after Silver's pass; the pass ring
// is half transparent, opaque while hovered.
TEST_F(WorldDraw, ring_colours)
{
    auto ringAt = [&](uint32_t r, uint32_t c) { return Cell(r, c).x + 68.5f; };
    StartAt(CGameState(3, 2));
    PlaceByDrag(2, 2);
    m_World->Draw();
    EXPECT_TRUE(PixelIs(int(ringAt(2, 2)), 384, kGold[0], kGold[1], kGold[2]));
    m_World->Update(501);   // with all 19 in hand Silver places
    const uint8_t r = m_World->GetSelRow(), c = m_World->GetSelCol();
    ASSERT_LT(r, 5);
    MoveTo(700, 700);
    m_World->Draw();
    EXPECT_TRUE(PixelIs(int(ringAt(r, c)), int(Cell(r, c).y), 0.7f, 0.7f, 0.7f));
    if (r != 2 || c != 2) {
        EXPECT_TRUE(PixelIs(int(ringAt(2, 2)), 384, 0.5f, 0.5f, 0.5f));
    }
    EXPECT_TRUE(PixelIs(191, 130, kGold[0] / 2 + 0.25f, kGold[1] / 2 + 0.25f, kGold[2] / 2 + 0.25f));
    MoveTo(kPassX, kPassY);
    m_World->Draw();
    EXPECT_TRUE(PixelIs(191, 130, kGold[0], kGold[1], kGold[2]));

    StartAt(Position({"0 0 1", "4 2 1"}));   // Silver will pass
    PlaceByDrag(2, 2);
    m_World->Update(501);
    ASSERT_EQ(m_World->GetSelRow(), 255);
    m_World->Draw();
    for (uint32_t row = 0; row < 5; ++row)
        for (uint32_t col = 0; col < m_World->GetState().GetRowLength(row); ++col)
            EXPECT_TRUE(PixelIs(int(ringAt(row, col)), int(Cell(row, col).y), 0.5f, 0.5f, 0.5f));
}

// With a font, every label is drawn from its own origin in its colour.
TEST_F(WorldDraw, texts)
{
    if (!CFontManager::GetInstance()->GetFont(0))
        GTEST_SKIP() << "no font";
    const float white[3] = {1, 1, 1}, red[3] = {1, 0, 0}, silver[3] = {0.7f, 0.7f, 0.7f};
    MoveTo(200, 430);
    std::vector<Polygon> f = Capture([&] { m_World->Draw(); });
    EXPECT_TRUE(Shows(f, "VESK", 467, 718, white));
    EXPECT_TRUE(Shows(f, "New Game", 90, 500, white));
    EXPECT_TRUE(Shows(f, "Very Easy", 130, 450, white));
    EXPECT_TRUE(Shows(f, "Easy", 130, 413, red));
    EXPECT_TRUE(Shows(f, "Hard", 130, 339, white));
    EXPECT_TRUE(Shows(f, "Exit", 90, 289, white));

    // Gold to move after Silver's pass: "Move" under Gold, "Passed" under Silver.
    StartAt(Position({"0 0 3", "pass"}));
    MoveTo(kPassX, kPassY);
    f = Capture([&] { m_World->Draw(); });
    EXPECT_TRUE(Shows(f, "Move", 10, 688, white));
    EXPECT_TRUE(Shows(f, "Passed", 914, 688, white));
    EXPECT_TRUE(Shows(f, "Pass", 94, 200, kGold));
    EXPECT_TRUE(Shows(f, "Player", 10, 728, white));
    EXPECT_TRUE(Shows(f, "Opponent", 874, 728, white));
    EXPECT_TRUE(Shows(f, "Score: 16", 20, 20, kGold));
    EXPECT_TRUE(Shows(f, "Score: 19", 874, 20, silver));

    // Results replace "Move"; "Passed" stays.
    struct End { CGameState s; const char* text; float x; };
    const End ends[] = {
        {Position({"0 0 1", "pass", "0 1 1", "pass", "1 1 1", "pass", "pass"}), "Gold Wins", 462},   // a triangle
        {Position({"0 0 3", "4 2 1", "pass", "pass"}), "Silver Wins", 452},
        {Position({"0 0 2", "4 2 2", "pass", "pass"}), "Tie", 497},
    };
    for (const End& e : ends) {
        StartAt(e.s);
        f = Capture([&] { m_World->Draw(); });
        EXPECT_TRUE(Shows(f, e.text, e.x, 444, white)) << e.text;
        EXPECT_TRUE(Shows(f, "Passed", e.s.GetCurTeam() == 0 ? 914.0f : 10.0f, 688, white)) << e.text;
        EXPECT_FALSE(Shows(f, "Move", 10, 688, white) || Shows(f, "Move", 944, 688, white)) << e.text;
    }
}

// Escape on the menu and a press on "Exit" end the engine's loop before the
// event behind them; a release of Escape does not.
TEST_F(WorldDraw, menu_escape_and_exit_end_the_loop)
{
    SDL_Event key{}, click{}, quit{}, e;
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_ESCAPE;
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_LEFT;
    click.button.x = 120;
    click.button.y = 768 - 300;
    quit.type = SDL_QUIT;
    SDL_Event release = key;
    release.type = SDL_KEYUP;
    for (SDL_Event* first : {&key, &click, &release}) {
        while (SDL_PollEvent(&e)) {
        }
        SDL_PushEvent(first);
        SDL_PushEvent(&quit);
        CGameEngine::GetInstance()->Run();
        const bool quitLeft = SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_QUITMASK) == 1;
        EXPECT_EQ(quitLeft, first != &release);
    }
}
