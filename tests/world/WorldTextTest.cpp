// The world's texts with a real font: each label must be drawn exactly as
// the font draws it from its own origin, in its colour. A reference string
// drawn by the font itself at the expected place is looked for, quad by quad,
// in what the world drew.

#include "WorldDrawSupport.h"
#include "WorldTestSupport.h"

#include "engine/CGameEngine.h"
#include "text/CFontManager.h"
#include "text/CTextureFont.h"

#include <GL/gl.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

using namespace worldtest;

namespace {

std::string FindFont()
{
    // The game's own font if the checkout has it, else a packaged one.
    const char* candidates[] = {
        VESK_SOURCE_DIR "/Data/36DAYSAG.TTF",
        "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    };
    for (const char* path : candidates)
        if (std::ifstream(path).good())
            return path;
    return std::string();
}

struct Colour { float r, g, b, a; };
const Colour kWhite = { 1, 1, 1, 1 };
const Colour kRed = { 1, 0, 0, 1 };
const Colour kGold = { 216 / 255.0f, 178 / 255.0f, 120 / 255.0f, 1 };
const Colour kSilver = { 0.7f, 0.7f, 0.7f, 1 };

bool SameVertex(const Vertex& a, const Vertex& b)
{
    return std::fabs(a.x - b.x) < 0.01f && std::fabs(a.y - b.y) < 0.01f && std::fabs(a.r - b.r) < 0.01f &&
           std::fabs(a.g - b.g) < 0.01f && std::fabs(a.b - b.b) < 0.01f && std::fabs(a.a - b.a) < 0.01f &&
           std::fabs(a.s - b.s) < 1e-5f && std::fabs(a.t - b.t) < 1e-5f;
}

// Is `part` a run of consecutive polygons of `whole`?
bool Contains(const std::vector<Polygon>& whole, const std::vector<Polygon>& part)
{
    if (part.empty() || part.size() > whole.size())
        return false;
    for (size_t start = 0; start + part.size() <= whole.size(); ++start) {
        bool same = true;
        for (size_t i = 0; i < part.size() && same; ++i) {
            const Polygon& a = whole[start + i];
            const Polygon& b = part[i];
            same = a.size() == b.size();
            for (size_t k = 0; k < a.size() && same; ++k)
                same = SameVertex(a[k], b[k]);
        }
        if (same)
            return true;
    }
    return false;
}

class WorldText : public WorldTest
{
protected:
    static void SetUpTestSuite()
    {
        const std::string font = FindFont();
        if (font.empty())
            return;   // each test then skips
        std::string error;
        s_Started = StartEngineWindow(font, error);
        ASSERT_TRUE(s_Started) << error;
        ASSERT_NE(CFontManager::GetInstance()->GetFont(0), nullptr) << font;
    }

    static void TearDownTestSuite() { CGameEngine::GetInstance()->Shutdown(); }

    void SetUp() override
    {
        if (!s_Started)
            GTEST_SKIP() << "no font or no window";
        WorldTest::SetUp();
    }

    // What the font itself draws for `text` with its baseline at (x, y).
    std::vector<Polygon> Reference(const char* text, float x, float y, const Colour& c)
    {
        return Capture([&] {
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            glTranslatef(x, y, 0);
            glColor4f(c.r, c.g, c.b, c.a);
            CFontManager::GetInstance()->GetFont(0)->DrawString(text);
        });
    }

    ::testing::AssertionResult Shows(const std::vector<Polygon>& frame, const char* text, float x, float y,
                                     const Colour& c)
    {
        if (Contains(frame, Reference(text, x, y, c)))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "\"" << text << "\" not drawn at " << x << "," << y;
    }

    std::vector<Polygon> Frame()
    {
        return Capture([&] { m_World->Draw(); });
    }

    static bool s_Started;
};

bool WorldText::s_Started = false;

} // namespace

// The menu: title, heading, the entries hanging one below the other, the
// one under the mouse in red.
TEST_F(WorldText, menu_labels_and_hover_colour)
{
    MoveTo(200, 430);
    ASSERT_EQ(m_World->GetMenuHover(), 2);
    std::vector<Polygon> f = Frame();
    EXPECT_TRUE(Shows(f, "VESK", 467, 718, kWhite));
    EXPECT_TRUE(Shows(f, "New Game", 90, 500, kWhite));
    EXPECT_TRUE(Shows(f, "Very Easy", 130, 450, kWhite));
    EXPECT_TRUE(Shows(f, "Easy", 130, 413, kRed));
    EXPECT_TRUE(Shows(f, "Normal", 130, 376, kWhite));
    EXPECT_TRUE(Shows(f, "Hard", 130, 339, kWhite));
    EXPECT_TRUE(Shows(f, "Exit", 90, 289, kWhite));
    EXPECT_FALSE(Shows(f, "Easy", 130, 413, kWhite));

    MoveTo(120, 300);
    f = Frame();
    EXPECT_TRUE(Shows(f, "Exit", 90, 289, kRed));
    EXPECT_TRUE(Shows(f, "Easy", 130, 413, kWhite));
}

// Gold to move after Silver's pass: "Move" under Gold, "Passed" under
// Silver; the hovered pass button labelled; names and scores in place.
TEST_F(WorldText, markers_follow_the_turn)
{
    StartAt(Position({"0 0 3", "pass"}));   // Gold 16, Silver 19
    MoveTo(kPassX, kPassY);
    std::vector<Polygon> f = Frame();
    EXPECT_TRUE(Shows(f, "Move", 10, 688, kWhite));
    EXPECT_TRUE(Shows(f, "Passed", 914, 688, kWhite));
    EXPECT_TRUE(Shows(f, "Pass", 94, 200, kGold));
    EXPECT_TRUE(Shows(f, "Player", 10, 728, kWhite));
    EXPECT_TRUE(Shows(f, "Opponent", 874, 728, kWhite));
    EXPECT_TRUE(Shows(f, "Score: 16", 20, 20, kGold));
    EXPECT_TRUE(Shows(f, "Score: 19", 874, 20, kSilver));
    EXPECT_FALSE(Shows(f, "Move", 944, 688, kWhite));

    // After a placement and Gold's pass: the markers change sides and the
    // pass label goes.
    StartAt(Position({"0 0 3", "4 2 1"}));
    MoveTo(kPassX, kPassY);
    f = Frame();
    EXPECT_FALSE(Shows(f, "Passed", 914, 688, kWhite));
    EXPECT_FALSE(Shows(f, "Passed", 10, 688, kWhite));
    EXPECT_TRUE(Shows(f, "Pass", 94, 200, kGold));
    Press(kPassX, kPassY);
    f = Frame();
    EXPECT_TRUE(Shows(f, "Move", 944, 688, kWhite));
    EXPECT_TRUE(Shows(f, "Passed", 10, 688, kWhite));
    EXPECT_FALSE(Shows(f, "Move", 10, 688, kWhite));
    EXPECT_FALSE(Shows(f, "Pass", 94, 200, kGold));
}

// The result replaces the turn marker; "Passed" stays.
TEST_F(WorldText, results_of_a_finished_game)
{
    struct Case { std::initializer_list<const char*> moves; const char* text; float x; };
    const Case cases[] = {
        // Gold's triangle (0, 0), (0, 1), (1, 1): 16 + 4 against 19.
        { {"0 0 1", "pass", "0 1 1", "pass", "1 1 1", "pass", "pass"}, "Gold Wins", 462 },
        { {"0 0 3", "4 2 1", "pass", "pass"}, "Silver Wins", 452 },
        { {"0 0 2", "4 2 2", "pass", "pass"}, "Tie", 497 },
    };
    for (const Case& c : cases) {
        const CGameState s = Position(c.moves);
        ASSERT_TRUE(s.IsGameDone());
        StartAt(s);
        const std::vector<Polygon> f = Frame();
        EXPECT_TRUE(Shows(f, c.text, c.x, 444, kWhite));
        for (const char* other : {"Gold Wins", "Silver Wins", "Tie"})
            if (std::string(other) != c.text) {
                EXPECT_FALSE(Shows(f, other, c.x, 444, kWhite)) << other;
            }
        EXPECT_TRUE(Shows(f, "Passed", s.GetCurTeam() == 0 ? 914.0f : 10.0f, 688, kWhite));
        EXPECT_FALSE(Shows(f, "Move", 10, 688, kWhite));
        EXPECT_FALSE(Shows(f, "Move", 944, 688, kWhite));
    }
}
