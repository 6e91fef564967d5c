// Long random sequences of player input and frames. Nothing the player does
// may make the world break a rule: an illegal placement or pass would stop
// the process on the rules' assertions, and the rules' and the world's own
// invariants are checked after every single event.

#include "WorldTestSupport.h"

#include "opponent/CRandomTable.h"

#include <random>
#include <sstream>

using namespace worldtest;

namespace {

::testing::AssertionResult Invariants(const CGameWorld& w)
{
    const CGameState& s = w.GetState();
    std::ostringstream why;
    unsigned onBoard = 0;
    for (uint32_t r = 0; r < s.GetNumRows(); ++r) {
        for (uint32_t c = 0; c < s.GetRowLength(r); ++c) {
            const unsigned t = s.GetCellTokens(r, c), o = s.GetCellOwner(r, c);
            onBoard += t;
            if ((t == 0) != (o == s.GetNumTeams()) || o > s.GetNumTeams())
                why << "cell " << r << "," << c << " holds " << t << " of " << o << "; ";
        }
    }
    if (onBoard + s.GetTeamTokens(0) + s.GetTeamTokens(1) != 2u * CGameState::kStartTokens)
        why << "tokens do not add up; ";
    for (uint8_t t = 0; t < 2; ++t)
        if (s.GetTeamScore(t) < s.GetTeamTokens(t) || (s.GetTeamScore(t) - s.GetTeamTokens(t)) % 4 != 0)
            why << "score of team " << int(t) << " is not stock plus triangles; ";
    if (s.GetCurTeam() >= s.GetNumTeams() || s.GetNumPasses() > s.GetNumTeams())
        why << "turn or pass count out of range; ";

    if (w.GetDragCount() < 1)
        why << "drag count 0; ";
    if (w.GetSelTeam() != 0 && w.GetSelTeam() != 1 && w.GetSelTeam() != 255)
        why << "highlight team " << int(w.GetSelTeam()) << "; ";
    if (w.GetMode() == CGameWorld::MODE_GAME) {
        if (w.IsDragging()) {
            // A drag always offers a placement the rules accept.
            if (s.IsGameDone() || s.GetCurTeam() != 0 || w.GetSelTeam() != 0)
                why << "drag outside Gold's open turn; ";
            else if (w.GetSelRow() >= s.GetNumRows() || w.GetSelCol() >= s.GetRowLength(w.GetSelRow()))
                why << "drag on no cell; ";
            else if (s.GetCellTokens(w.GetSelRow(), w.GetSelCol()) + w.GetDragCount() > 255 ||
                     !s.IsMoveLegal(w.GetSelRow(), w.GetSelCol(),
                                    uint8_t(s.GetCellTokens(w.GetSelRow(), w.GetSelCol()) + w.GetDragCount())))
                why << "drag count " << int(w.GetDragCount()) << " not legal; ";
        }
        if (w.IsPassHover() && (s.IsGameDone() || s.GetCurTeam() != 0 || w.IsDragging()))
            why << "pass button lit outside Gold's turn; ";
    }
    const std::string text = why.str();
    if (text.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << text;
}

class WorldFuzz : public WorldTest, public ::testing::WithParamInterface<unsigned> {};

// Pointer positions a player would actually produce, plus a few wild ones.
void RandomPoint(std::mt19937& rng, const CGameWorld& w, Uint16& x, Uint16& y)
{
    std::uniform_int_distribution<int> pick(0, 99);
    const int kind = pick(rng);
    float px, py;
    if (kind < 45) {   // around a cell, out to dragging distances
        const uint32_t r = std::uniform_int_distribution<uint32_t>(0, 4)(rng);
        const uint32_t c = std::uniform_int_distribution<uint32_t>(0, w.GetState().GetRowLength(r) - 1)(rng);
        const CVector2 centre = w.GetCellCenter(r, c);
        const float spread = kind < 30 ? 70.0f : 400.0f;
        px = centre.x + std::uniform_real_distribution<float>(-spread, spread)(rng);
        py = centre.y + std::uniform_real_distribution<float>(-spread, spread)(rng);
    } else if (kind < 60) {   // the pass button
        px = kPassX + std::uniform_real_distribution<float>(-70, 70)(rng);
        py = kPassY + std::uniform_real_distribution<float>(-70, 70)(rng);
    } else if (kind < 80) {   // the menu entries
        px = std::uniform_real_distribution<float>(80, 300)(rng);
        py = std::uniform_real_distribution<float>(280, 500)(rng);
    } else if (kind < 97) {   // anywhere in the window
        px = std::uniform_real_distribution<float>(0, 1023)(rng);
        py = std::uniform_real_distribution<float>(0, 767)(rng);
    } else {   // anywhere SDL could report
        x = static_cast<Uint16>(std::uniform_int_distribution<int>(0, 65535)(rng));
        y = static_cast<Uint16>(std::uniform_int_distribution<int>(0, 65535)(rng));
        return;
    }
    x = static_cast<Uint16>(std::min(std::max(px, 0.0f), 65535.0f));
    y = static_cast<Uint16>(std::min(std::max(768.0f - py, 0.0f), 65535.0f));
}

} // namespace

// Random mice, keys and frames; every strength is reached through the menu,
// and a strength is kept shallow most of the time so the run stays quick.
TEST_P(WorldFuzz, random_input_never_breaks_the_rules)
{
    std::mt19937 rng(GetParam());
    CRandomTable::GetInstance()->FillFromSeed(GetParam());
    std::uniform_int_distribution<int> what(0, 99);
    unsigned games = 0, placements = 0, ends = 0;
    bool wasDone = false;
    int lastMode = m_World->GetMode();

    for (int step = 0; step < 15000; ++step) {
        Uint16 x = 0, y = 0;
        RandomPoint(rng, *m_World, x, y);
        const int kind = what(rng);
        std::ostringstream event;
        const unsigned before = m_World->GetState().GetTeamTokens(0) + m_World->GetState().GetTeamTokens(1);

        if (kind < 35) {
            m_World->OnMouseMove(x, y);
            event << "move " << x << "," << y;
        } else if (kind < 75) {
            static const Uint8 buttons[] = { 1, 1, 1, 1, 3, 3, 2, 4, 5 };
            const Uint8 b = buttons[std::uniform_int_distribution<int>(0, 8)(rng)];
            const bool pressed = what(rng) < 55;
            // The strongest setting searches deep: keep it rare.
            if (m_World->GetMode() == CGameWorld::MODE_MENU && 768 - y >= 340 && 768 - y <= 373 &&
                what(rng) < 80)
                y = static_cast<Uint16>(768 - 470);
            m_World->OnMouseButton(b, pressed, x, y);
            event << "button " << int(b) << (pressed ? " down " : " up ") << x << "," << y;
        } else if (kind < 80) {
            const bool pressed = what(rng) < 50;
            const SDLKey key = what(rng) < 70 ? SDLK_ESCAPE : SDLK_RETURN;
            // Escape on the game screen is kept rarer so games get played out.
            if (key == SDLK_ESCAPE && pressed && m_World->GetMode() == CGameWorld::MODE_GAME && what(rng) < 80)
                continue;
            m_World->OnKey(key, KMOD_NONE, pressed);
            event << "key " << int(key) << (pressed ? " down" : " up");
        } else {
            const Uint32 ms = static_cast<Uint32>(std::uniform_int_distribution<int>(0, 700)(rng));
            m_World->Update(ms);
            event << "frame " << ms;
        }

        ASSERT_TRUE(Invariants(*m_World)) << "after step " << step << ": " << event.str();

        const CGameState& s = m_World->GetState();
        if (m_World->GetMode() == CGameWorld::MODE_GAME && lastMode == CGameWorld::MODE_MENU)
            ++games;
        if (s.GetTeamTokens(0) + s.GetTeamTokens(1) < before)
            ++placements;
        if (s.IsGameDone() && !wasDone)
            ++ends;
        wasDone = s.IsGameDone();
        lastMode = m_World->GetMode();
    }
    // The run must have exercised real play, not just idled on the menu.
    EXPECT_GT(games, 3u);
    EXPECT_GT(placements, 50u);
    RecordProperty("games", static_cast<int>(games));
    RecordProperty("ends", static_cast<int>(ends));
}

INSTANTIATE_TEST_SUITE_P(Seeds, WorldFuzz, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u));
