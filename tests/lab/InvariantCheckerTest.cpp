#include "CEngineRunner.h"
#include "CInvariantChecker.h"
#include "Notation.h"
#include "TestGames.h"

#include <gtest/gtest.h>

#include <set>

namespace
{
// Adjacency by rows, as the rules describe it: neighbours in a row, and
// towards the next row (c, c + 1) below the middle row, (c - 1, c) from it on.
bool RowsTouch(uint32_t r1, uint32_t c1, uint32_t r2, uint32_t c2)
{
    if (r1 > r2 || (r1 == r2 && c1 > c2))
        return RowsTouch(r2, c2, r1, c1);
    if (r1 == r2)
        return c2 == c1 + 1;
    if (r2 != r1 + 1)
        return false;
    const uint32_t mid = 2;
    if (r1 < mid)
        return c2 == c1 || c2 == c1 + 1;
    return c2 + 1 == c1 || c2 == c1;
}

void RowCol(int index, uint32_t& row, uint32_t& col)
{
    row = 0;
    while (row + 1 < 5 && CNotation::RowIndex(row + 1) <= static_cast<uint32_t>(index))
        ++row;
    col = index - CNotation::RowIndex(row);
}

CGameState After(const std::string& text)
{
    CGameState state(3, 2);
    std::string error;
    EXPECT_TRUE(CNotation::ParseState(text, state, error)) << error;
    return state;
}
} // namespace

// The triangles found from the cells' places on the hexagon are exactly the
// 24 triples that touch pairwise by the row rule.
TEST(LabInvariantChecker, triangles_agree_with_row_adjacency)
{
    const auto& triangles = CInvariantChecker::Triangles();
    EXPECT_EQ(triangles.size(), 24u);
    std::set<std::array<int, 3>> found(triangles.begin(), triangles.end());
    EXPECT_EQ(found.size(), 24u);

    int byRows = 0;
    for (int a = 0; a < 19; ++a)
        for (int b = a + 1; b < 19; ++b)
            for (int c = b + 1; c < 19; ++c)
            {
                uint32_t ra, ca, rb, cb, rc, cc;
                RowCol(a, ra, ca);
                RowCol(b, rb, cb);
                RowCol(c, rc, cc);
                if (RowsTouch(ra, ca, rb, cb) && RowsTouch(rb, cb, rc, cc) && RowsTouch(ra, ca, rc, cc))
                {
                    ++byRows;
                    EXPECT_TRUE(found.count({ a, b, c })) << a << " " << b << " " << c;
                }
            }
    EXPECT_EQ(byRows, 24);
}

// The middle cell and its six neighbours form six triangles; a broken
// ring loses the two triangles through the missing cell.
TEST(LabInvariantChecker, triangle_count_per_team)
{
    const CGameState full = After("---/-g1g1-/-g1g1g1-/-g1g1-/s1-- s 0");
    EXPECT_EQ(CInvariantChecker::CountTriangles(full, 0), 6);
    EXPECT_EQ(CInvariantChecker::CountTriangles(full, 1), 0);
    const CGameState broken = After("---/-g1g1-/-g1g1s1-/-g1g1-/--- g 0");
    EXPECT_EQ(CInvariantChecker::CountTriangles(broken, 0), 4);
}

// Every position and every one-token raise or pass of many random games
// passes the checks (the rules keep their invariants).
TEST(LabInvariantChecker, rules_keep_the_invariants_in_random_play)
{
    const std::vector<CGameState> positions = RandomGamePositions(5, 30);
    int moves = 0;
    for (const CGameState& before : positions)
    {
        std::string error;
        ASSERT_TRUE(CInvariantChecker::CheckState(before, error))
            << CNotation::Format(before) << ": " << error;
        if (before.IsGameDone())
            continue;
        for (uint32_t r = 0; r < 5; ++r)
            for (uint32_t c = 0; c < CNotation::RowLength(r); ++c)
            {
                if (!before.IsMoveLegal(r, c, static_cast<uint8_t>(before.GetCellTokens(r, c) + 1)))
                    continue;
                LabMove move;
                move.row = static_cast<uint8_t>(r);
                move.col = static_cast<uint8_t>(c);
                CGameState after(before);
                CEngineRunner::Apply(after, move);
                ASSERT_TRUE(CInvariantChecker::CheckMove(before, move, after, error))
                    << CNotation::Format(before) << " raise " << r << " " << c << ": " << error;
                ++moves;
            }
        LabMove pass;
        pass.isPass = true;
        CGameState after(before);
        CEngineRunner::Apply(after, pass);
        std::string error2;
        ASSERT_TRUE(CInvariantChecker::CheckMove(before, pass, after, error2)) << error2;
    }
    EXPECT_GT(moves, 1000);
}

// A position that does not follow from the named move is caught.
TEST(LabInvariantChecker, mismatched_moves_are_caught)
{
    const CGameState before = After("g1--/----/-----/----/--- s 0");
    LabMove pass;
    pass.isPass = true;
    LabMove raise;
    raise.row = 2;
    raise.col = 2;
    std::string error;

    // Claimed a pass, but a placement happened.
    EXPECT_FALSE(CInvariantChecker::CheckMove(before, pass,
                                              After("g1--/----/--s1--/----/--- g 0"), error));
    EXPECT_NE(error.find("pass"), std::string::npos) << error;

    // Claimed (2, 2), but (1, 1) was played.
    EXPECT_FALSE(CInvariantChecker::CheckMove(before, raise,
                                              After("g1--/-s1--/-----/----/--- g 0"), error));
    // Raised by two instead of one.
    EXPECT_FALSE(CInvariantChecker::CheckMove(before, raise,
                                              After("g1--/----/--s2--/----/--- g 0"), error));
    EXPECT_NE(error.find("expected 1 of team 1"), std::string::npos) << error;
    // The turn did not move on.
    EXPECT_FALSE(CInvariantChecker::CheckMove(before, pass, before, error));
    // An extra cell changed too.
    EXPECT_FALSE(CInvariantChecker::CheckMove(before, raise,
                                              After("g1--/----/--s1--/----/s1-- g 0"), error));
    EXPECT_NE(error.find("changed 2 cells"), std::string::npos) << error;
    // Nothing may follow the end of the game.
    EXPECT_FALSE(CInvariantChecker::CheckMove(After("g1--/----/-----/----/--- s 2"), pass,
                                              before, error));
    EXPECT_NE(error.find("over"), std::string::npos) << error;
    // A move off the board.
    LabMove off;
    off.row = 0;
    off.col = 3;
    EXPECT_FALSE(CInvariantChecker::CheckMove(before, off, before, error));

    EXPECT_TRUE(CInvariantChecker::CheckMove(before, raise,
                                             After("g1--/----/--s1--/----/--- g 0"), error)) << error;
}
