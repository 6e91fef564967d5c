// Mouse input: menu hover and clicks, picking cells, the drag count,
// committing and cancelling, the pass button, and faults found on the way.

#include "WorldTestSupport.h"

#include "opponent/Search.h"

using namespace worldtest;

namespace {

class WorldInput : public WorldTest {};

struct MenuCase { float x, y; int entry; int depth; int noise; };

// Points inside each entry's rectangle, near opposite corners.
const MenuCase kMenuCases[] = {
    { 131, 451, 1, 1, 6 }, { 289, 484, 1, 1, 6 },
    { 131, 414, 2, 1, 4 }, { 289, 447, 2, 1, 4 },
    { 200, 377, 3, 2, 2 }, { 200, 410, 3, 2, 2 },
    { 131, 340, 4, 4, 0 }, { 289, 373, 4, 4, 0 },
};

} // namespace

// Hover follows the inclusive rectangles; each change plays sound 0 once.
TEST_F(WorldInput, menu_hover_follows_the_rectangles)
{
    for (const MenuCase& m : kMenuCases) {
        MoveTo(500, 600);
        ASSERT_EQ(m_World->GetMenuHover(), -1);
        MoveTo(m.x, m.y);
        EXPECT_EQ(m_World->GetMenuHover(), m.entry) << m.x << "," << m.y;
    }
    // Just outside the rectangles: one unit left, right, above and below.
    const float outside[][2] = { {130, 460}, {290, 460}, {200, 485}, {200, 339}, {200, 450}, {200, 412} };
    for (const auto& o : outside) {
        MoveTo(o[0], o[1]);
        EXPECT_EQ(m_World->GetMenuHover(), -1) << o[0] << "," << o[1];
    }
    MoveTo(91, 290);
    EXPECT_EQ(m_World->GetMenuHover(), 5);
    MoveTo(149, 323);
    EXPECT_EQ(m_World->GetMenuHover(), 5);
    MoveTo(150, 300);
    EXPECT_EQ(m_World->GetMenuHover(), -1);

    // From "Very Easy" down to "Easy" through the gap: two changes; a jump: one.
    MoveTo(200, 470);
    SoundCounts before = ReadSoundCounts();
    for (float y = 469; y >= 430; y -= 1)
        MoveTo(200, y);
    EXPECT_EQ(m_World->GetMenuHover(), 2);
    EXPECT_EQ(SoundsSince(before), (SoundCounts{2, 0, 0, 0}));

    before = ReadSoundCounts();
    MoveTo(200, 470);
    MoveTo(200, 471);
    EXPECT_EQ(SoundsSince(before), (SoundCounts{1, 0, 0, 0}));
}

// Any button, pressed or released, starts the entry's strength; the release
// that follows a starting press reaches the game screen and does nothing.
TEST_F(WorldInput, menu_clicks_start_games_with_any_button)
{
    for (Uint8 button = 1; button <= 5; ++button) {
        for (const MenuCase& m : kMenuCases) {
            for (bool pressed : {true, false}) {
                Key(SDLK_ESCAPE);
                ASSERT_EQ(m_World->GetMode(), CGameWorld::MODE_MENU);
                g_searchDepth = -1;
                g_evalNoise = -1;
                const SoundCounts before = ReadSoundCounts();
                m_World->OnMouseButton(button, pressed, static_cast<Uint16>(m.x), static_cast<Uint16>(768 - m.y));
                EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_GAME);
                EXPECT_EQ(g_searchDepth, m.depth);
                EXPECT_EQ(g_evalNoise, m.noise);
                EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 1, 0, 0}));
            }
        }
    }

    // Press on an entry, release on the same spot: one game, nothing played.
    Key(SDLK_ESCAPE);
    Click(200, 470);
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_GAME);
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 0);
    EXPECT_EQ(m_World->GetDelay(), 0u);

    // The heading and the space between entries start nothing.
    Key(SDLK_ESCAPE);
    Click(100, 510);
    Click(200, 449);
    Click(60, 300);
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_MENU);
}

// Picking is strict: exactly 60 units from a centre misses, 59 hits; a miss
// next to a cell is not taken for a pass.
TEST_F(WorldInput, picking_uses_the_strict_radius)
{
    StartAt(CGameState(3, 2));
    const CVector2 c = Cell(2, 2);
    Press(c.x + 60, c.y);
    EXPECT_FALSE(m_World->IsDragging());
    Press(c.x, c.y - 60);
    EXPECT_FALSE(m_World->IsDragging());
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 0);

    Press(c.x + 59, c.y - 10);   // 59.84 away
    EXPECT_TRUE(m_World->IsDragging());
    EXPECT_EQ(m_World->GetSelRow(), 2);
    EXPECT_EQ(m_World->GetSelCol(), 2);
    EXPECT_EQ(m_World->GetSelTeam(), 0);
    EXPECT_EQ(m_World->GetDragCount(), 1);

    // Every cell is found from just inside its rim, on every side.
    for (uint32_t r = 0; r < 5; ++r) {
        for (uint32_t col = 0; col < m_World->GetState().GetRowLength(r); ++col) {
            const CVector2 p = Cell(r, col);
            const float offsets[][2] = { {59, 0}, {-59, 0}, {0, 59}, {0, -59} };
            for (const auto& o : offsets) {
                Click(p.x + o[0], p.y + o[1], SDL_BUTTON_RIGHT);   // cancel any drag
                Press(p.x + o[0], p.y + o[1]);
                EXPECT_TRUE(m_World->IsDragging());
                EXPECT_EQ(m_World->GetSelRow(), r);
                EXPECT_EQ(m_World->GetSelCol(), col);
            }
        }
    }
}

// A press on a cell that Gold cannot raise does nothing, and is no pass.
TEST_F(WorldInput, press_on_an_unaffordable_cell_does_nothing)
{
    // Silver's 19 on (2, 2) would take 20 of Gold's 18.
    StartAt(Position({"0 0 1", "2 2 19"}));
    const CVector2 c = Cell(2, 2);
    const SoundCounts before = ReadSoundCounts();
    Press(c.x, c.y);
    EXPECT_FALSE(m_World->IsDragging());
    EXPECT_EQ(m_World->GetSelTeam(), 255);
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 0);
    EXPECT_EQ(m_World->GetState().GetNumPasses(), 0);
    EXPECT_EQ(m_World->GetDelay(), 0u);
    EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 0, 0, 0}));
}

// The drag count follows the distance both ways; back inside the cell it
// returns to 1 without a sound; release anywhere places.
TEST_F(WorldInput, drag_count_follows_distance)
{
    StartAt(CGameState(3, 2));
    const CVector2 c = Cell(2, 2);
    Press(c.x, c.y);

    SoundCounts before = ReadSoundCounts();
    MoveTo(c.x + 100, c.y);
    EXPECT_EQ(m_World->GetDragCount(), 2);
    MoveTo(c.x, c.y + 140);
    EXPECT_EQ(m_World->GetDragCount(), 4);
    MoveTo(c.x - 134, c.y);      // still below 134.4
    EXPECT_EQ(m_World->GetDragCount(), 3);
    MoveTo(c.x - 135, c.y);
    EXPECT_EQ(m_World->GetDragCount(), 4);
    MoveTo(c.x - 136, c.y);      // same count: no sound
    EXPECT_EQ(SoundsSince(before), (SoundCounts{4, 0, 0, 0}));

    before = ReadSoundCounts();
    MoveTo(c.x + 20, c.y);
    EXPECT_EQ(m_World->GetDragCount(), 1);
    MoveTo(c.x + 60, c.y);
    EXPECT_EQ(m_World->GetDragCount(), 1);
    EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 0, 0, 0}));

    MoveTo(c.x + 100, c.y);
    MoveTo(900, 100);            // far away: the count follows
    const int count = m_World->GetDragCount();
    EXPECT_GT(count, 4);
    before = ReadSoundCounts();
    Release(1000, 20);
    EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 1, 0, 0}));
    EXPECT_EQ(m_World->GetState().GetCellTokens(2, 2), count);
    EXPECT_EQ(m_World->GetState().GetCellOwner(2, 2), 0);
    EXPECT_EQ(m_World->GetState().GetTeamTokens(0), 19 - count);
    EXPECT_FALSE(m_World->IsDragging());
    EXPECT_EQ(m_World->GetSelTeam(), 0);   // the cell just played stays gold
    EXPECT_EQ(m_World->GetDelay(), 500u);
}

// Counts the rules refuse are skipped, not clamped: the last legal one stays.
TEST_F(WorldInput, refused_counts_keep_the_last_legal_one)
{
    StartAt(Position({"0 0 17", "pass"}));   // Gold holds 2
    const CVector2 c = Cell(2, 2);
    Press(c.x, c.y);
    MoveTo(c.x + 100, c.y);
    EXPECT_EQ(m_World->GetDragCount(), 2);
    const SoundCounts before = ReadSoundCounts();
    MoveTo(c.x + 140, c.y);
    MoveTo(c.x + 120, c.y);
    EXPECT_EQ(m_World->GetDragCount(), 2);
    EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 0, 0, 0}));
    Release(c.x + 120, c.y);
    EXPECT_EQ(m_World->GetState().GetCellTokens(2, 2), 2);
    EXPECT_EQ(m_World->GetState().GetTeamTokens(0), 0);

    // Raising its own cell, Gold's tokens there come back first.
    StartAt(Position({"2 2 3", "pass"}));     // Gold 16 in hand, 3 on (2, 2)
    Press(c.x, c.y);
    MoveTo(c.x + 60 + 24.8f * 15 + 1, c.y);   // 16 more: 19 on the cell
    EXPECT_EQ(m_World->GetDragCount(), 16);
    MoveTo(c.x + 60 + 24.8f * 16 + 1, c.y);   // 17 more: not affordable
    EXPECT_EQ(m_World->GetDragCount(), 16);
    Release(0, 0);
    EXPECT_EQ(m_World->GetState().GetCellTokens(2, 2), 19);
    EXPECT_EQ(m_World->GetState().GetTeamTokens(0), 0);
}

// A pointer far outside the window makes counts beyond a cell's 8-bit total;
// they must be refused, not wrapped round to small legal counts.
TEST_F(WorldInput, far_pointer_counts_do_not_wrap)
{
    StartAt(CGameState(3, 2));
    const CVector2 c = Cell(2, 2);
    Press(c.x, c.y);
    MoveTo(c.x + 100, c.y);
    ASSERT_EQ(m_World->GetDragCount(), 2);

    const SoundCounts before = ReadSoundCounts();
    // 259 would wrap to 3, 257 to 1, 512 to 0: all far beyond the stock.
    for (int n : {257, 258, 259, 260, 512, 513})
        MoveTo(c.x + 60 + 24.8f * (n - 1) + 10, c.y);
    m_World->OnMouseMove(65535, 65535);
    m_World->OnMouseMove(0, 65535);
    m_World->OnMouseMove(65535, 0);
    EXPECT_EQ(m_World->GetDragCount(), 2);
    EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 0, 0, 0}));
    m_World->OnMouseButton(SDL_BUTTON_LEFT, false, 65535, 65535);
    EXPECT_EQ(m_World->GetState().GetCellTokens(2, 2), 2);
}

// The right button cancels a drag and the gold highlight; the board is untouched.
TEST_F(WorldInput, right_press_cancels_the_drag)
{
    StartAt(Position({"0 0 1", "2 2 2"}));
    const CGameState start = m_World->GetState();
    const CVector2 c = Cell(2, 2);
    Press(c.x, c.y);
    MoveTo(c.x + 100, c.y);
    ASSERT_TRUE(m_World->IsDragging());

    Release(c.x + 100, c.y, SDL_BUTTON_RIGHT);   // a release does not cancel
    EXPECT_TRUE(m_World->IsDragging());
    Press(c.x + 100, c.y, 2);                    // nor does the middle button
    EXPECT_TRUE(m_World->IsDragging());
    Press(c.x + 100, c.y, SDL_BUTTON_RIGHT);
    EXPECT_FALSE(m_World->IsDragging());
    EXPECT_EQ(m_World->GetSelTeam(), 255);
    Release(c.x + 100, c.y);                     // nothing left to commit
    EXPECT_EQ(m_World->GetState().GetCellTokens(2, 2), start.GetCellTokens(2, 2));
    EXPECT_EQ(m_World->GetState().GetCellOwner(2, 2), 1);
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 0);
}

// A left press during a drag may begin a drag on another cell.
TEST_F(WorldInput, second_press_moves_the_drag)
{
    StartAt(CGameState(3, 2));
    const CVector2 a = Cell(2, 2), b = Cell(0, 0);
    Press(a.x, a.y);
    MoveTo(a.x + 100, a.y);
    ASSERT_EQ(m_World->GetDragCount(), 2);
    Press(b.x, b.y);
    EXPECT_EQ(m_World->GetSelRow(), 0);
    EXPECT_EQ(m_World->GetSelCol(), 0);
    EXPECT_EQ(m_World->GetDragCount(), 1);
    Release(b.x, b.y);
    EXPECT_EQ(m_World->GetState().GetCellTokens(0, 0), 1);
    EXPECT_EQ(m_World->GetState().GetCellTokens(2, 2), 0);
}

// The pass button: hover only on Gold's open turn without a drag; a click
// passes and keeps the highlight of Silver's last placement.
TEST_F(WorldInput, pass_button_hover_and_click)
{
    // With all 19 in hand Silver must place, so its cell is highlighted.
    StartAt(CGameState(3, 2), 1, 0);
    PlaceByDrag(1, 1, 0);
    m_World->Update(501);
    ASSERT_EQ(m_World->GetState().GetCurTeam(), 0);
    ASSERT_EQ(m_World->GetSelTeam(), 1);
    const uint8_t row = m_World->GetSelRow(), col = m_World->GetSelCol();
    ASSERT_LT(row, 5);

    MoveTo(kPassX + 59, kPassY);
    EXPECT_TRUE(m_World->IsPassHover());
    MoveTo(kPassX + 60, kPassY);
    EXPECT_FALSE(m_World->IsPassHover());
    MoveTo(kPassX, kPassY - 59);
    EXPECT_TRUE(m_World->IsPassHover());

    // No hover while dragging; back after a cancel.
    const CVector2 c = Cell(2, 0);
    Press(c.x, c.y);
    ASSERT_TRUE(m_World->IsDragging());
    MoveTo(kPassX, kPassY);
    EXPECT_FALSE(m_World->IsPassHover());
    Press(kPassX, kPassY, SDL_BUTTON_RIGHT);
    EXPECT_TRUE(m_World->IsPassHover());   // the cancel lights it at once
    MoveTo(kPassX, kPassY);
    EXPECT_TRUE(m_World->IsPassHover());
    EXPECT_EQ(m_World->GetSelTeam(), 255);

    // Taking Silver's cell gives its token back, so it must place again;
    // then Gold passes over that highlight.
    PlaceByDrag(row, col, 0);
    m_World->Update(501);
    ASSERT_EQ(m_World->GetState().GetCurTeam(), 0);
    ASSERT_EQ(m_World->GetSelTeam(), 1);
    const uint8_t silverRow = m_World->GetSelRow(), silverCol = m_World->GetSelCol();
    const uint8_t passes = m_World->GetState().GetNumPasses();

    MoveTo(kPassX, kPassY);
    const SoundCounts before = ReadSoundCounts();
    Press(kPassX, kPassY);
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 1);
    EXPECT_EQ(m_World->GetState().GetNumPasses(), passes + 1);
    EXPECT_EQ(m_World->GetSelTeam(), 1);
    EXPECT_EQ(m_World->GetSelRow(), silverRow);
    EXPECT_EQ(m_World->GetSelCol(), silverCol);
    EXPECT_EQ(SoundsSince(before)[m_World->GetState().IsGameDone() ? SND_GAME_OVER : SND_PASS], 1u);
    // The turn has gone: the button is no longer lit, mouse moved or not.
    EXPECT_FALSE(m_World->IsPassHover());
    MoveTo(kPassX, kPassY);
    EXPECT_FALSE(m_World->IsPassHover());
    ASSERT_FALSE(m_World->GetState().IsGameDone());

    // During the pause left clicks do nothing.
    Click(Cell(3, 0).x, Cell(3, 0).y);
    Click(kPassX, kPassY);
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 1);
    EXPECT_EQ(m_World->GetState().GetNumPasses(), passes + 1);
    EXPECT_FALSE(m_World->IsDragging());
}

// With nothing in hand any left click passes, wherever it lands, and clears
// the highlight.
TEST_F(WorldInput, empty_stock_click_passes_anywhere)
{
    StartAt(Position({"0 0 19", "4 2 1"}));
    const SoundCounts before = ReadSoundCounts();
    Press(900, 700);
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 1);
    EXPECT_EQ(m_World->GetState().GetNumPasses(), 1);
    EXPECT_EQ(m_World->GetSelTeam(), 255);
    EXPECT_EQ(m_World->GetDelay(), 400u);
    EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 0, 0, 1}));
}

// Passing during a drag ends the drag: otherwise the board would keep showing
// the dragged tokens on later highlights and the pass button would stay dark.
TEST_F(WorldInput, pass_during_a_drag_ends_the_drag)
{
    // Silver is behind, so it will not end the game by passing in reply.
    StartAt(Position({"0 0 1", "4 2 3"}), 1, 0);
    const CVector2 c = Cell(2, 2);
    Press(c.x, c.y);
    MoveTo(c.x + 100, c.y);
    ASSERT_EQ(m_World->GetDragCount(), 2);

    const SoundCounts before = ReadSoundCounts();
    Press(kPassX, kPassY);
    EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 0, 0, 1}));
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 1);
    EXPECT_FALSE(m_World->IsDragging());
    EXPECT_EQ(m_World->GetSelTeam(), 255);       // the aimed-at cell was not played
    EXPECT_EQ(m_World->GetState().GetCellTokens(2, 2), 0);
    Release(kPassX, kPassY);                     // no placement behind the pass
    EXPECT_EQ(m_World->GetState().GetCellTokens(2, 2), 0);

    // Silver places; the board shows its cell as it is, and the button
    // lights again once Gold is to move.
    m_World->Update(401);
    ASSERT_FALSE(m_World->GetState().IsGameDone());
    ASSERT_EQ(m_World->GetState().GetCurTeam(), 0);
    EXPECT_EQ(m_World->GetSelTeam(), 1);
    EXPECT_FALSE(m_World->IsDragging());
    MoveTo(kPassX, kPassY);
    EXPECT_TRUE(m_World->IsPassHover());
}
