#pragma once

// A world driven through its operations; without a sound list the bank's silent stand-ins count what it played.

#include "Notation.h"
#include "engine/CGameEngine.h"
#include "opponent/CRandomTable.h"
#include "sound/CSound.h"
#include "sound/CSoundManager.h"
#include "world/CGameWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>

namespace worldtest {

// A position of the standard board in vesk-lab's notation ("g1--/----/--s2--/----/--- g 0").
inline CGameState Position(const std::string& text)
{
    CGameState state(3, 2);
    std::string error;
    EXPECT_TRUE(CNotation::ParseState(text, state, error)) << text << ": " << error;
    return state;
}

const float kPassX = 130, kPassY = 130;

class WorldTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CRandomTable::GetInstance()->FillFromSeed(20240611u);
        m_World.reset(new CGameWorld(CGameEngine::GetInstance())), m_World->Reset(), Look();   // sounds counted from here
    }

    // Mouse positions in drawing units (y up).
    static Uint16 Px(float v) { return Uint16(std::lround(v)); }
    void MoveTo(float x, float y) { m_World->OnMouseMove(Px(x), Px(768 - y)); }
    void Button(float x, float y, bool down, Uint8 b = SDL_BUTTON_LEFT) { m_World->OnMouseButton(b, down, Px(x), Px(768 - y)); }
    void Press(float x, float y, Uint8 button = SDL_BUTTON_LEFT) { Button(x, y, true, button); }
    void PressCell(uint32_t row, uint32_t col) { Press(Cell(row, col).x, Cell(row, col).y); }
    void PlaceByDrag(uint32_t row, uint32_t col) { PressCell(row, col), Button(Cell(row, col).x, Cell(row, col).y, false); }
    void Escape(bool pressed = true) { m_World->OnKey(SDLK_ESCAPE, KMOD_NONE, pressed); }
    void StartAt(const CGameState& s) { m_World->StartGame(1, 0), m_World->SetState(s); }   // depth 1, no noise
    CVector2 Cell(uint32_t row, uint32_t col) const { return m_World->GetCellCenter(row, col); }

    // What a player sees and has heard since the last look, the position in vesk-lab's notation: "game
    // ---/----/--g1--/----/--- s 0, gold ring on 2 2, sounds 0 1 0 0" (ring, drag count and "pass lit" when shown).
    std::string Look()
    {
        const CGameWorld& w = *m_World;
        std::ostringstream look;
        look << (w.GetMode() == CGameWorld::MODE_MENU ? "menu " : "game ") << CNotation::Format(w.GetState());
        if (w.GetSelTeam() < 2 && w.GetSelRow() < 5)
            look << (w.GetSelTeam() ? ", silver" : ", gold") << " ring on " << int(w.GetSelRow()) << " " << int(w.GetSelCol());
        if (w.IsDragging()) look << ", drag " << int(w.GetDragCount());
        look << (w.IsPassHover() ? ", pass lit" : "") << ", sounds";
        for (int i = 0; i < 4; ++i) {
            const unsigned played = CSoundManager::GetInstance()->GetSound(i)->GetPlayCount();
            look << " " << played - m_Heard[i], m_Heard[i] = played;
        }
        return look.str();
    }

    std::unique_ptr<CGameWorld> m_World;
    unsigned m_Heard[4] = {};   // plays of sounds 0 to 3 at the last look
};

} // namespace worldtest

