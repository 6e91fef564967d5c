// Drawing on the shipped data in the engine's own window (Xvfb and Mesa).

#include "WorldTestSupport.h"

#include "graphics/CSpriteSheet.h"
#include "support/Feedback.h"

#include <cstdlib>
#include <set>
#include <unistd.h>

using namespace worldtest;

namespace {

typedef std::vector<FeedbackPrimitive> Frame;
// A team's tokens within 60 of a point: white triangles of its sprite's corners, told apart by the
// middle of their long edge (the quad's centre), so tokens drawn on top of each other count once;
// farthest: the largest distance of one from the point.
size_t Tokens(const Frame& frame, const CVector2& at, int team, float* farthest = nullptr)
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
        const float r = std::hypot(x - at.x, y - at.y);
        if (r < 60 && centres.emplace(std::lround(x), std::lround(y)).second && farthest)
            *farthest = std::max(*farthest, r);
    }
    return centres.size();
}

// What is drawn with a corner in the box (drawing units): a label's glyphs where it stands.
size_t Within(const Frame& frame, float x0, float y0, float x1, float y1)
{
    return std::count_if(frame.begin(), frame.end(), [&](const FeedbackPrimitive& p) {
        return std::any_of(p.begin(), p.end(), [&](const FeedbackVertex& v) { return v.x >= x0 && v.x <= x1 && v.y >= y0 && v.y <= y1; });
    });
}

// The engine started on the shipped data.
class WorldDraw : public WorldTest
{
protected:
    static void SetUpTestSuite()
    {
        char previous[4096];
        ASSERT_TRUE(getcwd(previous, sizeof previous) && chdir(VESK_SOURCE_DIR) == 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        s_Started = CGameEngine::GetInstance()->Init(CEngineSettings::DefaultSettings());
        ASSERT_TRUE(chdir(previous) == 0 && s_Started) << CGameEngine::GetInstance()->GetInitError();
    }

    static void TearDownTestSuite() { CGameEngine::GetInstance()->Shutdown(); }   // stops the audio thread first

    void SetUp() override { ASSERT_TRUE(s_Started); WorldTest::SetUp(); }
    Frame Drawn() { return CaptureFeedback([&] { m_World->Draw(); }); }

    static inline bool s_Started = false;
};

} // namespace

// While Gold drags, the cell and both stocks show the placement's outcome; no token hides another.
TEST_F(WorldDraw, stocks_during_a_drag)
{
    StartAt(Position("g1--/----/--s2--/----/--- g 0"));   // 18 and 17 in hand
    auto shown = [&](const CVector2& cell) {   // gold and silver tokens on the cell, then in the stocks
        const Frame f = Drawn();
        return std::to_string(Tokens(f, cell, 0)) + " " + std::to_string(Tokens(f, cell, 1)) + ", stocks " +
               std::to_string(Tokens(f, CVector2(130, 130), 0)) + " " + std::to_string(Tokens(f, CVector2(894, 130), 1));
    };
    PressCell(2, 2);
    MoveTo(Cell(2, 2).x + 120, Cell(2, 2).y);
    EXPECT_EQ(shown(Cell(2, 2)), "5 0, stocks 13 19");
    float reach = 0;   // of 13, the last three lie on the outer ring
    Tokens(Drawn(), CVector2(130, 130), 0, &reach);
    EXPECT_NEAR(reach, 25 + 2 * 8 + 3, 0.5);
    PressCell(0, 0);
    MoveTo(Cell(0, 0).x + 100, Cell(0, 0).y);
    EXPECT_EQ(shown(Cell(0, 0)), "3 0, stocks 16 17");
    Press(0, 0, SDL_BUTTON_RIGHT);
    EXPECT_EQ(shown(Cell(2, 2)), "0 2, stocks 18 17");
}

// The shipped sounds load through the bank, each in its place.
TEST_F(WorldDraw, shipped_sounds_load)
{
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(CSoundManager::GetInstance()->GetSound(i)->IsLoaded()) << i;
}

// Escape and "Exit" on the menu end the engine's loop before the next event; a released Escape does not.
TEST_F(WorldDraw, menu_escape_and_exit_end_the_loop)
{
    SDL_Event escape{}, exit{}, released{}, quit{}, e;
    escape.type = SDL_KEYDOWN, escape.key.keysym.sym = SDLK_ESCAPE;
    released.type = SDL_KEYUP, released.key.keysym.sym = SDLK_ESCAPE;
    exit.type = SDL_MOUSEBUTTONDOWN, exit.button.button = SDL_BUTTON_LEFT, exit.button.x = 120, exit.button.y = 768 - 300;
    quit.type = SDL_QUIT;
    for (SDL_Event first : {escape, exit, released}) {
        while (SDL_PollEvent(&e)) {
        }
        ASSERT_TRUE(SDL_PushEvent(&first) == 0 && SDL_PushEvent(&quit) == 0);
        CGameEngine::GetInstance()->Run();
        EXPECT_EQ(SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_QUITMASK) == 1, first.type != SDL_KEYUP) << int(first.type);
    }
}

// The menu's title is drawn; on the game screen "Player" always, "Passed" only once a side has passed.
TEST_F(WorldDraw, texts_where_they_stand)
{
    EXPECT_GE(Within(Drawn(), 460, 710, 560, 770), 4u);   // "VESK"
    StartAt(CGameState(3, 2));
    EXPECT_GE(Within(Drawn(), 5, 720, 100, 770), 6u);
    EXPECT_EQ(Within(Drawn(), 900, 680, 1024, 715), 0u);
    StartAt(Position("g1--/----/-----/----/--- g 1"));   // Silver passed
    EXPECT_GE(Within(Drawn(), 900, 680, 1024, 715), 6u);
}
