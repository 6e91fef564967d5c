#include "BoardModel.h"
#include "game/CGameState.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace
{
void ExpectFreshGame(const CGameState& s)
{
    for (uint32_t t = 0; t < s.GetNumTeams(); ++t)
    {
        EXPECT_EQ(s.GetTeamTokens(t), 19);
        EXPECT_EQ(s.GetTeamScore(static_cast<uint8_t>(t)), 19);
    }
    EXPECT_EQ(s.GetCurTeam(), 0);
    EXPECT_EQ(s.GetNumPasses(), 0);
    EXPECT_FALSE(s.IsGameDone());
    for (uint32_t r = 0; r < s.GetNumRows(); ++r)
        for (uint32_t c = 0; c < s.GetRowLength(r); ++c)
        {
            EXPECT_EQ(s.GetCellTokens(r, c), 0);
            EXPECT_EQ(s.GetCellOwner(r, c), s.GetNumTeams());   // empty, never a team
        }
}

void ExpectRows(const CGameState& s, const std::vector<int>& lengths, const std::vector<float>& offsets)
{
    ASSERT_EQ(s.GetNumRows(), lengths.size());
    for (uint32_t r = 0; r < s.GetNumRows(); ++r)
    {
        EXPECT_EQ(s.GetRowLength(r), lengths[r]) << "row " << r;
        EXPECT_FLOAT_EQ(s.GetRowOffset(r), offsets[r]) << "row " << r;
    }
}

// Random placements and passes that never end the game.
void PlayRandomly(CGameState& s, std::mt19937& rng, int moves)
{
    for (int i = 0; i < moves; ++i)
    {
        const uint32_t r = rng() % s.GetNumRows();
        const uint32_t c = rng() % s.GetRowLength(r);
        const uint8_t t = static_cast<uint8_t>(s.GetCellTokens(r, c) + 1 + rng() % 3);
        if (s.IsMoveLegal(r, c, t))
            s.MakeMove(r, c, t);
        else if (s.GetNumPasses() + 1 < s.GetNumTeams())
            s.Pass();
    }
}

void ExpectSameState(const CGameState& a, const CGameState& b)
{
    ASSERT_EQ(a.GetNumRows(), b.GetNumRows());
    ASSERT_EQ(a.GetNumTeams(), b.GetNumTeams());
    EXPECT_EQ(a.GetCurTeam(), b.GetCurTeam());
    EXPECT_EQ(a.GetNumPasses(), b.GetNumPasses());
    for (uint32_t t = 0; t < a.GetNumTeams(); ++t)
    {
        EXPECT_EQ(a.GetTeamTokens(t), b.GetTeamTokens(t));
        EXPECT_EQ(a.GetTeamScore(static_cast<uint8_t>(t)), b.GetTeamScore(static_cast<uint8_t>(t)));
    }
    for (uint32_t r = 0; r < a.GetNumRows(); ++r)
    {
        ASSERT_EQ(a.GetRowLength(r), b.GetRowLength(r));
        EXPECT_EQ(a.GetRowOffset(r), b.GetRowOffset(r));
        for (uint32_t c = 0; c < a.GetRowLength(r); ++c)
        {
            EXPECT_EQ(a.GetCellTokens(r, c), b.GetCellTokens(r, c));
            EXPECT_EQ(a.GetCellOwner(r, c), b.GetCellOwner(r, c));
        }
    }
}
}

TEST(Board, standard_small_and_large_layouts)
{
    CGameState standard(3, 2);
    ExpectRows(standard, { 3, 4, 5, 4, 3 }, { 1.0f, 0.5f, 0.0f, 0.5f, 1.0f });
    ExpectFreshGame(standard);

    CGameState four(4, 2);
    ExpectRows(four, { 4, 5, 6, 7, 6, 5, 4 }, { 1.5f, 1.0f, 0.5f, 0.0f, 0.5f, 1.0f, 1.5f });
    ExpectFreshGame(four);   // the stock stays 19 whatever the board

    CGameState one(1, 2);
    ExpectRows(one, { 1 }, { 0.0f });
    ExpectFreshGame(one);
}

// Every size the row records can hold: a centred hexagon, and every address
// reaching a cell of its own (a wrong first-cell index would alias two cells).
TEST(Board, every_size_is_a_centred_hexagon_with_distinct_cells)
{
    for (uint32_t size = 1; size <= 9; ++size)
    {
        CGameState s(size, 2);
        ASSERT_EQ(s.GetNumRows(), 2 * size - 1);
        uint32_t cells = 0;
        for (uint32_t r = 0; r < s.GetNumRows(); ++r)
        {
            const uint32_t distance = r < size ? size - 1 - r : r - (size - 1);
            EXPECT_EQ(s.GetRowLength(r), 2 * size - 1 - distance);
            EXPECT_FLOAT_EQ(s.GetRowOffset(r), (s.GetNumRows() - s.GetRowLength(r)) / 2.0f);
            cells += s.GetRowLength(r);
        }
        EXPECT_EQ(cells, 3 * size * size - 3 * size + 1);

        const BoardModel model(s);
        EXPECT_EQ(model.triangles.size(), 6 * (size - 1) * (size - 1));
        for (const auto& target : model.cells)
        {
            CGameState probe(size, 2);
            probe.MakeMove(target.first, target.second, 1);
            for (const auto& cell : model.cells)
                EXPECT_EQ(probe.GetCellTokens(cell.first, cell.second), cell == target ? 1 : 0)
                    << "size " << size << " placed on " << target.first << "," << target.second;
        }
    }
}

TEST(Board, copies_are_deep_and_independent)
{
    std::mt19937 rng(7);
    CGameState original(3, 2);
    PlayRandomly(original, rng, 12);
    CGameState copy(original);
    ExpectSameState(copy, original);

    CGameState before(original);
    PlayRandomly(copy, rng, 12);
    ExpectSameState(original, before);   // the copy's moves leave the original alone
    const CGameState copyBefore(copy);
    PlayRandomly(original, rng, 12);
    ExpectSameState(copy, copyBefore);

    CGameState target(3, 2);
    target = original;
    ExpectSameState(target, original);
    const CGameState originalNow(original);
    PlayRandomly(target, rng, 12);
    ExpectSameState(original, originalNow);
    before = target;   // assignment into a used state overwrites everything
    ExpectSameState(before, target);
}

TEST(Board, reset_restores_a_fresh_game)
{
    std::mt19937 rng(11);
    for (uint32_t size = 1; size <= 5; ++size)
        for (uint8_t teams = 2; teams <= 3; ++teams)
        {
            CGameState s(size, teams);
            PlayRandomly(s, rng, 40);
            s.Reset();
            ExpectSameState(s, CGameState(size, teams));
        }
}

TEST(BoardDeathTest, out_of_range_addresses_and_mismatched_assignment_stop)
{
    CGameState s(3, 2);
    EXPECT_DEATH(s.GetCellTokens(5, 0), Literal("row < m_nRows"));
    EXPECT_DEATH(s.GetCellOwner(0, 3), Literal("col < m_rows[row].length"));
    EXPECT_DEATH(s.GetRowLength(9), Literal("row < m_nRows"));
    EXPECT_DEATH(s.GetTeamScore(2), Literal("team < m_nTeams"));
    CGameState threeTeams(3, 3), bigger(4, 2);
    EXPECT_DEATH(s = threeTeams, Literal("m_nTeams == other.m_nTeams"));
    EXPECT_DEATH(s = bigger, Literal("m_nRows == other.m_nRows"));
    // Boards the 8-bit row records cannot hold, and games without a team.
    EXPECT_DEATH(CGameState(0, 2), Literal("size >= 1 && size <= kMaxBoardSize"));
    EXPECT_DEATH(CGameState(10, 2), Literal("size >= 1 && size <= kMaxBoardSize"));
    EXPECT_DEATH(CGameState(3, 0), Literal("nTeams >= 1"));
}
