#include "game/CGameState.h"
#include "opponent/CRandomTable.h"
#include "opponent/CSearchArena.h"
#include "opponent/Search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{
const int kWindow = 100000;
struct Step { int row, col, tokens; };   // tokens 0: a pass

CGameState Played(std::initializer_list<Step> steps)
{
    CGameState s(3, 2);
    for (const Step& step : steps)
        step.tokens ? s.MakeMove(step.row, step.col, uint8_t(step.tokens)) : s.Pass();
    return s;
}

CGameState Leaf(int diff)   // an unfinished position worth diff to Gold
{
    return diff < 0 ? Played({ { 2, 2, -diff } }) : Played({ { 0, 0, 0 }, { 2, 2, diff } });
}

void LoadDraws(const std::vector<int>& draws, int rest = 0)   // drawn first, then rest
{
    std::vector<int> values(CRandomTable::kSize, rest);
    std::copy(draws.begin(), draws.end(), values.begin() + 1);
    CRandomTable::GetInstance()->Fill(values.data());
}

uint64_t Draws() { return CRandomTable::GetInstance()->GetDraws(); }

CSearchArena g_arena;   // the trees of these tests, kept to the end

CSearchNode* Root(const CGameState& s) { return g_arena.NewNode(s); }

CSearchNode* Add(CSearchNode* parent, const CGameState& s)   // grows the child list one at a time
{
    CSearchNode* child = g_arena.NewNode(s);
    parent->m_children.Reserve(g_arena, 1);
    parent->m_children.PushBack(child);
    return child;
}

}

// A leaf adds (r (2N + 1)) / 32768 - N for the next value r. On two-ply trees
// whose leaves draw no noise, so the draws count them, a value equal to the
// bound does not cut, one beyond does. A finished game counts 1000 times,
// noise included: far outside the window it is still chosen, and cuts.
TEST(Search, noise_strict_cut_offs_and_finished_games)
{
    g_evalNoise = 2;
    LoadDraws({ 0, 6553, 6554, 19660, 19661, 32767 });
    auto leaf = Root(Leaf(-3));
    for (int noise : { -2, -2, -1, 0, 1, 2 })
        EXPECT_EQ(Search(leaf, nullptr, -kWindow, kWindow, &g_arena, 0), -3 + noise);

    const struct { int rootTeam, a; std::vector<int> b; uint64_t leaves; } cases[] = {
        { 0, 3, { 3, 1 }, 3 }, { 0, 3, { 2, 5 }, 2 }, { 1, -3, { -3, -1 }, 3 }, { 1, -3, { -2, -5 }, 2 },
    };
    const CGameState gold(3, 2), silver = Played({ { 0, 0, 0 } });
    g_evalNoise = 1;
    for (const auto& test : cases)
    {
        LoadDraws({}, 16384);
        auto root = Root(test.rootTeam ? silver : gold);
        Add(Add(root, test.rootTeam ? gold : silver), Leaf(test.a));
        CSearchNode *b = Add(root, test.rootTeam ? gold : silver), *best = nullptr;
        for (int leaf : test.b)
            Add(b, Leaf(leaf));
        EXPECT_EQ(Search(root, &best, -kWindow, kWindow, &g_arena, 2), test.a);
        EXPECT_EQ(best, root->m_children[0]) << test.a;
        EXPECT_EQ(Draws(), test.leaves) << test.a;
    }

    g_evalNoise = 1000;
    LoadDraws({});
    CSearchNode *root = Root(silver), *best = nullptr;
    Add(root, Played({ { 0, 0, 0 }, { 0, 0, 0 } }));
    Add(root, Leaf(1));
    EXPECT_EQ(Search(root, &best, -kWindow, kWindow, &g_arena, 3), -1000 * 1000);
    EXPECT_EQ(best, root->m_children[0]);
    EXPECT_TRUE(best->m_children.empty());
    EXPECT_EQ(Draws(), 1u);
}

