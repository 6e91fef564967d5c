#include "game/CGameState.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace
{
// An independent picture of a board: cells placed by their drawing position,
// neighbours found by distance, triangles by brute force.
struct Model
{
    std::vector<std::array<int, 2>> cells;   // (row, col) in storage order
    std::vector<std::array<int, 3>> triangles;

    explicit Model(const CGameState& s)
    {
        std::vector<double> x, y;
        for (uint32_t r = 0; r < s.GetNumRows(); ++r)
            for (uint32_t c = 0; c < s.GetRowLength(r); ++c)
            {
                cells.push_back({ int(r), int(c) });
                x.push_back(s.GetRowOffset(r) + c);
                y.push_back(r * std::sqrt(3.0) / 2);
            }
        auto touch = [&](int a, int b) { return std::fabs(std::hypot(x[a] - x[b], y[a] - y[b]) - 1) < 1e-6; };
        const int n = int(cells.size());
        for (int a = 0; a < n; ++a)
            for (int b = a + 1; b < n; ++b)
                for (int c = b + 1; c < n && touch(a, b); ++c)
                    if (touch(b, c) && touch(a, c))
                        triangles.push_back({ a, b, c });
    }

    int Owned(const CGameState& s, int team) const
    {
        int count = 0;
        for (const auto& t : triangles)
            count += Owner(s, t[0]) == team && Owner(s, t[1]) == team && Owner(s, t[2]) == team;
        return count;
    }
    int Owner(const CGameState& s, int i) const { return s.GetCellOwner(cells[i][0], cells[i][1]); }
};

// Everything the rules keep, as text, so two states compare in one check.
std::string Dump(const CGameState& s)
{
    std::string out = std::to_string(s.GetCurTeam()) + " " + std::to_string(s.GetNumPasses()) + ":";
    for (uint32_t t = 0; t < s.GetNumTeams(); ++t)
        out += " " + std::to_string(s.GetTeamTokens(t)) + "/" + std::to_string(s.GetTeamScore(uint8_t(t)));
    for (uint32_t r = 0; r < s.GetNumRows(); ++r)
        for (uint32_t c = 0; c < s.GetRowLength(r); ++c)
            out += " " + std::to_string(s.GetCellOwner(r, c)) + "x" + std::to_string(s.GetCellTokens(r, c));
    return out;
}
}

TEST(GameState, board_layouts_for_sizes_one_three_and_four)
{
    const struct { uint32_t size; std::vector<int> lengths; std::vector<float> offsets; } boards[] = {
        { 1, { 1 }, { 0.0f } },
        { 3, { 3, 4, 5, 4, 3 }, { 1.0f, 0.5f, 0.0f, 0.5f, 1.0f } },
        { 4, { 4, 5, 6, 7, 6, 5, 4 }, { 1.5f, 1.0f, 0.5f, 0.0f, 0.5f, 1.0f, 1.5f } },
    };
    for (const auto& board : boards)
    {
        const CGameState s(board.size, 2);
        ASSERT_EQ(s.GetNumRows(), board.lengths.size());
        for (uint32_t r = 0; r < s.GetNumRows(); ++r)
            EXPECT_TRUE(s.GetRowLength(r) == board.lengths[r] && s.GetRowOffset(r) == board.offsets[r]) << r;
        // A fresh game whatever the board: 19 in hand, Gold to move, cells empty.
        EXPECT_TRUE(s.GetTeamTokens(1) == 19 && s.GetTeamScore(0) == 19 && s.GetCurTeam() == 0 && !s.IsGameDone());
        EXPECT_EQ(s.GetCellOwner(0, 0), 2);
    }
}

TEST(GameState, placements_refund_the_previous_owner_even_the_mover)
{
    CGameState s(3, 2);
    s.MakeMove(2, 2, 1);
    EXPECT_TRUE(s.GetTeamTokens(0) == 18 && s.GetTeamScore(0) == 18 && s.GetCurTeam() == 1);
    EXPECT_FALSE(s.IsMoveLegal(2, 2, 1));   // a placement must exceed the cell
    s.MakeMove(2, 2, 14);
    EXPECT_TRUE(s.GetTeamTokens(0) == 19 && s.GetTeamScore(1) == 5 && s.GetCellOwner(2, 2) == 1);
    s.MakeMove(0, 0, 3);
    s.Pass();
    // Gold holds 16 and owns a cell of 3: raising it to 19 is legal, to 20 not.
    EXPECT_TRUE(s.IsMoveLegal(0, 0, 19) && !s.IsMoveLegal(0, 0, 20) && !s.IsMoveLegal(1, 0, 17));
    s.MakeMove(0, 0, 19);
    EXPECT_EQ(s.GetTeamTokens(0), 0);
}

// Random games on boards of many sizes, for 2 to 4 teams, against a model of
// the rules as stated: legality, token movements, the turn, and every score
// as the stock plus 4 per triangle found by brute force (24 on the standard
// board, 6 (n - 1)^2 on a board of side n).
TEST(GameState, random_games_agree_with_an_independent_model)
{
    std::mt19937 rng(2024);
    for (uint32_t size = 1; size <= 6; ++size)
        for (int teams = 2; teams <= 4; ++teams)
        {
            CGameState s(size, uint8_t(teams));
            const Model model(s);
            ASSERT_EQ(model.triangles.size(), 6 * (size - 1) * (size - 1));
            const size_t n = model.cells.size();
            std::vector<int> tokens(n, 0), owner(n, teams), stock(teams, 19);
            int cur = 0, passes = 0;
            for (int step = 0; step < 600; ++step)
            {
                const int i = int(rng() % n), r = model.cells[i][0], c = model.cells[i][1];
                const int t = int(rng() % (tokens[i] + stock[cur] + 3));
                const bool legal = passes < teams && tokens[i] < t && stock[cur] + (owner[i] == cur ? tokens[i] : 0) >= t;
                ASSERT_EQ(s.IsMoveLegal(r, c, uint8_t(t)), legal);
                if (legal)
                {
                    s.MakeMove(r, c, uint8_t(t));
                    if (owner[i] < teams)
                        stock[owner[i]] += tokens[i];
                    stock[cur] -= t;
                    tokens[i] = t;
                    owner[i] = cur;
                    passes = 0;
                    cur = (cur + 1) % teams;
                }
                else if (passes < teams && rng() % 8 == 0)
                {
                    s.Pass();
                    ++passes;
                    cur = (cur + 1) % teams;
                }
                else if (passes == teams)   // game over: a new one
                {
                    s.Reset();
                    tokens.assign(n, 0);
                    owner.assign(n, teams);
                    stock.assign(teams, 19);
                    cur = passes = 0;
                }
                ASSERT_TRUE(s.GetCurTeam() == cur && s.GetNumPasses() == passes);
                for (size_t k = 0; k < n; ++k)
                    ASSERT_TRUE(s.GetCellTokens(model.cells[k][0], model.cells[k][1]) == tokens[k] &&
                                model.Owner(s, int(k)) == owner[k]) << "size " << size << " cell " << k;
                for (int team = 0; team < teams; ++team)
                    ASSERT_TRUE(s.GetTeamTokens(team) == stock[team] &&
                                s.GetTeamScore(uint8_t(team)) == stock[team] + 4 * model.Owned(s, team))
                        << "size " << size << " step " << step << " team " << team;
            }
        }
}

TEST(GameState, copies_are_deep_and_reset_restores_a_fresh_game)
{
    CGameState original(3, 2), assigned(3, 2);
    original.MakeMove(2, 2, 3);
    CGameState copy(original);
    assigned = original;
    const std::string before = Dump(original);
    copy.MakeMove(2, 2, 4);
    assigned.MakeMove(1, 1, 2);
    assigned.Pass();
    EXPECT_EQ(Dump(original), before);

    CGameState s(4, 3);
    s.MakeMove(3, 3, 5);
    s.MakeMove(0, 0, 2);
    s.Pass();
    s.Reset();
    EXPECT_EQ(Dump(s), Dump(CGameState(4, 3)));
}

TEST(GameStateDeathTest, broken_preconditions_stop_with_their_expression)
{
    CGameState s(3, 2);
    EXPECT_DEATH(s.GetCellTokens(5, 0), "row < m_nRows");
    EXPECT_DEATH(s = CGameState(3, 3), "m_nTeams == other.m_nTeams");
    EXPECT_DEATH(CGameState(10, 2), "size >= 1 && size <= kMaxBoardSize");
    s.MakeMove(1, 1, 3);
    EXPECT_DEATH(s.MakeMove(1, 1, 3), "numTokens < tokens");
    EXPECT_DEATH(s.MakeMove(0, 0, 20), "m_teams\\[m_curTeam\\]\\.tokens >= tokens");
    s.Pass();
    s.Pass();
    EXPECT_DEATH(s.Pass(), "m_nPasses < m_nTeams");
}
