#include "Notation.h"
#include "game/CGameState.h"
#include "opponent/CRandomTable.h"
#include "opponent/CSearchArena.h"
#include "opponent/Search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <ctime>
#include <random>
#include <string>
#include <vector>

namespace
{
const int kWindow = 100000;
struct Step { int row, col, tokens; };   // tokens 0: a pass

CGameState Played(std::initializer_list<Step> steps)
{
    CGameState s(3, 2);
    for (const Step& step : steps) step.tokens ? s.MakeMove(step.row, step.col, uint8_t(step.tokens)) : s.Pass();
    return s;
}

// An unfinished position worth diff to Gold.
CGameState Leaf(int diff) { return diff < 0 ? Played({ { 2, 2, -diff } }) : Played({ { 0, 0, 0 }, { 2, 2, diff } }); }

// The table's values drawn first (it hands out from its second value on), then rest.
void LoadDraws(std::vector<int> draws, int rest = 0)
{
    draws.insert(draws.begin(), rest), draws.resize(CRandomTable::kSize, rest);
    CRandomTable::GetInstance()->Fill(draws.data());
}

uint64_t Draws() { return CRandomTable::GetInstance()->GetDraws(); }

CSearchArena g_arena;   // the trees of these tests, kept to the end

CSearchNode* Root(const CGameState& s) { return g_arena.NewNode(s); }

CSearchNode* Add(CSearchNode* parent, const CGameState& s)   // grows the child list one at a time
{
    parent->m_children.Reserve(g_arena, 1), parent->m_children.PushBack(g_arena.NewNode(s));
    return parent->m_children[parent->m_children.size() - 1];
}

// Plain minimax from the rules over the opponent's moves: the pass below a full hand, then each cell the mover can
// raise by one from its hand, on the walk from the middle by the steps below, mirrored across the columns (flips
// bit 0) and rows (bit 1). Leaves: Gold's lead, 1000 times at the end; first: the first move of the best value.
int Minimax(const CGameState& s, int depth, int flips = 0, std::string* first = nullptr)
{
    if (depth == 0 || s.IsGameDone()) return (s.GetTeamScore(0) - s.GetTeamScore(1)) * (s.IsGameDone() ? 1000 : 1);
    const int dr[] = { 0, 1, -1, -1, 0, 1, 1, 1, 0, -1, -1, -1, -1, 0, 0, 1, 1, 1, 1 };
    const int dc[] = { 0, 0, 1, -1, -1, 0, 0, 0, 1, 1, 1, -1, -1, -1, -1, 0, 0, 0, 0 };
    const int sign = s.GetCurTeam() == 0 ? 1 : -1, stock = s.GetTeamTokens(s.GetCurTeam());
    int best = INT_MIN;
    for (int i = -1, r = 2, c = 2; i < 19; ++i)   // -1: the pass
    {
        if (i >= 0) r += dr[i], c += dc[i];
        const int row = flips & 2 ? 4 - r : r, col = flips & 1 ? s.GetRowLength(row) - 1 - c : c;
        const int tokens = s.GetCellTokens(row, col) + 1;
        if (i < 0 ? stock > 18 : stock < tokens) continue;
        CGameState next(s);
        i < 0 ? next.Pass() : next.MakeMove(row, col, uint8_t(tokens));
        if (const int v = sign * Minimax(next, depth - 1); v > best && (best = v, first))
            *first = i < 0 ? "pass" : std::to_string(row) + " " + std::to_string(col);
    }
    return sign * best;
}
}

// On random games' positions at depths 1 to 4 without noise, FindMove plays the model's move, Search gives its value.
TEST(Search, agrees_with_plain_minimax_on_random_positions)
{
    std::mt19937 gen(5);
    std::vector<int> table(CRandomTable::kSize);
    for (int position = 0; position < 10; ++position) {
        CGameState s(3, 2);
        for (int n = 2 + gen() % 20; n > 0; --n) {   // placements, now and then one pass
            const uint32_t r = gen() % 5, c = gen() % s.GetRowLength(r), t = s.GetCellTokens(r, c) + 1 + gen() % 2;
            s.IsMoveLegal(r, c, uint8_t(t)) ? s.MakeMove(r, c, uint8_t(t)) : gen() % 4 || s.GetNumPasses() ? void() : s.Pass();
        }
        for (int& v : table) v = int(gen() % 32768);
        for (int depth = 1; depth <= 4; ++depth) {
            std::string first;
            const int value = Minimax(s, depth, (table[1] > 16383) + 2 * (table[2] > 16383), &first);
            CRandomTable::GetInstance()->Fill(table.data());
            const OpponentMove move = FindMove(s, depth, 0);
            EXPECT_EQ((move.isPass ? "pass" : std::to_string(move.row) + " " + std::to_string(move.col)) + ", " +
                          std::to_string(Search(Root(s), nullptr, -kWindow, kWindow, &g_arena, depth)) +
                          (move.ms >= 0 && move.ms <= 1000.0 * std::clock() / CLOCKS_PER_SEC ? "" : ", past the processor time"),
                      first + ", " + std::to_string(value)) << CNotation::Format(s) << " at depth " << depth;
        }
    }
}

// A leaf adds (r (2N + 1)) / 32768 - N for the next value r. On two-ply trees (the draws count the leaves) a value
// equal to the bound does not cut, one beyond does. A finished game counts 1000 times, noise included, and cuts.
TEST(Search, noise_strict_cut_offs_and_finished_games)
{
    g_evalNoise = 2;
    LoadDraws({ 0, 6553, 6554, 19660, 19661, 32767 });
    for (int noise : { -2, -2, -1, 0, 1, 2 }) EXPECT_EQ(Search(Root(Leaf(-3)), nullptr, -kWindow, kWindow, &g_arena, 0), -3 + noise);

    const struct { int rootTeam, a; std::vector<int> b; uint64_t leaves; } cases[] = {
        { 0, 3, { 3, 1 }, 3 }, { 0, 3, { 2, 5 }, 2 }, { 1, -3, { -3, -1 }, 3 }, { 1, -3, { -2, -5 }, 2 },
    };
    const CGameState gold(3, 2), silver = Played({ { 0, 0, 0 } });
    g_evalNoise = 1;
    for (const auto& test : cases) {
        LoadDraws({}, 16384);
        auto root = Root(test.rootTeam ? silver : gold);
        Add(Add(root, test.rootTeam ? gold : silver), Leaf(test.a));
        CSearchNode *b = Add(root, test.rootTeam ? gold : silver), *best = nullptr;
        for (int leaf : test.b) Add(b, Leaf(leaf));
        EXPECT_EQ(Search(root, &best, -kWindow, kWindow, &g_arena, 2), test.a);
        EXPECT_EQ(best, root->m_children[0]) << test.a;
        EXPECT_EQ(Draws(), test.leaves) << test.a;
    }

    CSearchNode* tree = Root(Played({ { 2, 2, 1 }, { 0, 0, 1 } })), *leaf = Root(gold);   // Gold may pass
    ExpandNode(tree, &g_arena, 2), ExpandNode(leaf, &g_arena, 0);   // two plies, the pass first; then none
    for (CSearchNode* child : tree->m_children)
        EXPECT_TRUE(tree->m_children[0]->m_isPass && !child->m_children.empty() && child->m_children[0]->m_children.empty());
    const OpponentMove over = FindMove(Played({ { 0, 0, 0 }, { 0, 0, 0 } }), 2, 0);
    EXPECT_TRUE(!over.found && over.nodes == 0 && over.draws == 0 && leaf->m_children.empty());
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

