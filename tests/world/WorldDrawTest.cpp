// Drawing on the shipped data in the engine's own window (Xvfb and Mesa).

#include "WorldTestSupport.h"

#include "graphics/CSpriteSheet.h"
#include "support/Feedback.h"
#include "text/CFontManager.h"
#include "text/CTextureFont.h"

#include <SDL_mixer.h>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>
#include <tuple>
#include <unistd.h>

using namespace worldtest;

namespace {

typedef std::vector<FeedbackPrimitive> Frame;
// A team's tokens within 60 of a point as "distance@angle" from it, in drawing order: white triangles of its
// sprite's corners, placed by their long edge's middle (the quad's centre), so a token drawn twice counts once.
std::string Tokens(const Frame& frame, const CVector2& at, int team)
{
    const CSprite& sprite = CSpriteSheet::GetInstance()->GetSprite(team == 0 ? 1 : 0);
    auto corner = [&](const FeedbackVertex& v) {
        return std::fmin(std::fabs(v.s - sprite.m_u0), std::fabs(v.s - sprite.m_u1)) < 1e-5f &&
               std::fmin(std::fabs(v.t - sprite.m_v0), std::fabs(v.t - sprite.m_v1)) < 1e-5f;
    };
    std::string places;
    for (const FeedbackPrimitive& p : frame) {
        if (p.size() != 3 || p[0].b < 0.99f || !corner(p[0]) || !corner(p[1]) || !corner(p[2]))   // white: not a shape
            continue;
        auto d = [&](int i) { return std::hypot(p[i].x - p[(i + 1) % 3].x, p[i].y - p[(i + 1) % 3].y); };
        const int i = d(0) > d(1) ? (d(0) > d(2) ? 0 : 2) : (d(1) > d(2) ? 1 : 2);
        const float x = (p[i].x + p[(i + 1) % 3].x) / 2 - at.x, y = (p[i].y + p[(i + 1) % 3].y) / 2 - at.y;
        const long r = std::lround(std::hypot(x, y));
        const std::string place = std::to_string(r) + "@" + std::to_string(r ? (std::lround(std::atan2(y, x) * 180 / M_PI) + 360) % 360 : 0);
        if (r < 60 && (" " + places + " ").find(" " + place + " ") == std::string::npos) places += (places.empty() ? "" : " ") + place;
    }
    return places;
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

    // Texts where the screens put them, found as the very quads each draws there alone: "Move@10, Score: 18@874 silver".
    std::string Labels(const Frame& frame)
    {
        const std::string g = "Score: " + std::to_string(m_World->GetState().GetTeamScore(0)),
                          s = "Score: " + std::to_string(m_World->GetState().GetTeamScore(1));
        const std::tuple<std::string, float, float> places[] = {
            {"VESK", 467, 718}, {"New Game", 90, 500}, {"Very Easy", 130, 450}, {"Easy", 130, 413}, {"Normal", 130, 376},
            {"Hard", 130, 339}, {"Exit", 90, 289}, {"Pass", 94, 200}, {"Gold Wins", 462, 444}, {"Silver Wins", 452, 444},
            {"Tie", 497, 444}, {"Move", 10, 688}, {"Move", 944, 688}, {"Player", 10, 728}, {"Opponent", 874, 728},
            {"Passed", 914, 688}, {"Passed", 10, 688}, {g, 20, 20}, {g, 874, 20}, {s, 20, 20}, {s, 874, 20}};
        const std::pair<const char*, std::array<float, 3>> colours[] = {
            {"", {1, 1, 1}}, {" red", {1, 0, 0}}, {" gold", {216 / 255.0f, 178 / 255.0f, 120 / 255.0f}}, {" silver", {0.7f, 0.7f, 0.7f}}};
        std::set<std::string> found;
        for (const auto& [text, x, y] : places)
            for (const auto& [name, c] : colours) {
                const Frame label = CaptureFeedback([t = text.c_str(), x = x, y = y, c = c] {   // C++17 lambdas take bindings by copy
                    glLoadIdentity(), glTranslatef(x, y, 0), glColor4f(c[0], c[1], c[2], 1);
                    CFontManager::GetInstance()->GetFont(0)->DrawString(t);
                });
                if (std::search(frame.begin(), frame.end(), label.begin(), label.end()) != frame.end())
                    found.insert(text + "@" + std::to_string(int(x)) + name);
            }
        std::string all;
        for (const std::string& f : found) all += (all.empty() ? "" : ", ") + f;
        return all;
    }

    static inline bool s_Started = false;
};

} // namespace

// While Gold drags, the cell and both stocks show the placement's outcome, after a cancel the state. A stack: nine
// on a ring of 25 at i 360 / min(count, 9) degrees, the tenth on the centre, the rest on one of 44 at i 40 + 20.
TEST_F(WorldDraw, stocks_during_a_drag)
{
    StartAt(Position("g1--/----/--s2--/----/--- g 0"));   // 18 and 17 in hand
    const Frame board = Drawn();   // under each cell two shadow discs, fans of 32
    EXPECT_EQ(std::count_if(board.begin(), board.end(), [](auto& p) { return p.size() == 3 && p[0].r == 0 && std::fabs(p[0].a - 0.2f) < 0.01f; }), 19 * 64);
    auto shown = [&](const CVector2& cell) {   // gold and silver tokens on the cell, then in the stocks
        const Frame f = Drawn();
        std::string counts;
        for (const auto& [at, team] : {std::pair{cell, 0}, {cell, 1}, {CVector2(130, 130), 0}, {CVector2(894, 130), 1}}) {
            const std::string places = Tokens(f, at, team);
            counts += std::to_string(std::count(places.begin(), places.end(), '@')) + (team ? " " : "/");
        }
        return counts;
    };
    PressCell(2, 2), MoveTo(Cell(2, 2).x + 120, Cell(2, 2).y);
    EXPECT_EQ(shown(Cell(2, 2)), "5/0 13/19 ");
    EXPECT_EQ(Tokens(Drawn(), CVector2(130, 130), 0), "25@0 25@40 25@80 25@120 25@160 25@200 25@240 25@280 25@320 0@0 44@60 44@100 44@140");
    PressCell(0, 0), MoveTo(Cell(0, 0).x + 190, Cell(0, 0).y);
    EXPECT_EQ(shown(Cell(0, 0)), "7/0 12/17 ");
    EXPECT_EQ(Tokens(Drawn(), Cell(0, 0), 0), "25@0 25@51 25@102 25@154 25@205 25@257 25@308");
    Press(0, 0, SDL_BUTTON_RIGHT);
    EXPECT_EQ(shown(Cell(2, 2)), "0/2 18/17 ");
    EXPECT_EQ(Tokens(Drawn(), Cell(0, 0), 0), "0@0");   // Gold's one lies alone
}

// Shipped sounds load and play, twice at once; every line of a list takes its number, loaded or not; beyond, silence.
TEST_F(WorldDraw, sounds_are_numbered_by_line)
{
    CSoundManager& bank = *CSoundManager::GetInstance();
    auto loaded = [&] { std::string l; for (int i = 0; i < 5; ++i) l += bank.GetSound(i)->IsLoaded() ? '1' : '0'; return l; };
    Mix_HaltChannel(-1), bank.GetSound(1)->Play(), bank.GetSound(1)->Play();   // both heard, on two channels
    const std::string shipped = loaded() + std::to_string(Mix_Playing(-1)), dir = testing::TempDir() + "vesk-sounds-" + std::to_string(getpid());
    char previous[4096];
    ASSERT_TRUE(std::filesystem::create_directories(dir + "/Data") && getcwd(previous, sizeof previous) && chdir(dir.c_str()) == 0);
    std::ofstream("Data/sounds.dat") << VESK_SOURCE_DIR "/Data/tick.wav\nmissing.wav\n\n" VESK_SOURCE_DIR "/Data/clack.wav\r\n";
    bank.Unload(), bank.Load();
    EXPECT_EQ(shipped + " " + loaded(), "111102 10010");
    EXPECT_TRUE(chdir(previous) == 0 && std::filesystem::remove_all(dir));
}

// The engine's loop and world: Escape or "Exit" on the menu ends it before the next event, a released Escape does
// not. Minimised, it runs no frame; the restore restarts the clock, so 700 ms away Silver still waits (sound 1 twice).
TEST_F(WorldDraw, the_engines_loop)
{
    auto push = [](Uint8 type, int what = 0, Uint16 x = 0, Uint16 y = 0) {   // a key, a button or a gain
        SDL_Event e{type};   // the union's first member
        if (type == SDL_ACTIVEEVENT) e.active.state = SDL_APPACTIVE, e.active.gain = Uint8(what);
        else if (type == SDL_KEYDOWN || type == SDL_KEYUP) e.key.keysym.sym = SDLKey(what);
        else e.button.button = Uint8(what), e.button.x = x, e.button.y = y;
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    };
    SDL_Event e;
    for (int first : {SDL_KEYDOWN, SDL_MOUSEBUTTONDOWN, SDL_KEYUP, SDL_ACTIVEEVENT}) {
        while (SDL_PollEvent(&e)) {}
        if (first == SDL_ACTIVEEVENT) break;
        first == SDL_MOUSEBUTTONDOWN ? push(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 120, 468) : push(Uint8(first), SDLK_ESCAPE);
        push(SDL_QUIT), CGameEngine::GetInstance()->Run();
        EXPECT_EQ(SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_QUITMASK) == 1, first != SDL_KEYUP) << first;
    }
    push(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 200, 300), push(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 512, 384);
    push(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 512, 384), push(SDL_ACTIVEEVENT, 0);
    std::thread restore([&] { SDL_Delay(700), push(SDL_ACTIVEEVENT, 1), push(SDL_QUIT); });
    CGameEngine::GetInstance()->Run(), restore.join(), CGameEngine::GetInstance()->RenderFrame();
    EXPECT_EQ(Look(), "menu ---/----/-----/----/--- g 0, sounds 0 2 0 0");
}

// Every text where it stands, in its colour, and no other: the menu with "Normal" under the pointer; "Move" on the
// mover's side, "Passed" opposite, the scores, "Pass" on Gold's live turn only, the result as the scores compare.
TEST_F(WorldDraw, texts_where_they_stand)
{
    MoveTo(200, 390);
    EXPECT_EQ(Labels(Drawn()), "Easy@130, Exit@90, Hard@130, New Game@90, Normal@130 red, VESK@467, Very Easy@130");
    const std::pair<const char*, const char*> screens[] = {
        {"g1--/----/-----/----/--- g 1", "Move@10, Opponent@874, Pass@94 gold, Passed@914, Player@10, Score: 18@20 gold, Score: 19@874 silver"},
        {"---/----/-----/----/--- s 1", "Move@944, Opponent@874, Passed@10, Player@10, Score: 19@20 gold, Score: 19@874 silver"},
        {"g1g1-/-g1--/-----/----/--- s 2", "Gold Wins@462, Opponent@874, Passed@10, Player@10, Score: 19@874 silver, Score: 20@20 gold"},
        {"g2--/----/-----/----/--- s 2", "Opponent@874, Passed@10, Player@10, Score: 17@20 gold, Score: 19@874 silver, Silver Wins@452"},
        {"---/----/-----/----/--- g 2", "Opponent@874, Passed@914, Player@10, Score: 19@20 gold, Score: 19@874 silver, Tie@497"},
    };
    for (const auto& [position, labels] : screens) {
        StartAt(Position(position)), MoveTo(kPassX, kPassY);
        EXPECT_EQ(Labels(Drawn()), labels) << position;
    }
}
