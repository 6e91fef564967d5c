// Drawing in the engine's own window and projection (Xvfb and Mesa):
// geometry captured in feedback mode, colours read back from the frame.

#include "WorldTestSupport.h"

#include "engine/CGameEngine.h"
#include "data/DataFile.h"
#include "graphics/CSpriteSheet.h"
#include "text/CFontManager.h"

#include <GL/gl.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <unistd.h>
#include <vector>

using namespace worldtest;

namespace {

const int kSilverSide = 16, kGoldSide = 20;   // sprite sizes tell whose token a quad is

struct Vertex { float x, y, r, g, b, s, t; };
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
        out.emplace_back();
        for (i += 2; count > int(out.back().size()); i += 11)   // x y z, r g b a, s t r q
            out.back().push_back(Vertex{buf[i], buf[i + 1], buf[i + 3], buf[i + 4], buf[i + 5], buf[i + 7], buf[i + 8]});
    }
    return out;
}

// A white sprite quad (one polygon or two triangles): its centre, side and
// the rotation of its picture, from where the picture's bottom-left went.
struct Quad { float cx, cy, side, angle; };

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
                q.side = std::hypot(u.x - q.cx, u.y - q.cy) * std::sqrt(2.0f);
                q.angle = std::fmod(std::atan2(u.y - q.cy, u.x - q.cx) * 57.29578f + 135 + 720, 360.0f);
            }
        quads.push_back(q);
        v.clear();
    }
    return quads;
}

::testing::AssertionResult PixelIs(float x, float y, float r, float g, float b)
{
    unsigned char px[3];
    glReadPixels(int(x), int(y), 1, 1, GL_RGB, GL_UNSIGNED_BYTE, px);
    if (std::abs(px[0] - r * 255) <= 3 && std::abs(px[1] - g * 255) <= 3 && std::abs(px[2] - b * 255) <= 3)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << int(px[0]) << "," << int(px[1]) << "," << int(px[2]);
}

class WorldDraw : public WorldTest
{
protected:
    // Plain sprites of three sizes, the engine started in the scratch folder.
    static void SetUpTestSuite()
    {
        WorldTest::SetUpTestSuite();
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        const std::string dir = SoundFolder();
        for (int side : {64, kSilverSide, kGoldSide}) {
            SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, side, side, 24, 0xFF, 0xFF00, 0xFF0000, 0);
            SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 200, 150, 100));
            EXPECT_EQ(SDL_SaveBMP(s, (dir + "/Data/" + std::to_string(side) + ".bmp").c_str()), 0);
            SDL_FreeSurface(s);
        }
        std::ofstream(dir + "/" + HostPath("Data\\sprites.dat")) << "Data\\64.bmp\nData\\16.bmp\nData\\20.bmp\n";
        char previous[4096];
        ASSERT_TRUE(getcwd(previous, sizeof previous) && chdir(dir.c_str()) == 0);
        CEngineSettings settings = CEngineSettings::DefaultSettings();
        settings.m_IconFile.clear();
        s_Started = CGameEngine::GetInstance()->Init(settings);
        ASSERT_EQ(chdir(previous), 0);
        ASSERT_TRUE(s_Started) << CGameEngine::GetInstance()->GetInitError();

        // This world looks for the font before there is one, and keeps that.
        s_Fontless = new CGameWorld(CGameEngine::GetInstance());
        s_Fontless->Draw();
        ASSERT_NE(CFontManager::GetInstance()->LoadFont(VESK_SOURCE_DIR "/Data/36DAYSAG.TTF", 40), nullptr);
    }

    static void TearDownTestSuite()   // the audio thread must stop before the process ends
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

    size_t TokensNear(const std::vector<Polygon>& polys, const CVector2& at, int side)
    {
        size_t n = 0;
        for (const Quad& q : SpriteQuads(polys, CSpriteSheet::GetInstance()->GetSprite(side == kGoldSide ? 1 : 0)))
            n += std::fabs(q.side - side) < 0.5f && std::hypot(q.cx - at.x, q.cy - at.y) < 60;
        return n;
    }

    static bool s_Started;
    static CGameWorld* s_Fontless;
};

bool WorldDraw::s_Started = false;
CGameWorld* WorldDraw::s_Fontless = nullptr;

} // namespace

// Up to nine tokens on the inner ring at whole-degree steps, the tenth on the
// centre, the rest on the outer ring; each picture turned with its place;
// Gold's sprite for team 0 only.
TEST_F(WorldDraw, token_ring_angles)
{
    for (int count : {1, 7, 19}) {
        for (int team : {0, 1}) {
            glLoadIdentity();
            glTranslatef(300, 420, 0);
            const std::vector<Quad> q = SpriteQuads(Capture([&] { m_World->DrawTokens(uint8_t(count), uint8_t(team)); }),
                                                    CSpriteSheet::GetInstance()->GetSprite(team == 0 ? 1 : 0));
            ASSERT_EQ(q.size(), size_t(count));
            for (int i = 0; i < count; ++i) {
                const float a = i < 9 ? float((i * 360) / std::min(count, 9)) : i == 9 ? 0.0f : float(i * 40 + 20);
                const float radius = count == 1 || i == 9 ? 0.0f : i < 9 ? 25.0f : 44.0f;
                const float turn = std::fmod(std::fabs(q[i].angle - (count == 1 ? 0.0f : a)), 360.0f);
                EXPECT_NEAR(q[i].cx, 300 + radius * std::cos(a / 57.29578f), 0.05f) << count << ":" << i;
                EXPECT_NEAR(q[i].cy, 420 + radius * std::sin(a / 57.29578f), 0.05f) << count << ":" << i;
                EXPECT_LT(std::min(turn, 360 - turn), 0.2f) << count << ":" << i;
                EXPECT_NEAR(q[i].side, team == 0 ? kGoldSide : kSilverSide, 0.05f);
            }
        }
    }
}

// Without a font: the menu is the background alone, and the game screen is
// exactly cells, stocks, rings and tokens, whatever texts it would show.
TEST_F(WorldDraw, no_text_without_a_font)
{
    glLoadIdentity();
    glTranslatef(300, 300, 0);   // nothing clipped
    const size_t perSprite = Capture([&] { m_World->DrawTokens(1, 0); }).size();
    s_Fontless->OnMouseMove(200, 768 - 470);
    ASSERT_EQ(s_Fontless->GetMenuHover(), 1);
    EXPECT_EQ(Capture([&] { s_Fontless->Draw(); }).size(), perSprite);

    for (const CGameState& s : {Position({"0 0 3", "pass"}), Position({"0 0 3", "pass", "pass"})}) {
        s_Fontless->StartGame(1, 0);
        s_Fontless->SetState(s);
        s_Fontless->OnMouseMove(130, 768 - 130);   // "Pass" would show too
        EXPECT_EQ(Capture([&] { s_Fontless->Draw(); }).size(), 19 * 2 * 32 + 2 * 64 + (1 + 38) * perSprite);
    }
}

// While Gold drags 3 onto Silver's 2, the cell shows 5 gold tokens, Gold's
// stock 5 fewer; on its own cell Gold pays only the added ones; a cancel
// brings back the state's values.
TEST_F(WorldDraw, stocks_during_a_drag)
{
    StartAt(Position({"0 0 1", "2 2 2"}));   // 18 and 17 in hand
    const CVector2 c = Cell(2, 2), own = Cell(0, 0), gold(130, 130), silver(894, 130);
    PressCell(2, 2);
    MoveTo(c.x + 120, c.y);
    std::vector<Polygon> f = Capture([&] { m_World->Draw(); });
    EXPECT_EQ(TokensNear(f, c, kGoldSide) * 100 + TokensNear(f, c, kSilverSide), 500u);
    EXPECT_EQ(TokensNear(f, gold, kGoldSide), 13u);
    EXPECT_EQ(TokensNear(f, silver, kSilverSide), 19u);

    PressCell(0, 0);
    MoveTo(own.x + 100, own.y);
    f = Capture([&] { m_World->Draw(); });
    EXPECT_EQ(TokensNear(f, own, kGoldSide), 3u);
    EXPECT_EQ(TokensNear(f, gold, kGoldSide), 16u);

    Press(0, 0, SDL_BUTTON_RIGHT);
    f = Capture([&] { m_World->Draw(); });
    EXPECT_EQ(TokensNear(f, c, kGoldSide) * 100 + TokensNear(f, c, kSilverSide), 2u);
    EXPECT_EQ(TokensNear(f, gold, kGoldSide), 18u);
    EXPECT_EQ(TokensNear(f, silver, kSilverSide), 17u);
}

// The highlight ring is gold on Gold's cell through the pause, silver on
// Silver's cell after its placement, gone after Silver's pass.
TEST_F(WorldDraw, highlight_ring_colours)
{
    auto ringX = [&](uint32_t r, uint32_t c) { return Cell(r, c).x + 68.5f; };
    StartAt(CGameState(3, 2));
    PlaceByDrag(2, 2);
    m_World->Draw();
    EXPECT_TRUE(PixelIs(ringX(2, 2), 384, 216 / 255.0f, 178 / 255.0f, 120 / 255.0f));
    m_World->Update(501);   // with all 19 in hand Silver places
    const uint8_t r = m_World->GetSelRow(), c = m_World->GetSelCol();
    ASSERT_LT(r, 5);
    m_World->Draw();
    EXPECT_TRUE(PixelIs(ringX(r, c), Cell(r, c).y, 0.7f, 0.7f, 0.7f));

    StartAt(Position({"0 0 1", "4 2 1"}));   // Silver will pass
    PlaceByDrag(2, 2);
    m_World->Update(501);
    ASSERT_EQ(m_World->GetSelRow(), 255);
    m_World->Draw();
    for (uint32_t row = 0; row < 5; ++row)
        for (uint32_t col = 0; col < m_World->GetState().GetRowLength(row); ++col)
            EXPECT_TRUE(PixelIs(ringX(row, col), Cell(row, col).y, 0.5f, 0.5f, 0.5f));
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
        EXPECT_EQ(SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_QUITMASK) == 1, first != &release);
    }
}
