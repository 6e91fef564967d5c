// The world's screens and turns: starting games, the pauses, Silver's turn,
// Gold's automatic pass, Escape, and the sounds that mark each step.

#include "WorldTestSupport.h"

#include "opponent/Search.h"

using namespace worldtest;

namespace {

class WorldFlow : public WorldTest {};

bool SameBoard(const CGameState& a, const CGameState& b)
{
    for (uint32_t r = 0; r < a.GetNumRows(); ++r)
        for (uint32_t c = 0; c < a.GetRowLength(r); ++c)
            if (a.GetCellTokens(r, c) != b.GetCellTokens(r, c) || a.GetCellOwner(r, c) != b.GetCellOwner(r, c))
                return false;
    for (uint8_t t = 0; t < a.GetNumTeams(); ++t)
        if (a.GetTeamTokens(t) != b.GetTeamTokens(t) || a.GetTeamScore(t) != b.GetTeamScore(t))
            return false;
    return a.GetCurTeam() == b.GetCurTeam() && a.GetNumPasses() == b.GetNumPasses();
}

} // namespace

// A new world shows the menu with nothing chosen, nothing highlighted and a fresh board.
TEST_F(WorldFlow, starts_on_the_menu_with_a_fresh_board)
{
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_MENU);
    EXPECT_EQ(m_World->GetMenuHover(), -1);
    EXPECT_EQ(m_World->GetDelay(), 0u);
    EXPECT_EQ(m_World->GetDragCount(), 1);
    EXPECT_EQ(m_World->GetSelTeam(), 255);
    EXPECT_FALSE(m_World->IsDragging());
    EXPECT_FALSE(m_World->IsPassHover());
    EXPECT_TRUE(SameBoard(m_World->GetState(), CGameState(3, 2)));

    // Time does not run on the menu.
    const SoundCounts before = ReadSoundCounts();
    m_World->Update(100000);
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_MENU);
    EXPECT_TRUE(SameBoard(m_World->GetState(), CGameState(3, 2)));
    EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 0, 0, 0}));
}

// Starting a game sets both strength settings, clears drag and highlight,
// resets the board and plays the placement sound once.
TEST_F(WorldFlow, start_game_sets_strength_and_resets_the_game)
{
    StartAt(Position({"2 2 3", "0 0 1"}));
    PlaceByDrag(1, 1, 0);   // a drag and a gold highlight to be cleared
    EXPECT_EQ(m_World->GetDelay(), 500u);
    Key(SDLK_ESCAPE);

    const SoundCounts before = ReadSoundCounts();
    m_World->StartGame(1, 6);
    EXPECT_EQ(g_searchDepth, 1);
    EXPECT_EQ(g_evalNoise, 6);
    m_World->StartGame(4, 0);
    EXPECT_EQ(g_searchDepth, 4);
    EXPECT_EQ(g_evalNoise, 0);
    EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 2, 0, 0}));

    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_GAME);
    EXPECT_TRUE(SameBoard(m_World->GetState(), CGameState(3, 2)));
    EXPECT_EQ(m_World->GetSelTeam(), 255);
    EXPECT_FALSE(m_World->IsDragging());
    EXPECT_EQ(m_World->GetMenuHover(), -1);
    // The pause and the last cell are left as they were.
    EXPECT_EQ(m_World->GetDelay(), 500u);
    EXPECT_EQ(m_World->GetSelRow(), 1);
    EXPECT_EQ(m_World->GetSelCol(), 1);
}

// Escape: the game screen goes back to the menu without touching the game;
// releases and other keys do nothing; a new start gives a fresh board.
TEST_F(WorldFlow, escape_leaves_the_game_untouched_until_a_new_start)
{
    StartAt(Position({"2 2 3", "0 0 1"}));
    const CVector2 c = Cell(1, 1);
    Press(c.x, c.y);
    ASSERT_TRUE(m_World->IsDragging());

    Key(SDLK_ESCAPE, false);
    Key(SDLK_SPACE);
    Key(SDLK_q);
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_GAME);

    Key(SDLK_ESCAPE);
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_MENU);
    EXPECT_TRUE(m_World->IsDragging());   // left set; the menu ignores it
    EXPECT_TRUE(SameBoard(m_World->GetState(), Position({"2 2 3", "0 0 1"})));

    // Mouse input on the menu does not reach the abandoned drag.
    Release(c.x, c.y);
    EXPECT_TRUE(SameBoard(m_World->GetState(), Position({"2 2 3", "0 0 1"})));

    Click(200, 470);   // "Very Easy"
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_GAME);
    EXPECT_FALSE(m_World->IsDragging());
    EXPECT_TRUE(SameBoard(m_World->GetState(), CGameState(3, 2)));
    EXPECT_EQ(g_searchDepth, 1);
    EXPECT_EQ(g_evalNoise, 6);
}

// Escape while Silver waits: the pause does not run on the menu.
TEST_F(WorldFlow, pause_is_frozen_on_the_menu)
{
    StartAt(CGameState(3, 2));
    PlaceByDrag(2, 2, 0);
    ASSERT_EQ(m_World->GetDelay(), 500u);
    m_World->Update(200);
    Key(SDLK_ESCAPE);
    m_World->Update(5000);
    EXPECT_EQ(m_World->GetDelay(), 300u);
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 1);
}

// After a placement Silver replies in the first frame that outlasts 500 ms:
// a frame of exactly the remaining time and frames of 0 ms do not run it.
TEST_F(WorldFlow, silver_replies_after_the_placement_pause)
{
    StartAt(CGameState(3, 2), 1, 0);
    PlaceByDrag(2, 2, 0);
    EXPECT_EQ(m_World->GetDelay(), 500u);
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 1);

    m_World->Update(0);
    m_World->Update(499);
    EXPECT_EQ(m_World->GetDelay(), 1u);
    m_World->Update(1);
    EXPECT_EQ(m_World->GetDelay(), 0u);
    m_World->Update(0);
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 1);
    // Gold's ring stays on the cell just played through the pause.
    EXPECT_EQ(m_World->GetSelTeam(), 0);
    EXPECT_EQ(m_World->GetSelRow(), 2);
    EXPECT_EQ(m_World->GetSelCol(), 2);

    const SoundCounts before = ReadSoundCounts();
    m_World->Update(1);
    const CGameState& s = m_World->GetState();
    EXPECT_EQ(s.GetCurTeam(), 0);
    // With all 19 in hand Silver cannot pass: it placed, and its cell is highlighted.
    EXPECT_EQ(m_World->GetSelTeam(), 1);
    ASSERT_LT(m_World->GetSelRow(), 5);
    EXPECT_EQ(s.GetCellOwner(m_World->GetSelRow(), m_World->GetSelCol()), 1);
    EXPECT_EQ(s.GetCellTokens(m_World->GetSelRow(), m_World->GetSelCol()),
              (m_World->GetSelRow() == 2 && m_World->GetSelCol() == 2) ? 2 : 1);
    EXPECT_EQ(s.GetTeamTokens(1), 19 - s.GetCellTokens(m_World->GetSelRow(), m_World->GetSelCol()));
    EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 1, 0, 0}));
    EXPECT_EQ(m_World->GetDelay(), 0u);   // Gold may answer at once
}

// Silver's pass that lets the game go on clears the highlight and plays the
// pass sound, and Gold may move in the very next event.
TEST_F(WorldFlow, silver_pass_clears_the_highlight_and_gold_moves_at_once)
{
    // Silver has played, so it may pass; no single placement of Silver
    // makes or breaks a triangle, so at depth 1 without noise it passes.
    StartAt(Position({"0 0 1", "4 2 1"}), 1, 0);
    PlaceByDrag(2, 2, 0);
    const SoundCounts before = ReadSoundCounts();
    m_World->Update(501);
    ASSERT_EQ(m_World->GetState().GetCurTeam(), 0);
    ASSERT_EQ(m_World->GetState().GetNumPasses(), 1);
    EXPECT_FALSE(m_World->GetState().IsGameDone());
    EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 0, 0, 1}));
    EXPECT_EQ(m_World->GetSelTeam(), 1);
    EXPECT_EQ(m_World->GetSelRow(), 255);
    EXPECT_EQ(m_World->GetSelCol(), 255);
    EXPECT_EQ(m_World->GetDelay(), 0u);

    const CVector2 c = Cell(1, 1);
    Press(c.x, c.y);
    EXPECT_TRUE(m_World->IsDragging());
    EXPECT_EQ(m_World->GetSelTeam(), 0);
}

// Gold's pass waits 400 ms. Level scores: Silver's answering pass ends the
// game in a tie, and only the end sound plays.
TEST_F(WorldFlow, gold_pass_gives_silver_the_turn_after_400ms)
{
    StartAt(Position({"0 0 1", "4 2 1"}), 1, 0);   // 18 and 18
    SoundCounts before = ReadSoundCounts();
    Click(kPassX, kPassY);
    EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 0, 0, 1}));
    EXPECT_EQ(m_World->GetDelay(), 400u);
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 1);
    EXPECT_EQ(m_World->GetState().GetNumPasses(), 1);

    m_World->Update(400);
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 1);
    before = ReadSoundCounts();
    m_World->Update(1);
    const CGameState& s = m_World->GetState();
    ASSERT_TRUE(s.IsGameDone());
    EXPECT_EQ(s.GetTeamScore(0), s.GetTeamScore(1));
    EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 0, 1, 0}));
}

// Silver ahead after Gold's pass: its pass ends the game with sound 2 only.
TEST_F(WorldFlow, silver_pass_that_ends_the_game_plays_the_end_sound)
{
    StartAt(Position({"0 0 3", "4 2 1"}), 1, 0);   // Gold 16, Silver 18
    Click(kPassX, kPassY);
    const SoundCounts before = ReadSoundCounts();
    m_World->Update(401);
    const CGameState& s = m_World->GetState();
    ASSERT_TRUE(s.IsGameDone());
    EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 0, 1, 0}));
    EXPECT_EQ(m_World->GetSelTeam(), 1);
    EXPECT_EQ(m_World->GetSelRow(), 255);
    EXPECT_LT(s.GetTeamScore(0), s.GetTeamScore(1));

    // Nothing more happens in later frames.
    m_World->Update(10000);
    EXPECT_TRUE(SameBoard(m_World->GetState(), s));
}

// With an empty stock at its turn Gold passes in the next frame, silently
// while the game goes on; Silver's reply and that pass share one frame.
TEST_F(WorldFlow, gold_with_no_tokens_passes_by_itself)
{
    StartAt(Position({"0 0 19"}), 1, 0);   // Silver to move, Gold holds nothing
    const SoundCounts before = ReadSoundCounts();
    m_World->Update(1);
    const CGameState& s = m_World->GetState();
    EXPECT_EQ(s.GetCurTeam(), 1);        // Silver placed, then Gold passed
    EXPECT_EQ(s.GetNumPasses(), 1);
    EXPECT_EQ(s.GetTeamTokens(1), 18);
    EXPECT_EQ(m_World->GetSelTeam(), 255);
    EXPECT_EQ(m_World->GetDelay(), 400u);
    EXPECT_FALSE(m_World->IsPassHover());
    EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 1, 0, 0}));

    // A zero-length frame never runs a turn step, not even the automatic pass.
    StartAt(Position({"0 0 19", "4 2 1"}), 1, 0);
    m_World->Update(400);   // use up the pause left from before
    m_World->Update(0);
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 0);
    m_World->Update(1);
    EXPECT_EQ(m_World->GetState().GetCurTeam(), 1);
}

// Gold's automatic pass after Silver's pass ends the game, with sound 2.
TEST_F(WorldFlow, gold_automatic_pass_can_end_the_game)
{
    StartAt(Position({"0 0 19", "pass"}), 1, 0);
    const SoundCounts before = ReadSoundCounts();
    m_World->Update(1);
    EXPECT_TRUE(m_World->GetState().IsGameDone());
    EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 0, 1, 0}));
}

// Game over: a left press anywhere goes back to the menu; other buttons and
// releases do not; Escape does too.
TEST_F(WorldFlow, game_over_returns_to_the_menu)
{
    StartAt(Position({"0 0 1", "pass", "pass"}));
    ASSERT_TRUE(m_World->GetState().IsGameDone());
    const SoundCounts before = ReadSoundCounts();

    Click(kPassX, kPassY, SDL_BUTTON_RIGHT);
    Release(700, 700);
    const CVector2 c = Cell(2, 2);
    MoveTo(kPassX, kPassY);
    EXPECT_FALSE(m_World->IsPassHover());
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_GAME);

    Press(c.x, c.y);
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_MENU);
    EXPECT_FALSE(m_World->IsDragging());
    EXPECT_EQ(m_World->GetState().GetNumPasses(), 2);
    EXPECT_EQ(SoundsSince(before), (SoundCounts{0, 0, 0, 0}));

    StartAt(Position({"0 0 1", "pass", "pass"}));
    Key(SDLK_ESCAPE);
    EXPECT_EQ(m_World->GetMode(), CGameWorld::MODE_MENU);
}

// Every opponent turn builds and frees its own tree: a whole game at a real
// strength runs turn after turn to its end without the world leaking state.
TEST_F(WorldFlow, whole_game_against_the_opponent_reaches_an_end)
{
    m_World->StartGame(2, 2);
    int turns = 0;
    while (!m_World->GetState().IsGameDone() && turns < 200) {
        const CGameState& s = m_World->GetState();
        if (s.GetCurTeam() == 0 && s.GetTeamTokens(0) > 0) {
            // Gold raises the first cell it can for a while, then only passes,
            // so Silver runs out of tokens and the game must end.
            bool placed = false;
            for (uint32_t r = 0; r < s.GetNumRows() && !placed; ++r)
                for (uint32_t c = 0; c < s.GetRowLength(r) && !placed; ++c)
                    if (s.IsMoveLegal(r, c, static_cast<uint8_t>(s.GetCellTokens(r, c) + 1)) && turns < 30) {
                        PlaceByDrag(r, c, 0);
                        placed = true;
                    }
            if (!placed)
                Click(kPassX, kPassY);
        }
        m_World->Update(600);
        ++turns;
    }
    EXPECT_TRUE(m_World->GetState().IsGameDone());
    EXPECT_LT(turns, 200);
}
