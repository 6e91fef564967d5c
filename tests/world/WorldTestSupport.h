#ifndef VESK_TESTS_WORLD_WORLDTESTSUPPORT_H
#define VESK_TESTS_WORLD_WORLDTESTSUPPORT_H

// Shared set-up for the world's tests: a sound bank of four entries whose play
// counts record what the world played, a world driven through its seven
// operations, and positions built through the rules.

#include "game/CGameState.h"
#include "world/CGameWorld.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

namespace worldtest {

enum { SND_HOVER = 0, SND_PLACE = 1, SND_GAME_OVER = 2, SND_PASS = 3 };
typedef std::array<unsigned, 4> SoundCounts;

// Makes a temporary working folder holding "Data/sounds.dat" with four lines
// naming samples that do not exist (the entries exist all the same), and
// loads it into the bank once per process. Returns the folder.
std::string LoadFourSoundList();

SoundCounts ReadSoundCounts();
// Plays since `before`, per sound.
SoundCounts SoundsSince(const SoundCounts& before);

// A position reached through the rules, move by move. Each entry is a
// placement "r c tokens" or "pass", played by whichever team is to move.
CGameState Position(std::initializer_list<const char*> moves);

class WorldTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    void SetUp() override;

    // Mouse input in drawing units (y up), as a player would produce it.
    void MoveTo(float x, float y);
    void Press(float x, float y, Uint8 button = SDL_BUTTON_LEFT);
    void Release(float x, float y, Uint8 button = SDL_BUTTON_LEFT);
    void Click(float x, float y, Uint8 button = SDL_BUTTON_LEFT);
    void Key(SDLKey sym, bool pressed = true);

    // Starts a game at the given strength and puts the position on the board.
    void StartAt(const CGameState& state, int depth = 1, int noise = 0);

    // Gold drags from a cell straight to the right by `distance`, and releases.
    void PlaceByDrag(uint32_t row, uint32_t col, float distance);

    CVector2 Cell(uint32_t row, uint32_t col) const { return m_World->GetCellCenter(row, col); }

    std::unique_ptr<CGameWorld> m_World;
};

// The pass button (Gold's stock) in drawing units.
const float kPassX = 130.0f, kPassY = 130.0f;

} // namespace worldtest

#endif
