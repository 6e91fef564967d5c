#include "CMatchStats.h"

#include <gtest/gtest.h>

namespace
{
CMatchStats Results(int gold, int silver, int ties)
{
    CMatchStats stats;
    for (int i = 0; i < gold; ++i)
        stats.Add(CMatchStats::kGoldWins);
    for (int i = 0; i < silver; ++i)
        stats.Add(CMatchStats::kSilverWins);
    for (int i = 0; i < ties; ++i)
        stats.Add(CMatchStats::kTie);
    return stats;
}
} // namespace

// Higher score wins, equal scores tie; a tie counts half for Gold's score.
TEST(LabMatchStats, results_and_score)
{
    EXPECT_EQ(CMatchStats::ResultOf(30, 29), CMatchStats::kGoldWins);
    EXPECT_EQ(CMatchStats::ResultOf(29, 30), CMatchStats::kSilverWins);
    EXPECT_EQ(CMatchStats::ResultOf(19, 19), CMatchStats::kTie);

    const CMatchStats stats = Results(6, 3, 1);
    EXPECT_EQ(stats.GetGames(), 10u);
    EXPECT_EQ(stats.GetGoldWins(), 6u);
    EXPECT_EQ(stats.GetSilverWins(), 3u);
    EXPECT_EQ(stats.GetTies(), 1u);
    EXPECT_DOUBLE_EQ(stats.GetScore(), 0.65);
}

// The interval matches the textbook Wilson interval, holds the score,
// narrows with more games and stays inside 0..1 at the extremes.
TEST(LabMatchStats, interval)
{
    double low = 0, high = 0;
    Results(50, 50, 0).GetInterval(low, high);
    EXPECT_NEAR(low, 0.4038, 0.0005);
    EXPECT_NEAR(high, 0.5962, 0.0005);

    Results(0, 0, 0).GetInterval(low, high);
    EXPECT_EQ(low, 0.0);
    EXPECT_EQ(high, 1.0);

    // All won: the interval still has width, and 100 % is its top.
    Results(20, 0, 0).GetInterval(low, high);
    EXPECT_DOUBLE_EQ(high, 1.0);
    EXPECT_NEAR(low, 0.839, 0.002);
    Results(0, 20, 0).GetInterval(low, high);
    EXPECT_DOUBLE_EQ(low, 0.0);
    EXPECT_NEAR(high, 0.161, 0.002);

    double smallLow = 0, smallHigh = 0, bigLow = 0, bigHigh = 0;
    Results(7, 2, 1).GetInterval(smallLow, smallHigh);
    Results(700, 200, 100).GetInterval(bigLow, bigHigh);
    EXPECT_LT(smallLow, 0.75);
    EXPECT_GT(smallHigh, 0.75);
    EXPECT_LT(bigLow, 0.75);
    EXPECT_GT(bigHigh, 0.75);
    EXPECT_LT(bigHigh - bigLow, (smallHigh - smallLow) / 5);
}
