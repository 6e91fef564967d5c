// Long random runs of mouse, key and frame events from fixed seeds: after every
// event the rules model finds the position sound, a drag offers only a legal
// placement by Gold, the pass button is lit only on Gold's turn of a live game.

#include "WorldTestSupport.h"

#include "CInvariantChecker.h"
#include "opponent/CRandomTable.h"

#include <random>

using namespace worldtest;

namespace {

std::string Broken(const CGameWorld& w)
{
    const CGameState& s = w.GetState();
    const unsigned row = w.GetSelRow(), col = w.GetSelCol(), game = w.GetMode() == CGameWorld::MODE_GAME;
    std::string why;
    if (!CInvariantChecker::CheckState(s, why))
        return why;
    if (game && w.IsDragging() && (s.GetCurTeam() != 0 || w.GetSelTeam() != 0 || row >= s.GetNumRows() || col >= s.GetRowLength(row)
                                   || !CInvariantChecker::IsLegal(s, row, col, s.GetCellTokens(row, col) + w.GetDragCount())))
        return "the drag offers an illegal placement";
    if (game && w.IsPassHover() && (s.IsGameDone() || s.GetCurTeam() != 0 || w.IsDragging()))
        return "the pass button is lit outside Gold's turn";
    return why;
}

class WorldFuzz : public WorldTest, public ::testing::WithParamInterface<unsigned> {};

} // namespace

TEST_P(WorldFuzz, random_input_keeps_the_rules)
{
    std::mt19937 rng(GetParam());
    CRandomTable::GetInstance()->FillFromSeed(GetParam());
    auto uniform = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); };
    auto percent = [&] { return std::uniform_int_distribution<int>(0, 99)(rng); };
    unsigned games = 0, placements = 0;
    for (int step = 0; step < 15000; ++step) {
        // Mostly cells out to dragging range, the pass button, the menu; sometimes anywhere.
        const int where = percent(), kind = percent();
        const CVector2 cell = Cell(2, 2);
        const float x = where < 45 ? uniform(cell.x - 420, cell.x + 420) : where < 60 ? uniform(60, 200) : uniform(80, 300);
        const float y = where < 45 ? uniform(cell.y - 340, cell.y + 340) : where < 60 ? uniform(60, 200) : uniform(280, 500);
        const bool onMenu = m_World->GetMode() == CGameWorld::MODE_MENU, anywhere = where >= 97;
        const Uint16 sx = anywhere ? Uint16(rng()) : Uint16(std::max(0.0f, x));
        Uint16 sy = anywhere ? Uint16(rng()) : Uint16(std::max(0.0f, 768 - y));
        if (onMenu && sy >= 395 && sy <= 428 && percent() < 90)
            sy = 300;   // the deepest strength is slow: pick it rarely
        const unsigned stock = m_World->GetState().GetTeamTokens(0) + m_World->GetState().GetTeamTokens(1);
        const Uint8 button = Uint8(percent() < 70 ? 1 : 2 + percent() % 4);
        if (kind < 35)
            m_World->OnMouseMove(sx, sy);
        else if (kind < 75)
            m_World->OnMouseButton(button, percent() < 55, sx, sy);
        else if (kind >= 80)
            m_World->Update(Uint32(percent() * 7));
        else if (onMenu || percent() >= 80)   // keys mostly on the menu, to keep games going
            m_World->OnKey(percent() < 70 ? SDLK_ESCAPE : SDLK_RETURN, KMOD_NONE, percent() < 50);
        const std::string why = Broken(*m_World);
        ASSERT_TRUE(why.empty()) << "step " << step << ", event " << kind << " at " << sx << "," << sy << ": " << why;
        games += onMenu && m_World->GetMode() == CGameWorld::MODE_GAME;
        placements += m_World->GetState().GetTeamTokens(0) + m_World->GetState().GetTeamTokens(1) < stock;
    }
    EXPECT_GT(games, 3u);   // real play happened, not just idling on the menu
    EXPECT_GT(placements, 50u);
}

INSTANTIATE_TEST_SUITE_P(Seeds, WorldFuzz, ::testing::Values(1u, 2u, 3u, 4u));
