// The world's drawing in a real OpenGL window (Xvfb and Mesa), with the
// engine's own window and projection. Geometry is captured in feedback mode,
// colours are read back from the frame. No font is loaded in this process.

#include "WorldDrawSupport.h"
#include "WorldTestSupport.h"

#include "engine/CGameEngine.h"
#include "graphics/CSpriteSheet.h"
#include "text/CFontManager.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace worldtest;

namespace {

// One sprite quad: its centre, its half side and where its picture's
// bottom-left corner went (which tells the picture's rotation).
struct Quad { float cx, cy, half; float angle; };

// Sprite quads arrive as one polygon of four or as two triangles; either way
// the polygons of one quad are consecutive and white.
std::vector<Quad> SpriteQuads(const std::vector<Polygon>& polys, const CSprite& sprite)
{
    std::vector<Quad> quads;
    std::vector<Vertex> pending;
    auto flush = [&]() {
        float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
        for (const Vertex& v : pending) {
            minX = std::min(minX, v.x); maxX = std::max(maxX, v.x);
            minY = std::min(minY, v.y); maxY = std::max(maxY, v.y);
        }
        Quad q{ (minX + maxX) / 2, (minY + maxY) / 2, 0, 0 };
        for (const Vertex& v : pending) {
            if (std::fabs(v.s - sprite.m_u0) < 1e-4f && std::fabs(v.t - sprite.m_v1) < 1e-4f) {
                const float dx = v.x - q.cx, dy = v.y - q.cy;
                q.half = std::sqrt(dx * dx + dy * dy) / std::sqrt(2.0f);
                q.angle = std::atan2(dy, dx) * 180.0f / 3.14159265f - 225.0f;
            }
        }
        q.angle = std::fmod(q.angle + 720.0f, 360.0f);
        quads.push_back(q);
        pending.clear();
    };
    for (const Polygon& p : polys) {
        if (p.empty() || !IsWhite(p[0]))
            continue;
        pending.insert(pending.end(), p.begin(), p.end());
        if (pending.size() >= 6 || (p.size() == 4 && pending.size() == 4))
            flush();
    }
    EXPECT_TRUE(pending.empty());
    return quads;
}

float AngleDiff(float a, float b)
{
    float d = std::fmod(std::fabs(a - b), 360.0f);
    return std::min(d, 360.0f - d);
}

struct Rgb { int r, g, b; };

Rgb ReadPixel(int x, int y)
{
    unsigned char px[3] = { 0, 0, 0 };
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, px);
    return Rgb{ px[0], px[1], px[2] };
}

::testing::AssertionResult Near(const Rgb& got, float r, float g, float b, int tolerance = 3)
{
    const int er = int(std::lround(r * 255)), eg = int(std::lround(g * 255)), eb = int(std::lround(b * 255));
    if (std::abs(got.r - er) <= tolerance && std::abs(got.g - eg) <= tolerance && std::abs(got.b - eb) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << got.r << "," << got.g << "," << got.b << " expected "
                                         << er << "," << eg << "," << eb;
}

const float kGoldR = 216 / 255.0f, kGoldG = 178 / 255.0f, kGoldB = 120 / 255.0f;

class WorldDraw : public WorldTest
{
protected:
    static void SetUpTestSuite()
    {
        std::string error;
        s_Started = StartEngineWindow("", error);
        ASSERT_TRUE(s_Started) << error;
        ASSERT_EQ(CSpriteSheet::GetInstance()->GetNumSprites(), 3u);
        ASSERT_EQ(CFontManager::GetInstance()->GetFont(0), nullptr);
    }

    // The audio device must close before the process ends, or its thread
    // outlives the mixer.
    static void TearDownTestSuite() { CGameEngine::GetInstance()->Shutdown(); }

    void SetUp() override
    {
        if (!s_Started)
            GTEST_SKIP() << "no window";
        WorldTest::SetUp();
    }

    // How many polygons one unclipped sprite quad arrives as.
    size_t PolygonsPerSprite()
    {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(300, 300, 0);
        return Capture([&] { m_World->DrawTokens(1, 0); }).size();
    }

    std::vector<Quad> TokenQuadsNear(const std::vector<Polygon>& polys, float x, float y, int side)
    {
        std::vector<Quad> found;
        for (const Quad& q : SpriteQuads(polys, CSpriteSheet::GetInstance()->GetSprite(side == kGoldSide ? 1 : 0)))
            if (std::fabs(q.half * 2 - side) < 0.5f && std::hypot(q.cx - x, q.cy - y) < 60)
                found.push_back(q);
        return found;
    }

    static bool s_Started;
};

bool WorldDraw::s_Started = false;

// Where DrawTokens puts token i of a stack of `count`, relative to its origin.
void ExpectedPlace(int count, int i, float& x, float& y, float& angle)
{
    float radius = 25;
    if (i < 9) {
        angle = static_cast<float>((i * 360) / std::min(count, 9));
    } else if (i == 9) {
        angle = 0;
        radius = 0;
    } else {
        angle = static_cast<float>(i * 40 + 20);
        radius = 44;
    }
    x = radius * std::cos(angle * 3.14159265f / 180);
    y = radius * std::sin(angle * 3.14159265f / 180);
}

} // namespace

// Stacks: the inner ring spread over up to nine places in whole degrees, the
// tenth on the centre, the rest on the outer ring; each picture turned with
// its place; the right sprite for each team; the matrix left as it was.
TEST_F(WorldDraw, token_stacks_are_laid_out_in_rings)
{
    const float ox = 300, oy = 420;
    for (int count : {0, 1, 2, 7, 9, 10, 19}) {
        for (uint8_t team : {uint8_t(0), uint8_t(1), uint8_t(2)}) {
            const int side = team == 0 ? kGoldSide : kSilverSide;
            GLfloat before[16], after[16];
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            glTranslatef(ox, oy, 0);
            glGetFloatv(GL_MODELVIEW_MATRIX, before);
            const std::vector<Polygon> polys = Capture([&] { m_World->DrawTokens(uint8_t(count), team); });
            glGetFloatv(GL_MODELVIEW_MATRIX, after);
            EXPECT_EQ(0, std::memcmp(before, after, sizeof before)) << "count " << count;

            const std::vector<Quad> quads =
                SpriteQuads(polys, CSpriteSheet::GetInstance()->GetSprite(team == 0 ? 1 : 0));
            ASSERT_EQ(quads.size(), size_t(count)) << "count " << count << " team " << int(team);
            for (int i = 0; i < count; ++i) {
                float ex, ey, ea;
                ExpectedPlace(count, i, ex, ey, ea);
                if (count == 1)
                    ex = ey = ea = 0;
                EXPECT_NEAR(quads[i].cx, ox + ex, 0.05f) << "count " << count << " token " << i;
                EXPECT_NEAR(quads[i].cy, oy + ey, 0.05f) << "count " << count << " token " << i;
                EXPECT_LT(AngleDiff(quads[i].angle, ea), 0.2f) << "count " << count << " token " << i;
                EXPECT_NEAR(quads[i].half * 2, side, 0.05f);
            }
        }
    }

    // The worked angles: 7 tokens at 0, 51, 102, 154, 205, 257, 308 degrees.
    glLoadIdentity();
    glTranslatef(ox, oy, 0);
    const std::vector<Quad> seven =
        SpriteQuads(Capture([&] { m_World->DrawTokens(7, 0); }), CSpriteSheet::GetInstance()->GetSprite(1));
    const float worked[] = { 0, 51, 102, 154, 205, 257, 308 };
    ASSERT_EQ(seven.size(), 7u);
    for (int i = 0; i < 7; ++i) {
        const float a = std::atan2(seven[i].cy - oy, seven[i].cx - ox) * 180 / 3.14159265f;
        EXPECT_LT(AngleDiff(a, worked[i]), 0.05f) << i;
    }
}

// Without a font the menu is the background picture alone, hover or not.
TEST_F(WorldDraw, menu_without_font_is_only_the_background)
{
    const size_t perQuad = PolygonsPerSprite();
    MoveTo(200, 470);
    ASSERT_EQ(m_World->GetMenuHover(), 1);
    const std::vector<Polygon> polys = Capture([&] { m_World->Draw(); });
    EXPECT_EQ(polys.size(), perQuad);   // nothing else at all
    const std::vector<Quad> quads = SpriteQuads(polys, CSpriteSheet::GetInstance()->GetSprite(2));
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_NEAR(quads[0].cx, 512, 0.01f);
    EXPECT_NEAR(quads[0].cy, 384, 0.01f);
    EXPECT_NEAR(quads[0].half * 2, kBackgroundSide, 0.01f);
}

// Without a font the game screen is exactly board, tokens, stocks and rings:
// every polygon is accounted for, so none of the texts slipped in (the turn
// and pass markers, the pass label, scores, names, the result).
TEST_F(WorldDraw, game_screen_without_font_draws_no_text)
{
    const size_t perQuad = PolygonsPerSprite();
    ASSERT_GE(perQuad, 1u);
    auto expectedPolygons = [&](const CGameState& s) {
        size_t tokens = s.GetTeamTokens(0) + s.GetTeamTokens(1);
        for (uint32_t r = 0; r < 5; ++r)
            for (uint32_t c = 0; c < s.GetRowLength(r); ++c)
                tokens += s.GetCellTokens(r, c);
        // 19 cells of two 32-triangle fans, two 64-triangle stock rings,
        // the background and one quad per token.
        return 19 * 2 * 32 + 2 * 64 + (1 + tokens) * perQuad;
    };

    StartAt(Position({"0 0 3", "pass"}));   // "Move", "Passed" and "Pass" would show
    MoveTo(kPassX, kPassY);
    ASSERT_TRUE(m_World->IsPassHover());
    EXPECT_EQ(Capture([&] { m_World->Draw(); }).size(), expectedPolygons(m_World->GetState()));

    StartAt(Position({"0 0 3", "pass", "pass"}));   // the result would show
    ASSERT_TRUE(m_World->GetState().IsGameDone());
    EXPECT_EQ(Capture([&] { m_World->Draw(); }).size(), expectedPolygons(m_World->GetState()));
}

// While Gold drags 3 onto Silver's 2: the cell shows 5 gold tokens, Gold's
// stock 5 fewer, Silver's 2 more; a cancel brings back the state's values.
TEST_F(WorldDraw, stocks_show_the_placement_being_dragged)
{
    StartAt(Position({"0 0 1", "2 2 2"}));   // Gold 18 in hand, Silver 17
    const CVector2 c = Cell(2, 2);
    Press(c.x, c.y);
    MoveTo(c.x + 120, c.y);
    ASSERT_EQ(m_World->GetDragCount(), 3);

    std::vector<Polygon> polys = Capture([&] { m_World->Draw(); });
    EXPECT_EQ(TokenQuadsNear(polys, c.x, c.y, kGoldSide).size(), 5u);
    EXPECT_EQ(TokenQuadsNear(polys, c.x, c.y, kSilverSide).size(), 0u);
    EXPECT_EQ(TokenQuadsNear(polys, kPassX, kPassY, kGoldSide).size(), 13u);
    EXPECT_EQ(TokenQuadsNear(polys, 894, 130, kSilverSide).size(), 19u);

    // Raising its own cell, Gold pays only the added tokens.
    Press(Cell(0, 0).x, Cell(0, 0).y);
    MoveTo(Cell(0, 0).x + 100, Cell(0, 0).y);
    ASSERT_EQ(m_World->GetDragCount(), 2);
    polys = Capture([&] { m_World->Draw(); });
    EXPECT_EQ(TokenQuadsNear(polys, Cell(0, 0).x, Cell(0, 0).y, kGoldSide).size(), 3u);
    EXPECT_EQ(TokenQuadsNear(polys, kPassX, kPassY, kGoldSide).size(), 16u);
    EXPECT_EQ(TokenQuadsNear(polys, 894, 130, kSilverSide).size(), 17u);
    EXPECT_EQ(TokenQuadsNear(polys, c.x, c.y, kSilverSide).size(), 2u);

    Press(c.x, c.y, SDL_BUTTON_RIGHT);
    polys = Capture([&] { m_World->Draw(); });
    EXPECT_EQ(TokenQuadsNear(polys, c.x, c.y, kSilverSide).size(), 2u);
    EXPECT_EQ(TokenQuadsNear(polys, c.x, c.y, kGoldSide).size(), 0u);
    EXPECT_EQ(TokenQuadsNear(polys, Cell(0, 0).x, Cell(0, 0).y, kGoldSide).size(), 1u);
    EXPECT_EQ(TokenQuadsNear(polys, kPassX, kPassY, kGoldSide).size(), 18u);
    EXPECT_EQ(TokenQuadsNear(polys, 894, 130, kSilverSide).size(), 17u);
}

// The highlight ring: gold on Gold's cell through the pause, silver on
// Silver's cell after its placement, none after Silver's pass. The pass ring
// is at half opacity, full while hovered.
TEST_F(WorldDraw, highlight_and_pass_ring_colours)
{
    auto ringPixel = [&](uint32_t r, uint32_t c) {
        const CVector2 p = Cell(r, c);
        return ReadPixel(static_cast<int>(p.x + 68.5f), static_cast<int>(p.y));
    };
    StartAt(CGameState(3, 2), 1, 0);
    PlaceByDrag(2, 2, 0);
    m_World->Draw();
    EXPECT_TRUE(Near(ringPixel(2, 2), kGoldR, kGoldG, kGoldB));
    EXPECT_TRUE(Near(ringPixel(1, 1), 0.5f, 0.5f, 0.5f));

    m_World->Update(501);   // Silver must place: it holds all 19
    ASSERT_EQ(m_World->GetSelTeam(), 1);
    const uint8_t sr = m_World->GetSelRow(), sc = m_World->GetSelCol();
    ASSERT_LT(sr, 5);
    m_World->Draw();
    EXPECT_TRUE(Near(ringPixel(sr, sc), 0.7f, 0.7f, 0.7f));
    if (sr != 2 || sc != 2) {
        EXPECT_TRUE(Near(ringPixel(2, 2), 0.5f, 0.5f, 0.5f));
    }

    // The pass ring, dim and lit.
    MoveTo(700, 700);
    m_World->Draw();
    EXPECT_TRUE(Near(ReadPixel(191, 130), 0.5f * kGoldR + 0.25f, 0.5f * kGoldG + 0.25f, 0.5f * kGoldB + 0.25f));
    MoveTo(kPassX, kPassY);
    m_World->Draw();
    EXPECT_TRUE(Near(ReadPixel(191, 130), kGoldR, kGoldG, kGoldB));

    // Silver passes: no ring anywhere.
    StartAt(Position({"0 0 1", "4 2 1"}), 1, 0);
    PlaceByDrag(2, 2, 0);
    m_World->Update(501);
    ASSERT_EQ(m_World->GetSelRow(), 255);
    m_World->Draw();
    for (uint32_t r = 0; r < 5; ++r)
        for (uint32_t c = 0; c < m_World->GetState().GetRowLength(r); ++c)
            EXPECT_TRUE(Near(ringPixel(r, c), 0.5f, 0.5f, 0.5f)) << r << "," << c;
}

// A pass in the middle of a drag must not leave the dragged tokens on the
// board: after Silver's reply its cell shows what it holds.
TEST_F(WorldDraw, pass_during_drag_leaves_no_phantom_tokens)
{
    StartAt(Position({"0 0 1", "4 2 3"}), 1, 0);
    const CVector2 c = Cell(2, 2);
    Press(c.x, c.y);
    MoveTo(c.x + 140, c.y);
    ASSERT_EQ(m_World->GetDragCount(), 4);
    Press(kPassX, kPassY);
    m_World->Update(401);
    ASSERT_EQ(m_World->GetSelTeam(), 1);
    ASSERT_LT(m_World->GetSelRow(), 5);
    const uint8_t sr = m_World->GetSelRow(), sc = m_World->GetSelCol();
    const CVector2 s = Cell(sr, sc);
    const std::vector<Polygon> polys = Capture([&] { m_World->Draw(); });
    EXPECT_EQ(TokenQuadsNear(polys, s.x, s.y, kSilverSide).size(), m_World->GetState().GetCellTokens(sr, sc));
    EXPECT_EQ(TokenQuadsNear(polys, s.x, s.y, kGoldSide).size(), 0u);
}

// Escape on the menu and the "Exit" entry end the engine's loop before the
// next event; Escape's release does not.
TEST_F(WorldDraw, menu_escape_and_exit_end_the_loop)
{
    CGameEngine* engine = CGameEngine::GetInstance();
    auto drain = [] {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
    };
    auto quitStillQueued = [] {
        SDL_Event e;
        SDL_PumpEvents();
        return SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_QUITMASK) == 1;
    };
    auto push = [](const SDL_Event& e) { SDL_Event copy = e; ASSERT_EQ(SDL_PushEvent(&copy), 0); };
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_Event key{};
    key.key.keysym.sym = SDLK_ESCAPE;

    drain();
    key.type = SDL_KEYDOWN;
    key.key.state = SDL_PRESSED;
    push(key);
    push(quit);
    engine->Run();
    EXPECT_TRUE(quitStillQueued());

    drain();
    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_LEFT;
    click.button.state = SDL_PRESSED;
    click.button.x = 120;
    click.button.y = 768 - 300;
    push(click);
    push(quit);
    engine->Run();
    EXPECT_TRUE(quitStillQueued());
    EXPECT_EQ(engine->GetWorld().GetMode(), CGameWorld::MODE_MENU);

    drain();
    key.type = SDL_KEYUP;
    key.key.state = SDL_RELEASED;
    push(key);
    push(quit);
    engine->Run();
    EXPECT_FALSE(quitStillQueued());
    drain();
}
