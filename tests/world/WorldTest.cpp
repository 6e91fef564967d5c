// The world's screens, turns, pauses, sounds and mouse handling.

#include "WorldTestSupport.h"

#include "CInvariantChecker.h"
#include "opponent/Search.h"

#include <random>

using namespace worldtest;

using World = WorldTest;

// Silver replies in the first frame past its 500 ms pause, not at 500, and leaves none; meanwhile presses do nothing.
TEST_F(World, silver_places_after_the_placement_pause)
{
    StartAt(Position("s1s1-/----/-----/----/--- g 0")), PlaceByDrag(2, 2), Press(900, 700);   // Silver's best: a triangle
    for (Uint32 ms : {0u, 499u, 1u}) m_World->Update(ms);
    EXPECT_EQ(Look(), "game s1s1-/----/--g1--/----/--- s 0, gold ring on 2 2, sounds 0 2 0 0");
    m_World->Update(1);
    EXPECT_EQ(Look() + ", " + std::to_string(m_World->GetDelay()), "game s1s1-/-s1--/--g1--/----/--- g 0, silver ring on 1 1, sounds 0 1 0 0, 0");
}

// Gold with an empty hand passes by itself, silently unless that ends the game, or at any click.
TEST_F(World, gold_with_an_empty_stock_passes)
{
    StartAt(Position("s1s1-/----/-----/----/--g19 s 0")), Look(), m_World->Update(1);   // Silver places on 1 1, Gold passes
    EXPECT_EQ(Look() + ", " + std::to_string(m_World->GetDelay()), "game s1s1-/-s1--/-----/----/--g19 s 1, sounds 0 1 0 0, 400");

    StartAt(Position("g19--/----/-----/----/--- g 1")), MoveTo(kPassX, kPassY), m_World->Update(400);   // the pause goes on
    EXPECT_EQ(Look(), "game g19--/----/-----/----/--- g 1, pass lit, sounds 0 1 0 0");
    m_World->Update(1);
    EXPECT_EQ(Look(), "game g19--/----/-----/----/--- s 2, sounds 0 0 1 0");

    StartAt(Position("g19--/----/-----/----/--s1 g 0")), Press(900, 700);
    EXPECT_EQ(Look(), "game g19--/----/-----/----/--s1 s 1, sounds 0 1 0 1");
}

// Menu hover follows the inclusive rectangles; any button, pressed or released, starts the entry.
TEST_F(World, menu_hover_and_clicks)
{
    struct Entry { float x, y; int hover, depth, noise; };
    const Entry entries[] = {
        {131, 451, 1, 1, 6}, {289, 484, 1, 1, 6}, {200, 430, 2, 1, 4}, {200, 377, 3, 2, 2},
        {289, 340, 4, 4, 0}, {91, 290, 5, 0, 0}, {149, 323, 5, 0, 0}, {100, 324, -1, 0, 0}, {130, 460, -1, 0, 0}, {290, 460, -1, 0, 0}, {200, 450, -1, 0, 0},
        {200, 448, -1, 0, 0}, {200, 485, -1, 0, 0}, {200, 411, -1, 0, 0}, {200, 414, 2, 1, 4}, {150, 300, -1, 0, 0},
        {200, 447, 2, 1, 4}, {200, 413, -1, 0, 0}, {200, 410, 3, 2, 2}, {200, 374, -1, 0, 0}, {200, 373, 4, 4, 0}, {200, 339, -1, 0, 0},
    };
    for (const Entry& e : entries) {
        MoveTo(e.x, e.y);
        EXPECT_EQ(m_World->GetMenuHover(), e.hover) << e.x << "," << e.y;
        for (const bool pressed : {true, false}) {
            if (e.hover < 1 || e.hover > 4) break;
            g_searchDepth = g_evalNoise = -1, Button(e.x, e.y, pressed, pressed ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT);
            EXPECT_EQ(std::make_pair(m_World->GetMode() == CGameWorld::MODE_GAME, g_searchDepth * 10 + g_evalNoise),
                      std::make_pair(true, e.depth * 10 + e.noise)) << e.x << "," << e.y;
            Escape();
        }
    }
    MoveTo(200, 470), Look();
    for (float y = 469; y >= 430; --y) MoveTo(200, y);   // through the gap between two entries
    EXPECT_EQ(Look(), "menu ---/----/-----/----/--- g 0, sounds 2 0 0 0");
}

// The count follows the pointer both ways as far as the hand allows; release places, right cancels.
// Mended: far pointers gave counts beyond 255 that wrapped round to small legal ones.
TEST_F(World, drag_counts_and_commit)
{
    StartAt(CGameState(3, 2)), PressCell(2, 2);
    const CVector2 c = Cell(2, 2);
    const float path[][3] = {{100, 0, 2}, {0, 140, 4}, {-134, 0, 3}, {60, 0, 1}, {100, 0, 2}};
    for (const auto& p : path) {
        MoveTo(c.x + p[0], c.y + p[1]);
        EXPECT_EQ(m_World->GetDragCount(), p[2]) << p[0] << "," << p[1];
    }
    for (int n : {259, 513}) MoveTo(c.x + 70 + 24.8f * (n - 1), c.y);   // would wrap to 3 and 1
    m_World->OnMouseMove(65535, 65535);
    EXPECT_EQ(Look(), "game ---/----/-----/----/--- g 0, gold ring on 2 2, drag 2, sounds 4 1 0 0");
    Press(c.x, c.y, SDL_BUTTON_RIGHT), Button(c.x, c.y, false);
    EXPECT_EQ(Look(), "game ---/----/-----/----/--- g 0, sounds 0 0 0 0");

    StartAt(Position("g17--/----/-----/----/--- g 1"));   // Gold holds 2
    PressCell(2, 2), MoveTo(c.x + 100, c.y), MoveTo(c.x + 140, c.y);
    EXPECT_EQ(Look(), "game g17--/----/-----/----/--- g 1, gold ring on 2 2, drag 2, sounds 1 1 0 0");
    Button(1000, 20, false);
    EXPECT_EQ(Look() + ", " + std::to_string(m_World->GetDelay()), "game g17--/----/--g2--/----/--- s 0, gold ring on 2 2, sounds 0 1 0 0, 500");
}

// Mended: a pass during a drag left the drag set, and the pass button never lit again.
TEST_F(World, pass_during_a_drag_ends_the_drag)
{
    StartAt(Position("g1--/----/-----/----/--s3 g 0")), MoveTo(kPassX, kPassY);   // Silver behind: it will not pass
    EXPECT_EQ(Look(), "game g1--/----/-----/----/--s3 g 0, pass lit, sounds 0 1 0 0");
    PressCell(2, 2), MoveTo(kPassX, kPassY);
    EXPECT_EQ(Look(), "game g1--/----/-----/----/--s3 g 0, gold ring on 2 2, drag 17, sounds 1 0 0 0");
    Press(kPassX, kPassY), Button(kPassX, kPassY, false);
    EXPECT_EQ(Look(), "game g1--/----/-----/----/--s3 s 1, sounds 0 0 0 1");
    m_World->Update(401), MoveTo(kPassX, kPassY);
    EXPECT_TRUE(m_World->GetState().GetCurTeam() == 0 && m_World->IsPassHover());   // Silver placed; the pass lights
}

// A press picks a cell strictly within 60, one Gold can raise by a token; otherwise it does nothing, not even pass.
// No time passes on the menu. A clicked pass waits 400 ms; Silver's pass sounds 3, or 2 when it ends the game;
// then a left press anywhere opens the menu.
TEST_F(World, presses_passes_and_the_end)
{
    StartAt(Position("g18--/----/-----/----/--s1 g 0"));   // Gold holds 1
    PressCell(4, 2), Press(572, 384);   // the middle cell's centre is at 512, 384
    EXPECT_EQ(Look(), "game g18--/----/-----/----/--s1 g 0, sounds 0 1 0 0");
    Press(571, 384), Button(0, 0, false), Escape(), m_World->Update(10000);
    EXPECT_EQ(Look() + ", " + std::to_string(m_World->GetDelay()), "menu g18--/----/--g1--/----/--s1 s 0, gold ring on 2 2, sounds 0 1 0 0, 500");

    StartAt(Position("s1--/----/--g1--/----/--g1 s 0")), m_World->Update(501);   // placing only costs Silver
    EXPECT_EQ(Look(), "game s1--/----/--g1--/----/--g1 g 1, sounds 0 1 0 1");
    Press(kPassX, kPassY);
    EXPECT_EQ(Look(), "game s1--/----/--g1--/----/--g1 s 2, sounds 0 0 1 0");
    StartAt(Position("s1--/----/--g1--/----/--g1 g 0"));   // Silver leads: its pass wins
    Press(kPassX, kPassY), m_World->Update(400);
    EXPECT_EQ(Look(), "game s1--/----/--g1--/----/--g1 s 1, sounds 0 1 0 1");
    m_World->Update(1), Press(500, 500, SDL_BUTTON_RIGHT);
    EXPECT_EQ(Look(), "game s1--/----/--g1--/----/--g1 g 2, sounds 0 0 1 0");
    Press(500, 500);
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_MENU);
}

// Random input from a fixed seed keeps the rules and the world's fields: each position sound to the rules model, a
// drag offering a legal placement by Gold, the pass lit on Gold's live turn only, a highlight on a cell (none after
// Silver's pass); and it plays games.
TEST_F(World, random_input_keeps_the_rules)
{
    std::mt19937 rng(3);
    int games = 0, placements = 0;
    for (int step = 0; step < 30000 && !HasFailure(); ++step) {
        const CGameWorld& w = *m_World;
        const CGameState& s = w.GetState();
        const bool menu = w.GetMode() == CGameWorld::MODE_MENU, far = rng() % 64 == 0;
        const int hands = s.GetTeamTokens(0) + s.GetTeamTokens(1), kind = int(rng() % 16);
        const Uint16 x = Uint16(far ? rng() : rng() % 1024), y = Uint16(far ? rng() : menu && rng() % 8 ? 284 + rng() % 120 : rng() % 768);
        if (kind < 6)
            m_World->OnMouseMove(x, y);
        else if (kind < 12)
            m_World->OnMouseButton(Uint8(rng() % 4 ? 1 : 2 + rng() % 4), rng() % 2, x, y);
        else if (kind < 15)
            m_World->Update(rng() % 700);
        else if (menu || rng() % 8 == 0)   // Escape mostly on the menu, so games go on
            m_World->OnKey(rng() % 4 ? SDLK_ESCAPE : SDLK_RETURN, KMOD_NONE, rng() % 2);
        const uint32_t row = w.GetSelRow(), col = w.GetSelCol(), team = w.GetSelTeam();
        std::string why;
        games += menu && w.GetMode() == CGameWorld::MODE_GAME;
        placements += s.GetTeamTokens(0) + s.GetTeamTokens(1) < hands;
        ASSERT_TRUE(CInvariantChecker::CheckState(s, why)) << step << ": " << why;
        ASSERT_TRUE(!w.IsDragging() || (s.GetCurTeam() == 0 && team == 0 && row < 5 && col < s.GetRowLength(row) &&
                                        CInvariantChecker::IsLegal(s, row, col, s.GetCellTokens(row, col) + w.GetDragCount()))) << step;
        ASSERT_TRUE((!w.IsPassHover() || (!s.IsGameDone() && s.GetCurTeam() == 0 && !w.IsDragging())) &&
                    (team == 255 || (team < 2 && (row < 5 ? col < s.GetRowLength(row) : team == 1 && row == 255)))) << step;
    }
    EXPECT_TRUE(games > 10 && placements > 300) << games << " games, " << placements << " placements";
}
