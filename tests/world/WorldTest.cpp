// The world's screens, turns, pauses, sounds and mouse handling.

#include "WorldTestSupport.h"

#include "opponent/Search.h"

using namespace worldtest;

namespace {
class World : public WorldTest {};
const Sounds kNone = {0, 0, 0, 0};
}

// Menu -> game -> menu: a start sets both strengths, resets the board, drag
// and highlight, plays sound 1 and keeps the pause; Escape on the game
// abandons it untouched (drag flag included); releases and other keys do nothing.
TEST_F(World, screens_and_starting_a_game)
{
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_MENU);
    m_World->Update(100000);   // time does not run on the menu
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_MENU);

    StartAt(Position({"2 2 3", "0 0 1"}), 1, 6);
    PlaceByDrag(1, 1);
    m_World->Update(200);
    Press(Cell(2, 0).x, Cell(2, 0).y);   // ignored: Silver to move
    Escape(false);
    m_World->OnKey(SDLK_SPACE, KMOD_NONE, true);
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_GAME);
    Escape();
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_MENU);
    m_World->Update(5000);
    EXPECT_EQ(m_World->GetDelay(), 300u);   // the pause froze with the menu
    EXPECT_EQ(m_World->GetState().GetCellTokens(1, 1), 1);

    const Sounds before = SoundCounts();
    m_World->StartGame(4, 0);
    EXPECT_EQ(SoundsSince(before), (Sounds{0, 1, 0, 0}));
    EXPECT_EQ(g_searchDepth, 4);
    EXPECT_EQ(g_evalNoise, 0);
    EXPECT_EQ(m_World->GetState().GetCellTokens(1, 1), 0);
    EXPECT_EQ(m_World->GetState().GetTeamTokens(0), 19);
    EXPECT_EQ(m_World->GetSelTeam(), 255);
    EXPECT_EQ(m_World->GetDelay(), 300u);

    // A drag abandoned by Escape stays set on the menu, and the menu ignores it.
    Press(Cell(0, 0).x, Cell(0, 0).y);
    Escape();
    EXPECT_TRUE(m_World->IsDragging());
    Release(Cell(0, 0).x, Cell(0, 0).y);
    EXPECT_EQ(m_World->GetState().GetCellTokens(0, 0), 0);
    m_World->StartGame(1, 4);
    EXPECT_FALSE(m_World->IsDragging());
}

// Silver replies in the first frame that outlasts the 500 ms pause: a frame
// of exactly the time left, or of 0 ms, does not run it. With 19 in hand it
// must place: its cell is highlighted in silver, sound 1, no new pause.
TEST_F(World, silver_places_after_the_placement_pause)
{
    StartAt(CGameState(3, 2));
    PlaceByDrag(2, 2);
    EXPECT_EQ(m_World->GetDelay(), 500u);
    for (Uint32 ms : {0u, 499u, 1u, 0u})
        m_World->Update(ms);
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 1);
    EXPECT_EQ(m_World->GetSelTeam(), 0);   // Gold's cell keeps its ring meanwhile
    EXPECT_EQ(m_World->GetSelRow() * 10 + m_World->GetSelCol(), 22);

    const Sounds before = SoundCounts();
    m_World->Update(1);
    const CGameState& s = m_World->GetState();
    const uint8_t r = m_World->GetSelRow(), c = m_World->GetSelCol();
    ASSERT_LT(r, 5);
    EXPECT_EQ(s.GetCurTeam(), 0);
    EXPECT_EQ(m_World->GetSelTeam(), 1);
    EXPECT_EQ(s.GetCellOwner(r, c), 1);
    EXPECT_EQ(s.GetTeamTokens(1), 19 - s.GetCellTokens(r, c));
    EXPECT_EQ(SoundsSince(before), (Sounds{0, 1, 0, 0}));
    EXPECT_EQ(m_World->GetDelay(), 0u);

    // Gold's pass by the button keeps that highlight.
    Press(kPassX, kPassY);
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 1);
    EXPECT_EQ(m_World->GetSelTeam(), 1);
    EXPECT_EQ(m_World->GetSelRow() * 10 + m_World->GetSelCol(), r * 10 + c);
}

// Passes and their sounds: Silver's pass that goes on clears the highlight
// and Gold may act at once; Gold's pass waits 400 ms; a pass that ends the
// game plays sound 2 only; after the end a left press goes to the menu.
TEST_F(World, passes_and_the_end_of_a_game)
{
    // No single placement of Silver makes or breaks a triangle: at depth 1
    // without noise it passes rather than lose a point.
    StartAt(Position({"0 0 1", "4 2 1"}));
    PlaceByDrag(2, 2);
    Sounds before = SoundCounts();
    m_World->Update(501);
    EXPECT_EQ(SoundsSince(before), (Sounds{0, 0, 0, 1}));
    EXPECT_EQ(m_World->GetState().GetNumPasses(), 1);
    EXPECT_EQ(m_World->GetSelRow(), 255);
    EXPECT_EQ(m_World->GetSelCol(), 255);
    Press(Cell(1, 1).x, Cell(1, 1).y);
    EXPECT_TRUE(m_World->IsDragging());
    Press(0, 0, SDL_BUTTON_RIGHT);

    // Silver passed, then Gold: over.
    before = SoundCounts();
    Press(kPassX, kPassY);
    Release(kPassX, kPassY);
    EXPECT_EQ(SoundsSince(before), (Sounds{0, 0, 1, 0}));
    EXPECT_TRUE(m_World->GetState().IsGameDone());

    // Gold's pass waits 400 ms; Silver, level at 17 each, ends it in a tie.
    StartAt(Position({"0 0 2", "4 2 2"}));
    Press(kPassX, kPassY);
    EXPECT_EQ(m_World->GetDelay(), 400u);
    m_World->Update(400);
    EXPECT_FALSE(m_World->GetState().IsGameDone());
    before = SoundCounts();
    m_World->Update(1);
    EXPECT_TRUE(m_World->GetState().IsGameDone());
    EXPECT_EQ(m_World->GetState().GetTeamScore(0), m_World->GetState().GetTeamScore(1));
    EXPECT_EQ(SoundsSince(before), (Sounds{0, 0, 1, 0}));

    // Game over: right clicks, releases and hovering do nothing; a left press
    // anywhere goes back to the menu.
    Press(kPassX, kPassY, SDL_BUTTON_RIGHT);
    Release(700, 700);
    MoveTo(kPassX, kPassY);
    EXPECT_FALSE(m_World->IsPassHover());
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_GAME);
    Press(Cell(2, 2).x, Cell(2, 2).y);
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_MENU);
    EXPECT_FALSE(m_World->IsDragging());
}

// With an empty stock Gold passes by itself in the frame's turn step, right
// after Silver's reply, silently unless it ends the game; a click anywhere
// passes too.
TEST_F(World, gold_with_an_empty_stock_passes)
{
    StartAt(Position({"0 0 19"}));   // Silver to move
    Sounds before = SoundCounts();
    m_World->Update(1);
    EXPECT_EQ(SoundsSince(before), (Sounds{0, 1, 0, 0}));   // Silver's placement only
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 1);
    EXPECT_EQ(m_World->GetState().GetNumPasses(), 1);
    EXPECT_EQ(m_World->GetSelTeam(), 255);
    EXPECT_EQ(m_World->GetDelay(), 400u);

    StartAt(Position({"0 0 19", "pass"}));
    m_World->Update(400);
    m_World->Update(0);
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 0);
    before = SoundCounts();
    m_World->Update(1);
    EXPECT_TRUE(m_World->GetState().IsGameDone());
    EXPECT_EQ(SoundsSince(before), (Sounds{0, 0, 1, 0}));

    StartAt(Position({"0 0 19", "4 2 1"}));
    before = SoundCounts();
    Press(900, 700);
    EXPECT_EQ(m_World->GetState().GetNumPasses(), 1);
    EXPECT_EQ(SoundsSince(before), (Sounds{0, 0, 0, 1}));
}

// Menu hover follows the inclusive rectangles and plays sound 0 per change:
// through the gap between two entries twice, straight across once. Any
// button, pressed or released, starts the entry under it.
TEST_F(World, menu_hover_and_clicks)
{
    struct Entry { float x, y; int hover, depth, noise; };
    const Entry entries[] = {
        {131, 451, 1, 1, 6}, {289, 484, 1, 1, 6}, {131, 414, 2, 1, 4}, {289, 447, 2, 1, 4},
        {200, 377, 3, 2, 2}, {200, 410, 3, 2, 2}, {131, 340, 4, 4, 0}, {289, 373, 4, 4, 0},
        {91, 290, 5, 0, 0},  {149, 323, 5, 0, 0}, {130, 460, -1, 0, 0}, {290, 460, -1, 0, 0},
        {200, 450, -1, 0, 0}, {200, 339, -1, 0, 0}, {150, 300, -1, 0, 0}, {100, 500, -1, 0, 0},
    };
    for (const Entry& e : entries) {
        MoveTo(e.x, e.y);
        EXPECT_EQ(m_World->GetMenuHover(), e.hover) << e.x << "," << e.y;
        if (e.hover < 1 || e.hover > 4)
            continue;
        for (Uint8 button = 1; button <= 5; ++button) {
            for (bool pressed : {true, false}) {
                g_searchDepth = g_evalNoise = -1;
                Button(e.x, e.y, pressed, button);
                EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_GAME);
                EXPECT_EQ(g_searchDepth * 10 + g_evalNoise, e.depth * 10 + e.noise);
                Escape();
            }
        }
    }
    Press(100, 500);
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_MENU);

    MoveTo(200, 470);
    Sounds before = SoundCounts();
    for (float y = 469; y >= 430; --y)
        MoveTo(200, y);
    EXPECT_EQ(SoundsSince(before), (Sounds{2, 0, 0, 0}));
    before = SoundCounts();
    MoveTo(200, 470);
    MoveTo(200, 471);
    EXPECT_EQ(SoundsSince(before), (Sounds{1, 0, 0, 0}));
}

// Picking is strict at radius 60; a press on a cell Gold cannot raise does
// nothing and is no pass.
TEST_F(World, picking_cells)
{
    StartAt(Position({"0 0 1", "2 0 19"}));   // Silver's 19 would cost Gold 20
    const CVector2 c = Cell(2, 2), full = Cell(2, 0);
    const Sounds before = SoundCounts();
    for (const CVector2& p : {CVector2(c.x + 60, c.y), CVector2(c.x, c.y - 60), full}) {
        Press(p.x, p.y);
        EXPECT_FALSE(m_World->IsDragging());
    }
    EXPECT_EQ(m_World->GetState().GetNumPasses(), 0);
    EXPECT_EQ(SoundsSince(before), kNone);
    Press(c.x + 59, c.y - 10);   // 59.84 away
    EXPECT_TRUE(m_World->IsDragging());
    EXPECT_EQ(m_World->GetSelRow() * 10 + m_World->GetSelCol(), 22);
    EXPECT_EQ(m_World->GetSelTeam(), 0);
}

// The count follows the distance both ways; back inside the rim it is 1,
// silently; counts the rules refuse are skipped; release anywhere places.
TEST_F(World, drag_counts_and_commit)
{
    StartAt(CGameState(3, 2));
    const CVector2 c = Cell(2, 2);
    Press(c.x, c.y);
    Sounds before = SoundCounts();
    const float path[][3] = { {100, 0, 2}, {0, 140, 4}, {-134, 0, 3}, {-135, 0, 4}, {-136, 0, 4}, {60, 0, 1}, {20, 0, 1} };
    for (const auto& p : path) {
        MoveTo(c.x + p[0], c.y + p[1]);
        EXPECT_EQ(m_World->GetDragCount(), p[2]) << p[0] << "," << p[1];
    }
    EXPECT_EQ(SoundsSince(before), (Sounds{4, 0, 0, 0}));

    StartAt(Position({"0 0 17", "pass"}));   // Gold holds 2
    Press(c.x, c.y);
    MoveTo(c.x + 100, c.y);
    before = SoundCounts();
    MoveTo(c.x + 140, c.y);
    MoveTo(c.x + 120, c.y);
    EXPECT_EQ(m_World->GetDragCount(), 2);
    EXPECT_EQ(SoundsSince(before), kNone);
    Release(1000, 20);
    EXPECT_EQ(SoundsSince(before), (Sounds{0, 1, 0, 0}));
    EXPECT_EQ(m_World->GetState().GetCellTokens(2, 2), 2);
    EXPECT_EQ(m_World->GetState().GetTeamTokens(0), 0);
    EXPECT_EQ(m_World->GetSelTeam(), 0);
    EXPECT_EQ(m_World->GetDelay(), 500u);

    // Right press cancels (not a right release, not the middle button).
    StartAt(CGameState(3, 2));
    Press(c.x, c.y);
    Release(c.x, c.y, SDL_BUTTON_RIGHT);
    Press(c.x, c.y, SDL_BUTTON_MIDDLE);
    EXPECT_TRUE(m_World->IsDragging());
    Press(c.x, c.y, SDL_BUTTON_RIGHT);
    EXPECT_FALSE(m_World->IsDragging());
    EXPECT_EQ(m_World->GetSelTeam(), 255);
    Release(c.x, c.y);
    EXPECT_EQ(m_World->GetState().GetCellTokens(2, 2), 0);
}

// Pointer positions far outside the window give counts beyond 255, which
// used to wrap round to small counts the rules accept.
TEST_F(World, far_pointer_counts_do_not_wrap)
{
    StartAt(CGameState(3, 2));
    const CVector2 c = Cell(2, 2);
    Press(c.x, c.y);
    MoveTo(c.x + 100, c.y);
    const Sounds before = SoundCounts();
    for (int n : {257, 258, 259, 512, 513})   // 259 would wrap to 3, 513 to 1
        MoveTo(c.x + 70 + 24.8f * (n - 1), c.y);
    m_World->OnMouseMove(65535, 65535);
    m_World->OnMouseMove(65535, 0);
    EXPECT_EQ(m_World->GetDragCount(), 2);
    EXPECT_EQ(SoundsSince(before), kNone);
}

// Passing in the middle of a drag ends it: the flag used to stay set, so the
// next highlight showed the dragged tokens and the pass button never lit again.
// The button also goes dark as soon as the turn has gone.
TEST_F(World, pass_during_a_drag_ends_the_drag)
{
    StartAt(Position({"0 0 1", "4 2 3"}));   // Silver behind: it will not pass
    const CVector2 c = Cell(2, 2);
    MoveTo(kPassX, kPassY);
    EXPECT_TRUE(m_World->IsPassHover());
    Press(c.x, c.y);
    MoveTo(kPassX, kPassY);
    EXPECT_FALSE(m_World->IsPassHover());
    Press(kPassX, kPassY);
    EXPECT_FALSE(m_World->IsDragging());
    EXPECT_EQ(m_World->GetSelTeam(), 255);
    EXPECT_FALSE(m_World->IsPassHover());
    Release(kPassX, kPassY);
    EXPECT_EQ(m_World->GetState().GetCellTokens(2, 2), 0);
    m_World->Update(401);
    ASSERT_EQ(m_World->GetState().GetCurTeam(), 0);
    MoveTo(kPassX, kPassY);
    EXPECT_TRUE(m_World->IsPassHover());
}
