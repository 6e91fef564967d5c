#include "CEngineRunner.h"
#include "CTableSource.h"
#include "Notation.h"
#include "game/CGameState.h"
#include "opponent/CSearchNode.h"

#include <gtest/gtest.h>

namespace
{
CGameState At(const std::string& text)
{
    CGameState state(3, 2);
    std::string error;
    EXPECT_TRUE(CNotation::ParseState(text, state, error)) << error;
    return state;
}
} // namespace

// Every node below the root counts once, however deep.
TEST(LabEngineRunner, counts_every_node_below_the_root)
{
    CSearchNode root(new CGameState(3, 2));
    EXPECT_EQ(CEngineRunner::CountNodes(&root), 0u);
    CSearchNode* a = new CSearchNode(new CGameState(3, 2));
    CSearchNode* b = new CSearchNode(new CGameState(3, 2));
    root.m_children.push_back(a);
    root.m_children.push_back(b);
    a->m_children.push_back(new CSearchNode(new CGameState(3, 2)));
    a->m_children[0]->m_children.push_back(new CSearchNode(new CGameState(3, 2)));
    EXPECT_EQ(CEngineRunner::CountNodes(&root), 4u);
}

// At depth 1 the root's children are all there is: a placement for every
// cell the mover can raise, plus the pass once it holds 18 or fewer. Without
// noise only the two mirror coin flips are drawn; with noise one more for
// every child evaluated.
TEST(LabEngineRunner, depth_one_nodes_and_draws)
{
    // Silver holds 19: no pass, one child per cell.
    CTableSource::InstallSeed(3);
    CEngineRunner::Result r = CEngineRunner::Choose(At("---/----/--g1--/----/--- s 0"), 1, 0);
    ASSERT_TRUE(r.found);
    EXPECT_FALSE(r.move.isPass);
    EXPECT_EQ(r.nodes, 19u);
    EXPECT_EQ(r.draws, 2u);

    // Silver holds 1 and owns (0, 0) with 18: the pass and the empty cells.
    CTableSource::InstallSeed(3);
    r = CEngineRunner::Choose(At("s18--/----/--g1--/----/--- s 0"), 1, 5);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.nodes, 1u + 17u);
    EXPECT_EQ(r.draws, 2u + r.nodes);
}

// With an empty stock the only move is the pass; a finished game has none.
TEST(LabEngineRunner, forced_pass_and_finished_game)
{
    CTableSource::InstallSeed(3);
    const CEngineRunner::Result forced = CEngineRunner::Choose(At("g19--/----/s1----/----/--- g 0"), 4, 2);
    ASSERT_TRUE(forced.found);
    EXPECT_TRUE(forced.move.isPass);

    const CEngineRunner::Result over = CEngineRunner::Choose(At("g19--/----/s1----/----/--- s 2"), 4, 2);
    EXPECT_FALSE(over.found);
    EXPECT_EQ(over.nodes, 0u);
}

// The same table gives the same search, for either team to move; a played
// move is the cell's count plus one, through the rules.
TEST(LabEngineRunner, reproducible_and_applied_through_the_rules)
{
    for (const char* text : { "-g1-/-s2s1-/--g1--/----/--- g 0", "-g1-/-s2s1-/--g1--/-g1--/--- s 0" })
    {
        const CGameState state = At(text);
        CTableSource::InstallSeed(17);
        const CEngineRunner::Result first = CEngineRunner::Choose(state, 3, 2);
        CTableSource::InstallSeed(17);
        const CEngineRunner::Result second = CEngineRunner::Choose(state, 3, 2);
        ASSERT_TRUE(first.found);
        EXPECT_EQ(first.move.isPass, second.move.isPass);
        EXPECT_EQ(first.move.row, second.move.row);
        EXPECT_EQ(first.move.col, second.move.col);
        EXPECT_EQ(first.nodes, second.nodes);
        EXPECT_EQ(first.draws, second.draws);
        EXPECT_GT(first.nodes, 19u);
    }

    CGameState state = At("-g1-/-s2s1-/--g1--/----/--- g 0");
    LabMove move;
    move.row = 1;
    move.col = 1;
    CEngineRunner::Apply(state, move);
    EXPECT_EQ(state.GetCellTokens(1, 1), 3);
    EXPECT_EQ(state.GetCellOwner(1, 1), 0);
    EXPECT_EQ(state.GetTeamTokens(1), 19 - 1);   // Silver's two came back
    EXPECT_EQ(state.GetTeamTokens(0), 19 - 2 - 3);
}
