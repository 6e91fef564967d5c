// Drawing in the engine's own window and projection (Xvfb and Mesa):
// geometry captured in feedback mode, colours read back from the frame.

#include "WorldTestSupport.h"

#include "data/DataFile.h"
#include "support/Feedback.h"
#include "graphics/CSpriteSheet.h"
#include "text/CFontManager.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <unistd.h>

using namespace worldtest;

namespace {

typedef std::vector<FeedbackPrimitive> Frame;

::testing::AssertionResult PixelIs(const CVector2& at, float r, float g, float b)
{
    unsigned char px[3];
    glReadPixels(int(at.x), int(at.y), 1, 1, GL_RGB, GL_UNSIGNED_BYTE, px);
    if (std::abs(px[0] - r * 255) <= 3 && std::abs(px[1] - g * 255) <= 3 && std::abs(px[2] - b * 255) <= 3)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << int(px[0]) << "," << int(px[1]) << "," << int(px[2]);
}

// A team's tokens within 60 of a point: white triangles of its sprite's
// corners in the atlas, told apart by the middle of their long edge (the
// quad's centre), so tokens drawn on top of each other count once.
size_t Tokens(const Frame& frame, const CVector2& at, int team)
{
    const CSprite& sprite = CSpriteSheet::GetInstance()->GetSprite(team == 0 ? 1 : 0);
    auto corner = [&](const FeedbackVertex& v) {
        return std::fmin(std::fabs(v.s - sprite.m_u0), std::fabs(v.s - sprite.m_u1)) < 1e-5f &&
               std::fmin(std::fabs(v.t - sprite.m_v0), std::fabs(v.t - sprite.m_v1)) < 1e-5f;
    };
    std::set<std::pair<int, int>> centres;
    for (const FeedbackPrimitive& p : frame) {
        if (p.size() != 3 || p[0].b < 0.99f || !corner(p[0]) || !corner(p[1]) || !corner(p[2]))   // white: not a shape
            continue;
        auto d = [&](int i) { return std::hypot(p[i].x - p[(i + 1) % 3].x, p[i].y - p[(i + 1) % 3].y); };
        const int i = d(0) > d(1) ? (d(0) > d(2) ? 0 : 2) : (d(1) > d(2) ? 1 : 2);
        const float x = (p[i].x + p[(i + 1) % 3].x) / 2, y = (p[i].y + p[(i + 1) % 3].y) / 2;
        if (std::hypot(x - at.x, y - at.y) < 60)
            centres.emplace(std::lround(x), std::lround(y));
    }
    return centres.size();
}

// The engine started on the shipped data, and one world that looked for the
// font while there was none.
class WorldDraw : public WorldTest
{
protected:
    static void SetUpTestSuite()
    {
        char previous[4096];
        ASSERT_TRUE(getcwd(previous, sizeof previous) && chdir(VESK_SOURCE_DIR) == 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        s_Started = CGameEngine::GetInstance()->Init(CEngineSettings::DefaultSettings());
        ASSERT_EQ(chdir(previous), 0);
        ASSERT_TRUE(s_Started) << CGameEngine::GetInstance()->GetInitError();
        CFontManager::GetInstance()->Shutdown();
        s_Fontless = new CGameWorld(CGameEngine::GetInstance());
        s_Fontless->Draw();
        CFontManager::GetInstance()->Init();
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

    Frame Drawn(CGameWorld* w = nullptr) { return CaptureFeedback([&] { (w ? w : m_World.get())->Draw(); }); }

    static bool s_Started;
    static CGameWorld* s_Fontless;
};

bool WorldDraw::s_Started = false;
CGameWorld* WorldDraw::s_Fontless = nullptr;

} // namespace

// Without a font the menu is the background alone, and the game screen is
// what it is with a font up to the texts, drawn last after the stocks:
// cells, stocks, rings and tokens all there, whatever texts it would show.
TEST_F(WorldDraw, no_text_without_a_font)
{
    s_Fontless->OnMouseMove(200, 768 - 470);
    ASSERT_EQ(s_Fontless->GetMenuHover(), 1);
    EXPECT_EQ(Drawn(s_Fontless).size(), 2u);   // one quad
    for (const CGameState& s : {Position("g3--/----/-----/----/--- g 1"), Position("g3--/----/-----/----/--- s 2")}) {
        for (CGameWorld* w : {s_Fontless, m_World.get()})
            w->StartGame(1, 0), w->SetState(s), w->OnMouseMove(130, 768 - 130);   // "Pass" would show too
        const Frame plain = Drawn(s_Fontless), full = Drawn();
        ASSERT_LT(plain.size(), full.size());
        EXPECT_NEAR(plain.back()[0].r, 0.7f, 0.01f);   // the last before the texts: Silver's stock ring
        EXPECT_NEAR(plain.back()[0].x, 894, 65);
        for (size_t i = 0; i < plain.size(); ++i)
            ASSERT_TRUE(plain[i].size() == full[i].size() &&
                        !memcmp(plain[i].data(), full[i].data(), plain[i].size() * sizeof plain[i][0])) << i;
    }
}

// While Gold drags 3 onto Silver's 2, the cell shows 5 gold tokens, Gold's
// stock 5 fewer; on its own cell Gold pays only the added ones; a cancel
// brings back the state's values. Every token of a stack shows: none lies on
// another.
TEST_F(WorldDraw, stocks_during_a_drag)
{
    StartAt(Position("g1--/----/--s2--/----/--- g 0"));   // 18 and 17 in hand
    const CVector2 c = Cell(2, 2), own = Cell(0, 0), gold(130, 130), silver(894, 130);
    PressCell(2, 2);
    MoveTo(c.x + 120, c.y);
    Frame f = Drawn();
    EXPECT_EQ(Tokens(f, c, 0) * 100 + Tokens(f, c, 1), 500u);
    EXPECT_EQ(Tokens(f, gold, 0), 13u);
    EXPECT_EQ(Tokens(f, silver, 1), 19u);

    PressCell(0, 0);
    MoveTo(own.x + 100, own.y);
    f = Drawn();
    EXPECT_EQ(Tokens(f, own, 0), 3u);
    EXPECT_EQ(Tokens(f, gold, 0), 16u);

    Press(0, 0, SDL_BUTTON_RIGHT);
    f = Drawn();
    EXPECT_EQ(Tokens(f, c, 0) * 100 + Tokens(f, c, 1), 2u);
    EXPECT_EQ(Tokens(f, gold, 0), 18u);
    EXPECT_EQ(Tokens(f, silver, 1), 17u);
}

// The highlight ring is gold on Gold's cell through the pause, silver on
// Silver's cell after its placement, gone after Silver's pass.
TEST_F(WorldDraw, highlight_ring_colours)
{
    auto ring = [&](uint32_t r, uint32_t c) { return CVector2(Cell(r, c).x + 68.5f, Cell(r, c).y); };
    StartAt(CGameState(3, 2));
    PlaceByDrag(2, 2);
    m_World->Draw();
    EXPECT_TRUE(PixelIs(ring(2, 2), 216 / 255.0f, 178 / 255.0f, 120 / 255.0f));
    m_World->Update(501);   // with all 19 in hand Silver places
    const uint8_t r = m_World->GetSelRow(), c = m_World->GetSelCol();
    ASSERT_LT(r, 5);
    m_World->Draw();
    EXPECT_TRUE(PixelIs(ring(r, c), 0.7f, 0.7f, 0.7f));

    StartAt(Position("g1--/----/-----/----/--s1 g 0"));   // Silver will pass
    PlaceByDrag(2, 2);
    m_World->Update(501);
    ASSERT_EQ(m_World->GetSelRow(), 255);
    m_World->Draw();
    for (uint32_t row = 0; row < 5; ++row)
        for (uint32_t col = 0; col < m_World->GetState().GetRowLength(row); ++col)
            EXPECT_FALSE(PixelIs(ring(row, col), 0.7f, 0.7f, 0.7f) || PixelIs(ring(row, col), 216 / 255.0f, 178 / 255.0f, 120 / 255.0f));
}

// Escape on the menu and a press on "Exit" end the engine's loop before the
// event behind them; a release of Escape does not.
TEST_F(WorldDraw, menu_escape_and_exit_end_the_loop)
{
    SDL_Event events[3], quit, e;
    events[0].key = {SDL_KEYDOWN, 0, SDL_PRESSED, {0, SDLK_ESCAPE, KMOD_NONE, 0}};
    events[1].button = {SDL_MOUSEBUTTONDOWN, 0, SDL_BUTTON_LEFT, SDL_PRESSED, 120, 768 - 300};
    events[2].key = {SDL_KEYUP, 0, SDL_RELEASED, {0, SDLK_ESCAPE, KMOD_NONE, 0}};
    quit.type = SDL_QUIT;
    for (SDL_Event& first : events) {
        while (SDL_PollEvent(&e)) {
        }
        SDL_PushEvent(&first);
        SDL_PushEvent(&quit);
        CGameEngine::GetInstance()->Run();
        EXPECT_EQ(SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_QUITMASK) == 1, &first != &events[2]);
    }
}
