#include "BoardModel.h"
#include "game/CGameState.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace
{
typedef std::vector<std::pair<int, int>> Cells;

// Gold places one token on each cell in turn while Silver passes.
void GoldTakes(CGameState& s, const Cells& cells)
{
    for (const auto& cell : cells)
    {
        ASSERT_EQ(s.GetCurTeam(), 0);
        s.MakeMove(cell.first, cell.second, 1);
        s.Pass();
    }
}

int GoldScoreOwning(const Cells& cells, uint32_t size = 3)
{
    CGameState s(size, 2);
    GoldTakes(s, cells);
    return s.GetTeamScore(0) - s.GetTeamTokens(0);
}
}

TEST(Moves, placement_and_capture_refund_the_previous_owner)
{
    CGameState s(3, 2);
    s.MakeMove(2, 2, 1);
    EXPECT_EQ(s.GetTeamTokens(0), 18);
    EXPECT_EQ(s.GetTeamScore(0), 18);
    EXPECT_EQ(s.GetTeamScore(1), 19);
    EXPECT_EQ(s.GetCurTeam(), 1);

    EXPECT_FALSE(s.IsMoveLegal(2, 2, 1));   // must hold more than the cell
    EXPECT_TRUE(s.IsMoveLegal(2, 2, 2));
    s.MakeMove(2, 2, 2);
    EXPECT_EQ(s.GetTeamTokens(0), 19);
    EXPECT_EQ(s.GetTeamTokens(1), 17);
    EXPECT_EQ(s.GetCellTokens(2, 2), 2);
    EXPECT_EQ(s.GetCellOwner(2, 2), 1);
    EXPECT_EQ(s.GetTeamScore(0), 19);
    EXPECT_EQ(s.GetTeamScore(1), 17);
    EXPECT_EQ(s.GetCurTeam(), 0);
    EXPECT_FALSE(s.IsMoveLegal(0, 0, 0));   // nothing placed is never a move
}

// Raising one's own cell: its tokens come back before the mover pays.
TEST(Moves, raising_an_own_cell_counts_its_tokens_as_returned)
{
    CGameState s(3, 2);
    s.MakeMove(0, 0, 3);
    s.Pass();
    s.MakeMove(4, 0, 14);
    s.Pass();
    ASSERT_EQ(s.GetTeamTokens(0), 2);
    EXPECT_TRUE(s.IsMoveLegal(0, 0, 5));
    EXPECT_FALSE(s.IsMoveLegal(0, 0, 6));
    EXPECT_FALSE(s.IsMoveLegal(1, 0, 3));   // on another cell only the stock counts
    s.MakeMove(0, 0, 4);
    EXPECT_EQ(s.GetTeamTokens(0), 1);
    EXPECT_EQ(s.GetCellTokens(0, 0), 4);
}

TEST(Moves, passes_end_the_game_only_one_after_the_other)
{
    CGameState s(3, 2);
    s.Pass();
    s.MakeMove(2, 2, 1);
    s.Pass();
    EXPECT_EQ(s.GetNumPasses(), 1);
    EXPECT_FALSE(s.IsGameDone());
    s.Pass();
    EXPECT_TRUE(s.IsGameDone());
    EXPECT_EQ(s.GetNumPasses(), 2);
    for (uint32_t r = 0; r < s.GetNumRows(); ++r)
        for (uint32_t c = 0; c < s.GetRowLength(r); ++c)
            for (int t = 0; t <= 20; ++t)
                EXPECT_FALSE(s.IsMoveLegal(r, c, static_cast<uint8_t>(t)));

    // An empty stock leaves nothing but the pass, even on the team's own cell.
    CGameState empty(3, 2);
    empty.MakeMove(2, 2, 19);
    empty.Pass();
    EXPECT_FALSE(empty.IsMoveLegal(2, 2, 20));
    EXPECT_FALSE(empty.IsMoveLegal(0, 0, 1));
}

TEST(Scoring, triangles_need_three_mutually_adjacent_cells)
{
    EXPECT_EQ(GoldScoreOwning({ { 0, 0 }, { 0, 1 }, { 1, 1 } }), 4);
    EXPECT_EQ(GoldScoreOwning({ { 0, 0 }, { 1, 0 }, { 1, 1 } }), 4);
    EXPECT_EQ(GoldScoreOwning({ { 0, 0 }, { 0, 1 }, { 1, 0 } }), 0);   // (0,1) and (1,0) do not touch
    EXPECT_EQ(GoldScoreOwning({ { 1, 1 }, { 1, 2 }, { 2, 1 }, { 2, 2 }, { 2, 3 }, { 3, 1 }, { 3, 2 } }), 24);

    // Owning a whole board counts every triangle on it: 6 (n - 1)^2.
    for (uint32_t size : { 2u, 3u })
    {
        const BoardModel model(CGameState(size, 2));
        EXPECT_EQ(GoldScoreOwning(model.cells, size), 4 * 6 * static_cast<int>((size - 1) * (size - 1)));
    }
}

// A capture can break the loser's triangle and complete the mover's at once.
TEST(Scoring, a_capture_moves_a_triangle_between_teams)
{
    CGameState s(3, 2);
    s.MakeMove(0, 0, 1);
    s.MakeMove(1, 0, 1);
    s.MakeMove(0, 1, 1);
    s.MakeMove(2, 1, 1);
    s.MakeMove(1, 1, 1);
    EXPECT_EQ(s.GetTeamScore(0), 16 + 4);
    EXPECT_EQ(s.GetTeamScore(1), 17);
    s.MakeMove(1, 1, 2);
    EXPECT_EQ(s.GetTeamScore(0), 17);
    EXPECT_EQ(s.GetTeamScore(1), 15 + 4);
}

// Random games on many boards, checked against an independent model: the
// legality test agrees with the rules as stated, every placement moves tokens
// exactly as stated, no token is made or lost, and every score is the stock
// plus 4 per triangle owned (found by brute force).
TEST(Moves, random_games_keep_every_invariant)
{
    std::mt19937 rng(2024);
    for (uint32_t size = 1; size <= 6; ++size)
        for (uint8_t teams = 2; teams <= 4; ++teams)
        {
            CGameState s(size, teams);
            const BoardModel model(s);
            const size_t n = model.cells.size();
            std::vector<int> tokens(n, 0), owner(n, teams), stock(teams, 19);
            int cur = 0, passes = 0;

            for (int step = 0; step < 600; ++step)
            {
                const int i = static_cast<int>(rng() % n);
                const int r = model.cells[i].first, c = model.cells[i].second;
                const int t = static_cast<int>(rng() % (tokens[i] + stock[cur] + 3));
                const bool done = passes >= teams;
                const bool legal = !done && tokens[i] < t && stock[cur] + (owner[i] == cur ? tokens[i] : 0) >= t;
                ASSERT_EQ(s.IsMoveLegal(r, c, static_cast<uint8_t>(t)), legal);

                if (done)
                {
                    s.Reset();
                    std::fill(tokens.begin(), tokens.end(), 0);
                    std::fill(owner.begin(), owner.end(), teams);
                    std::fill(stock.begin(), stock.end(), 19);
                    cur = passes = 0;
                }
                else if (legal)
                {
                    s.MakeMove(r, c, static_cast<uint8_t>(t));
                    if (owner[i] < teams)
                        stock[owner[i]] += tokens[i];
                    stock[cur] -= t;
                    tokens[i] = t;
                    owner[i] = cur;
                    cur = (cur + 1) % teams;
                    passes = 0;
                }
                else if (rng() % 4 == 0)
                {
                    s.Pass();
                    cur = (cur + 1) % teams;
                    ++passes;
                }

                ASSERT_EQ(s.GetCurTeam(), cur);
                ASSERT_EQ(s.GetNumPasses(), passes);
                std::vector<int> held(teams, 0);
                for (size_t k = 0; k < n; ++k)
                {
                    const int cr = model.cells[k].first, cc = model.cells[k].second;
                    ASSERT_EQ(s.GetCellTokens(cr, cc), tokens[k]);
                    ASSERT_EQ(s.GetCellOwner(cr, cc), owner[k]);
                    ASSERT_EQ(tokens[k] == 0, owner[k] == teams);
                    if (owner[k] < teams)
                        held[owner[k]] += tokens[k];
                }
                for (int team = 0; team < teams; ++team)
                {
                    ASSERT_EQ(s.GetTeamTokens(team), stock[team]);
                    ASSERT_EQ(stock[team] + held[team], 19);
                    ASSERT_EQ(s.GetTeamScore(static_cast<uint8_t>(team)),
                              stock[team] + 4 * model.TrianglesOwnedBy(s, team))
                        << "size " << size << " step " << step;
                }
            }
        }
}

TEST(MovesDeathTest, moves_against_the_rules_stop)
{
    CGameState s(3, 2);
    s.MakeMove(1, 1, 3);
    EXPECT_DEATH(s.MakeMove(1, 1, 3), Literal("m_cells[m_rows[row].index + col].numTokens < tokens"));
    EXPECT_DEATH(s.MakeMove(0, 0, 20), Literal("m_teams[m_curTeam].tokens >= tokens"));
    EXPECT_DEATH(s.MakeMove(0, 4, 1), Literal("col < m_rows[row].length"));
    s.Pass();
    s.Pass();
    EXPECT_DEATH(s.MakeMove(0, 0, 1), Literal("!IsGameDone()"));
    EXPECT_DEATH(s.Pass(), Literal("m_nPasses < m_nTeams"));
}
