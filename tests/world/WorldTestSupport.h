#ifndef VESK_TESTS_WORLD_WORLDTESTSUPPORT_H
#define VESK_TESTS_WORLD_WORLDTESTSUPPORT_H

// A world driven through its operations, a sound bank of four entries whose
// play counts record what it played, and positions built by the rules.

#include "world/CGameWorld.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

namespace worldtest {

typedef std::array<unsigned, 4> Sounds;   // plays of sounds 0 to 3
Sounds SoundsSince(const Sounds& before);
Sounds SoundCounts();

// A scratch working folder whose Data/sounds.dat lists four missing samples.
std::string SoundFolder();

// Placements "row col tokens" and "pass", each by the team to move.
CGameState Position(std::initializer_list<const char*> moves);

const float kPassX = 130, kPassY = 130;

class WorldTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    void SetUp() override;

    // Mouse positions in drawing units (y up).
    void MoveTo(float x, float y);
    void Button(float x, float y, bool pressed, Uint8 button = SDL_BUTTON_LEFT);
    void Press(float x, float y, Uint8 button = SDL_BUTTON_LEFT) { Button(x, y, true, button); }
    void Release(float x, float y, Uint8 button = SDL_BUTTON_LEFT) { Button(x, y, false, button); }
    void PressCell(uint32_t row, uint32_t col) { Press(Cell(row, col).x, Cell(row, col).y); }
    void Escape(bool pressed = true) { m_World->OnKey(SDLK_ESCAPE, KMOD_NONE, pressed); }

    void StartAt(const CGameState& s);   // at depth 1 without noise
    void PlaceByDrag(uint32_t row, uint32_t col);   // Gold places one
    CVector2 Cell(uint32_t row, uint32_t col) const { return m_World->GetCellCenter(row, col); }

    std::unique_ptr<CGameWorld> m_World;
};

} // namespace worldtest

#endif
