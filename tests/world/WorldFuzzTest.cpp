// Long random runs of mouse, key and frame events; an illegal placement would
// stop the process on the rules' assertions, and invariants are checked after every event.

#include "WorldTestSupport.h"

#include "opponent/CRandomTable.h"

#include <random>
#include <sstream>

using namespace worldtest;

namespace {

std::string Broken(const CGameWorld& w)
{
    const CGameState& s = w.GetState();
    std::ostringstream why;
    unsigned tokens = s.GetTeamTokens(0) + s.GetTeamTokens(1);
    for (uint32_t r = 0; r < s.GetNumRows(); ++r)
        for (uint32_t c = 0; c < s.GetRowLength(r); ++c) {
            tokens += s.GetCellTokens(r, c);
            if ((s.GetCellTokens(r, c) == 0) != (s.GetCellOwner(r, c) == 2))
                why << "cell owner; ";
        }
    if (tokens != 38)
        why << "tokens do not add up; ";
    for (uint8_t t = 0; t < 2; ++t)
        if (s.GetTeamScore(t) < s.GetTeamTokens(t) || (s.GetTeamScore(t) - s.GetTeamTokens(t)) % 4)
            why << "score; ";
    if (w.GetDragCount() < 1)
        why << "drag count 0; ";
    if (w.GetMode() == CGameWorld::MODE_GAME && w.IsDragging()) {
        const unsigned n = w.GetDragCount() + (w.GetSelRow() < 5 ? s.GetCellTokens(w.GetSelRow(), w.GetSelCol()) : 0);
        if (s.GetCurTeam() != 0 || w.GetSelTeam() != 0 || w.GetSelRow() >= 5 || n > 255 ||
            !s.IsMoveLegal(w.GetSelRow(), w.GetSelCol(), uint8_t(n)))
            why << "drag offers an illegal placement; ";
    }
    if (w.GetMode() == CGameWorld::MODE_GAME && w.IsPassHover() &&
        (s.IsGameDone() || s.GetCurTeam() != 0 || w.IsDragging()))
        why << "pass button lit outside Gold's turn; ";
    return why.str();
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
        const int where = percent();
        const CVector2 cell = Cell(2, 2);
        float x = where < 45 ? uniform(cell.x - 420, cell.x + 420) : where < 60 ? uniform(60, 200) : uniform(80, 300);
        float y = where < 45 ? uniform(cell.y - 340, cell.y + 340) : where < 60 ? uniform(60, 200) : uniform(280, 500);
        Uint16 sx = Uint16(std::max(0.0f, x)), sy = Uint16(std::max(0.0f, 768 - y));
        if (where >= 97)
            sx = Uint16(rng()), sy = Uint16(rng());
        const bool onMenu = m_World->GetMode() == CGameWorld::MODE_MENU;
        if (onMenu && sy >= 395 && sy <= 428 && percent() < 90)
            sy = 300;   // the deepest strength is slow: pick it rarely

        std::ostringstream event;
        const unsigned stock = m_World->GetState().GetTeamTokens(0) + m_World->GetState().GetTeamTokens(1);
        const int kind = percent();
        if (kind < 35) {
            m_World->OnMouseMove(sx, sy);
            event << "move";
        } else if (kind < 75) {
            const Uint8 button = Uint8(percent() < 70 ? 1 : 2 + percent() % 4);
            m_World->OnMouseButton(button, percent() < 55, sx, sy);
            event << "button " << int(button);
        } else if (kind < 80) {
            if (!onMenu && percent() < 80)
                continue;   // keep games going
            m_World->OnKey(percent() < 70 ? SDLK_ESCAPE : SDLK_RETURN, KMOD_NONE, percent() < 50);
            event << "key";
        } else {
            m_World->Update(Uint32(percent() * 7));
            event << "frame";
        }
        const std::string why = Broken(*m_World);
        ASSERT_TRUE(why.empty()) << "step " << step << ", " << event.str() << " at " << sx << "," << sy << ": " << why;
        games += onMenu && m_World->GetMode() == CGameWorld::MODE_GAME;
        placements += m_World->GetState().GetTeamTokens(0) + m_World->GetState().GetTeamTokens(1) < stock;
    }
    EXPECT_GT(games, 3u);   // real play happened, not just idling on the menu
    EXPECT_GT(placements, 50u);
}

INSTANTIATE_TEST_SUITE_P(Seeds, WorldFuzz, ::testing::Values(1u, 2u, 3u, 4u));
