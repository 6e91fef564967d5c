#include "SearchTestUtil.h"
#include "opponent/Search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

namespace
{
const std::pair<int, int> kStandardWalk[19] = {
    { 2, 2 }, { 3, 2 }, { 2, 3 }, { 1, 2 }, { 1, 1 }, { 2, 1 }, { 3, 1 }, { 4, 1 }, { 4, 2 }, { 3, 3 },
    { 2, 4 }, { 1, 3 }, { 0, 2 }, { 0, 1 }, { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 0 }, { 4, 0 } };

bool Touch(const CGameState& s, int r1, int c1, int r2, int c2)
{
    const double dx = s.GetRowOffset(r1) + c1 - s.GetRowOffset(r2) - c2;
    const double dy = (r1 - r2) * std::sqrt(3.0) / 2;
    return std::fabs(std::hypot(dx, dy) - 1) < 1e-6;
}
}

// The first coin flip mirrors the columns, the second the rows; each child
// raises its cell by exactly one token.
TEST(Expand, walk_spirals_from_the_middle_and_mirrors_on_coin_flips)
{
    const CGameState s = Played({ { 0, 0, 1 } });   // Silver to move with 19 in hand: no pass
    for (int colFlip : { 16383, 16384 })
        for (int rowFlip : { 0, 32767 })
        {
            LoadDraws({ colFlip, rowFlip });
            auto root = MakeRoot(s);
            ExpandNode(root.get(), nullptr, 1);
            EXPECT_EQ(Draws(), 2u);
            ASSERT_EQ(root->m_children.size(), 19u);
            for (int i = 0; i < 19; ++i)
            {
                const int row = rowFlip > 16383 ? 4 - kStandardWalk[i].first : kStandardWalk[i].first;
                const int col = colFlip > 16383 ? s.GetRowLength(row) - 1 - kStandardWalk[i].second
                                                : kStandardWalk[i].second;
                const CSearchNode* child = root->m_children[i];
                EXPECT_EQ(child->m_row, row);
                EXPECT_EQ(child->m_col, col);
                EXPECT_EQ(child->m_isPass, 0);
                EXPECT_TRUE(child->m_children.empty());
                EXPECT_EQ(child->m_state->GetCellTokens(row, col), s.GetCellTokens(row, col) + 1);
                EXPECT_EQ(child->m_state->GetCellOwner(row, col), 1);
            }
        }

    // Deeper expansion draws its two flips at every node it expands.
    LoadDraws({});
    auto root = MakeRoot(s);
    ExpandNode(root.get(), nullptr, 2);
    EXPECT_EQ(Draws(), 2u + 2u * 19u);
    EXPECT_EQ(root->m_children[0]->m_children.size(), 20u);   // Gold, with 18 in hand, may pass
}

TEST(Expand, pass_child_comes_first_and_only_below_a_full_stock)
{
    LoadDraws({});
    auto root = MakeRoot(Played({ { 2, 2, 1 }, { 0, 0, 1 }, { 4, 2, 1 } }));   // Silver holds 18
    ExpandNode(root.get(), nullptr, 1);
    ASSERT_EQ(root->m_children.size(), 20u);
    EXPECT_EQ(root->m_children[0]->m_isPass, 1);
    EXPECT_EQ(root->m_children[0]->m_state->GetNumPasses(), 1);
    EXPECT_EQ(root->m_children[0]->m_state->GetCurTeam(), 0);

    // Silver holds 9 and owns a cell of 10: the rules would let it raise that
    // cell to 11, but the opponent only spends its stock.
    const CGameState ownCell = Played({ { 2, 2, 1 }, { 0, 0, 10 }, { 4, 2, 1 } });
    ASSERT_TRUE(ownCell.IsMoveLegal(0, 0, 11));
    root = MakeRoot(ownCell);
    ExpandNode(root.get(), nullptr, 1);
    EXPECT_EQ(root->m_children.size(), 19u);
    for (const CSearchNode* child : root->m_children)
        EXPECT_FALSE(!child->m_isPass && child->m_row == 0 && child->m_col == 0);

    // An empty stock leaves only the pass, and the flips are drawn all the same.
    LoadDraws({});
    root = MakeRoot(Played({ { 2, 2, 1 }, { 0, 0, 19 }, { 4, 2, 1 } }));
    ExpandNode(root.get(), nullptr, 1);
    ASSERT_EQ(root->m_children.size(), 1u);
    EXPECT_EQ(root->m_children[0]->m_isPass, 1);
    EXPECT_EQ(Draws(), 2u);
    g_searchDepth = 4;
    g_evalNoise = 2;
    root = MakeRoot(*root->m_state);
    EXPECT_EQ(ChooseMove(root.get(), nullptr)->m_isPass, 1);
}

TEST(Expand, finished_game_or_no_depth_generates_nothing)
{
    LoadDraws({});
    auto done = MakeRoot(Played({ { 2, 2, 1 }, { 0, 0, 0 }, { 0, 0, 0 } }));
    ExpandNode(done.get(), nullptr, 3);
    auto fresh = MakeRoot(CGameState(3, 2));
    ExpandNode(fresh.get(), nullptr, 0);
    EXPECT_TRUE(done->m_children.empty());
    EXPECT_TRUE(fresh->m_children.empty());
    EXPECT_EQ(Draws(), 0u);
}

// Spare states are taken from the front of the pool and refilled; the search
// must not notice the difference.
TEST(Expand, pooled_states_are_reused_without_changing_the_search)
{
    const CGameState s = Played({ { 2, 2, 2 }, { 1, 1, 1 }, { 3, 1, 1 } });
    g_searchDepth = 3;
    g_evalNoise = 2;
    CRandomTable::GetInstance()->FillFromSeed(5);
    auto plain = MakeRoot(s);
    const CSearchNode* plainMove = ChooseMove(plain.get(), nullptr);

    StatePool pool;
    for (int i = 0; i < 50; ++i)
        pool.push_back(new CGameState(3, 2));
    const CGameState* front = pool.front();
    CRandomTable::GetInstance()->FillFromSeed(5);
    auto pooled = MakeRoot(s);
    const CSearchNode* pooledMove = ChooseMove(pooled.get(), &pool);

    EXPECT_TRUE(pool.empty());
    EXPECT_EQ(pooled->m_children[0]->m_state, front);
    ASSERT_EQ(plain->m_children.size(), pooled->m_children.size());
    EXPECT_EQ(plainMove->m_row, pooledMove->m_row);
    EXPECT_EQ(plainMove->m_col, pooledMove->m_col);
    EXPECT_EQ(plainMove->m_isPass, pooledMove->m_isPass);
    for (size_t i = 0; i < plain->m_children.size(); ++i)
        EXPECT_EQ(plain->m_children[i]->m_children.size(), pooled->m_children[i]->m_children.size());
}

// Boards of other sizes get a spiral too: every cell once, the middle first,
// each cell next to the one before.
TEST(Expand, other_board_sizes_walk_every_cell_once)
{
    for (uint32_t size : { 1u, 2u, 3u, 4u, 9u })
        for (int flips : { 0, 32767 })
        {
            const CGameState s = Played({ { 0, 0, 0 } }, size);   // Silver, full stock
            LoadDraws({ flips, flips });
            auto root = MakeRoot(s);
            ExpandNode(root.get(), nullptr, 1);
            ASSERT_EQ(root->m_children.size(), 3 * size * size - 3 * size + 1);
            std::set<std::pair<int, int>> seen;
            for (size_t i = 0; i < root->m_children.size(); ++i)
            {
                const CSearchNode* child = root->m_children[i];
                EXPECT_TRUE(seen.insert({ child->m_row, child->m_col }).second);
                if (i == 0)
                    EXPECT_TRUE(child->m_row == size - 1 && child->m_col == size - 1);
                else
                    EXPECT_TRUE(Touch(s, child->m_row, child->m_col,
                                      root->m_children[i - 1]->m_row, root->m_children[i - 1]->m_col))
                        << "size " << size << " step " << i;
            }
        }
}
