#include "CMatchStats.h"

#include <gtest/gtest.h>

namespace
{
CMatchStats Results(int gold, int silver, int ties)
{
    CMatchStats stats;
    for (int i = 0; i < gold + silver + ties; ++i)
        stats.Add(i < gold ? CMatchStats::kGoldWins : i < gold + silver ? CMatchStats::kSilverWins : CMatchStats::kTie);
    return stats;
}
} // namespace

// Higher score wins, equal scores tie and count half; the interval is the
// textbook Wilson interval and stays inside 0..1 when every game is won.
TEST(LabMatchStats, results_score_and_interval)
{
    EXPECT_EQ(CMatchStats::ResultOf(30, 29), CMatchStats::kGoldWins);
    EXPECT_EQ(CMatchStats::ResultOf(29, 30), CMatchStats::kSilverWins);
    EXPECT_EQ(CMatchStats::ResultOf(19, 19), CMatchStats::kTie);
    const CMatchStats stats = Results(6, 3, 1);
    EXPECT_TRUE(stats.GetGoldWins() == 6 && stats.GetSilverWins() == 3 && stats.GetTies() == 1);
    EXPECT_DOUBLE_EQ(stats.GetScore(), 0.65);

    double low = 0, high = 0;
    Results(50, 50, 0).GetInterval(low, high);
    EXPECT_NEAR(low, 0.4038, 0.0005);
    EXPECT_NEAR(high, 0.5962, 0.0005);
    Results(20, 0, 0).GetInterval(low, high);
    EXPECT_DOUBLE_EQ(high, 1.0);
    EXPECT_NEAR(low, 0.839, 0.002);
}
