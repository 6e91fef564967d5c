#include "SearchTestUtil.h"
#include "opponent/Search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace
{
const int kWindow = 100000;

CGameState Leaf(int diff)   // a position whose score difference is diff
{
    if (diff < 0)
        return Played({ { 2, 2, -diff } });
    return diff > 0 ? Played({ { 0, 0, 0 }, { 2, 2, diff } }) : CGameState(3, 2);
}

CSearchNode* Add(CSearchNode* parent, const CGameState& s)
{
    parent->m_children.push_back(new CSearchNode(new CGameState(s)));
    return parent->m_children.back();
}

int Eval(const CSearchNode& node) { return Search(const_cast<CSearchNode*>(&node), nullptr, -kWindow, kWindow, nullptr, 0); }

// Plain minimax over the same moves, no pruning and no randomness.
int Minimax(const CGameState& s, int depth)
{
    if (depth == 0 || s.IsGameDone())
        return (s.GetTeamScore(0) - s.GetTeamScore(1)) * (s.IsGameDone() ? 1000 : 1);
    const bool gold = s.GetCurTeam() == 0;
    const int stock = s.GetTeamTokens(s.GetCurTeam());
    int best = gold ? -kWindow : kWindow;
    auto consider = [&](const CGameState& next) {
        const int v = Minimax(next, depth - 1);
        best = gold ? std::max(best, v) : std::min(best, v);
    };
    if (stock <= 18)
    {
        CGameState next(s);
        next.Pass();
        consider(next);
    }
    for (uint32_t r = 0; r < s.GetNumRows(); ++r)
        for (uint32_t c = 0; c < s.GetRowLength(r); ++c)
            if (stock >= s.GetCellTokens(r, c) + 1)
            {
                CGameState next(s);
                next.MakeMove(r, c, static_cast<uint8_t>(s.GetCellTokens(r, c) + 1));
                consider(next);
            }
    return best;
}

CGameState RandomPosition(std::mt19937& rng)
{
    CGameState s(3, 2);
    for (int moves = rng() % 30; moves > 0; --moves)
    {
        const uint32_t r = rng() % 5, c = rng() % s.GetRowLength(r);
        const uint8_t t = static_cast<uint8_t>(s.GetCellTokens(r, c) + 1 + rng() % 3);
        if (s.IsMoveLegal(r, c, t))
            s.MakeMove(r, c, t);
        else if (s.GetNumPasses() == 0)
            s.Pass();
    }
    return s;
}

int TreeDepth(const CSearchNode* node)
{
    int deepest = 0;
    for (const CSearchNode* child : node->m_children)
        deepest = std::max(deepest, 1 + TreeDepth(child));
    return deepest;
}

std::string Shape(const CSearchNode* node)
{
    std::string out = "(" + std::to_string(node->m_row) + std::to_string(node->m_col) + std::to_string(node->m_isPass);
    for (const CSearchNode* child : node->m_children)
        out += Shape(child);
    return out + ")";
}
}

// Every leaf draws one value r and adds (r * (2N + 1)) / 32768 - N: an
// integer from -N to N in nearly equal shares of the range of r.
TEST(Evaluate, noise_covers_minus_n_to_n_evenly)
{
    g_evalNoise = 2;
    auto leaf = MakeRoot(Leaf(-3));
    std::vector<int> values(CRandomTable::kSize), counts(5, 0);
    int previous = -10;
    for (int half = 0; half < 2; ++half)
    {
        for (uint32_t i = 0; i < CRandomTable::kSize; ++i)
            values[i] = static_cast<int>(half * CRandomTable::kSize + (i + CRandomTable::kSize - 1) % CRandomTable::kSize);
        CRandomTable::GetInstance()->Fill(values.data());   // draws come out as 0, 1, 2, ... within each half
        for (uint32_t i = 0; i < CRandomTable::kSize; ++i)
        {
            const int noise = Eval(*leaf) + 3;
            ASSERT_GE(noise, previous);   // grows with r
            ASSERT_TRUE(noise >= -2 && noise <= 2);
            previous = noise;
            ++counts[noise + 2];
        }
    }
    EXPECT_EQ(previous, 2);
    for (int count : counts)
        EXPECT_NEAR(count, 32768 / 5, 1);
}

TEST(Evaluate, finished_games_count_a_thousandfold_noise_included)
{
    auto done = MakeRoot(Played({ { 2, 2, 3 }, { 0, 0, 0 }, { 0, 0, 0 } }));
    g_evalNoise = 0;
    EXPECT_EQ(Eval(*done), -3000);
    g_evalNoise = 1;
    LoadDraws({ 32767 });
    CSearchNode* best = done.get();
    EXPECT_EQ(Search(done.get(), &best, -kWindow, kWindow, nullptr, 4), (-3 + 1) * 1000);
    EXPECT_EQ(best, nullptr);
    EXPECT_TRUE(done->m_children.empty());   // returns at once
    EXPECT_EQ(Draws(), 1u);
}

// Hand-built trees of two plies; each leaf evaluation draws one value that
// adds no noise, so the draws count the leaves looked at.
TEST(Search, cut_offs_are_strict_and_ties_keep_the_earlier_child)
{
    struct Case { int rootTeam; int a; std::vector<int> b; int value; int chosen; uint64_t leaves; };
    const Case cases[] = {
        { 0, 3, { 3, 1 }, 3, 0, 3 },       // equal to the bound: no cut
        { 0, 3, { 2, 5 }, 3, 0, 2 },       // below it: cut
        { 0, 3, { 4, 3 }, 3, 0, 3 },       // tie keeps the earlier child
        { 0, 3, { 5, 4 }, 4, 1, 3 },
        { 1, -3, { -3, -1 }, -3, 0, 3 },
        { 1, -3, { -2, -5 }, -3, 0, 2 },
        { 1, -3, { -4, -3 }, -3, 0, 3 },
        { 1, -3, { -5, -4 }, -4, 1, 3 },
    };
    const CGameState goldToMove(3, 2), silverToMove = Played({ { 0, 0, 0 } });
    g_evalNoise = 1;
    for (const Case& test : cases)
    {
        LoadDraws({}, 16384);
        auto root = MakeRoot(test.rootTeam == 0 ? goldToMove : silverToMove);
        const CGameState& inner = test.rootTeam == 0 ? silverToMove : goldToMove;
        Add(Add(root.get(), inner), Leaf(test.a));
        CSearchNode* b = Add(root.get(), inner);
        for (int leaf : test.b)
            Add(b, Leaf(leaf));
        CSearchNode* best = nullptr;
        EXPECT_EQ(Search(root.get(), &best, -kWindow, kWindow, nullptr, 2), test.value);
        EXPECT_EQ(best, root->m_children[test.chosen]);
        EXPECT_EQ(Draws(), test.leaves) << "case with value " << test.value;
    }

    // Finished games can lie outside the window: the first child is taken all
    // the same, and a value beyond the bound cuts at once.
    g_evalNoise = 1000;
    LoadDraws({}, 0);
    const CGameState over = Played({ { 0, 0, 0 }, { 0, 0, 0 } });
    auto root = MakeRoot(silverToMove);
    Add(root.get(), over);
    Add(root.get(), Leaf(0));
    CSearchNode* best = nullptr;
    EXPECT_EQ(Search(root.get(), &best, -kWindow, kWindow, nullptr, 1), -1000 * 1000);
    EXPECT_EQ(best, root->m_children[0]);
    EXPECT_EQ(Draws(), 1u);
}

// At depth 1 without noise, when nothing can make or break a triangle, every
// placement only widens Gold's lead, so Silver passes; a triangle to complete
// is worth more than the token it costs.
TEST(Search, depth_one_passes_unless_a_triangle_is_on_offer)
{
    g_searchDepth = 1;
    g_evalNoise = 0;
    for (unsigned seed = 0; seed < 8; ++seed)
    {
        CRandomTable::GetInstance()->FillFromSeed(seed);
        auto root = MakeRoot(Played({ { 2, 2, 1 }, { 0, 0, 1 }, { 4, 2, 1 } }));
        EXPECT_EQ(ChooseMove(root.get(), nullptr)->m_isPass, 1);

        root = MakeRoot(Played({ { 2, 2, 1 }, { 0, 0, 1 }, { 4, 2, 1 }, { 0, 1, 1 }, { 4, 0, 1 } }));
        const CSearchNode* move = ChooseMove(root.get(), nullptr);
        EXPECT_TRUE(!move->m_isPass && move->m_row == 1 && move->m_col == 1);
    }
}

// Alpha-beta must agree with plain minimax at the root, choose the first
// child that reaches that value, grow the tree no deeper than asked, and only
// ever consider legal raises of one token.
TEST(Search, agrees_with_plain_minimax_on_random_positions)
{
    std::mt19937 rng(99);
    g_evalNoise = 0;
    for (int position = 0; position < 60; ++position)
    {
        const CGameState s = RandomPosition(rng);
        if (s.IsGameDone())
            continue;
        for (int depth = 1; depth <= (position < 6 ? 4 : 3); ++depth)
        {
            CRandomTable::GetInstance()->FillFromSeed(position * 10 + depth);
            auto root = MakeRoot(s);
            CSearchNode* best = nullptr;
            const int value = Search(root.get(), &best, -kWindow, kWindow, nullptr, depth);
            ASSERT_EQ(value, Minimax(s, depth)) << "position " << position << " depth " << depth;
            EXPECT_LE(TreeDepth(root.get()), depth);

            const CSearchNode* firstBest = nullptr;
            for (const CSearchNode* child : root->m_children)
            {
                CGameState expected(s);
                const uint8_t held = s.GetCellTokens(child->m_row, child->m_col);
                if (child->m_isPass)
                {
                    EXPECT_LE(s.GetTeamTokens(s.GetCurTeam()), 18);
                    expected.Pass();
                }
                else
                {
                    ASSERT_TRUE(s.IsMoveLegal(child->m_row, child->m_col, held + 1));
                    expected.MakeMove(child->m_row, child->m_col, held + 1);
                }
                EXPECT_EQ(child->m_state->GetCellTokens(child->m_row, child->m_col),
                          expected.GetCellTokens(child->m_row, child->m_col));
                EXPECT_EQ(child->m_state->GetTeamScore(0), expected.GetTeamScore(0));
                EXPECT_EQ(child->m_state->GetTeamScore(1), expected.GetTeamScore(1));
                if (!firstBest && Minimax(*child->m_state, depth - 1) == value)
                    firstBest = child;
            }
            EXPECT_EQ(best, firstBest);
        }
    }
}

// With the same table the same position always gives the same tree and move,
// at every strength.
TEST(Search, same_table_gives_the_same_tree)
{
    std::mt19937 rng(3);
    const int strengths[4][2] = { { 1, 6 }, { 1, 4 }, { 2, 2 }, { 4, 0 } };
    for (int i = 0; i < 12; ++i)
    {
        const CGameState s = RandomPosition(rng);
        if (s.IsGameDone())
            continue;
        g_searchDepth = strengths[i % 4][0];
        g_evalNoise = strengths[i % 4][1];
        std::string shapes[2];
        for (std::string& shape : shapes)
        {
            CRandomTable::GetInstance()->FillFromSeed(i);
            auto root = MakeRoot(s);
            const CSearchNode* move = ChooseMove(root.get(), nullptr);
            ASSERT_NE(move, nullptr);
            shape = Shape(root.get()) + Shape(move);
        }
        EXPECT_EQ(shapes[0], shapes[1]);
    }
}
