#ifndef VESK_LAB_CMATCHSTATS_H
#define VESK_LAB_CMATCHSTATS_H

#include <cstdint>

// Results of a series of games, from Gold's side. The score counts a win as
// 1 and a tie as 1/2; its 95 % interval is Wilson's score interval.
class CMatchStats
{
public:
    enum Result { kGoldWins, kSilverWins, kTie };

    void Add(Result result);
    static Result ResultOf(int goldScore, int silverScore);

    uint32_t GetGames() const { return m_gold + m_silver + m_ties; }
    uint32_t GetGoldWins() const { return m_gold; }
    uint32_t GetSilverWins() const { return m_silver; }
    uint32_t GetTies() const { return m_ties; }

    // Gold's score as a fraction 0..1, and the interval, clamped to 0..1.
    // With no games the score is 0.5 and the interval 0..1.
    double GetScore() const;
    void   GetInterval(double& low, double& high) const;

private:
    uint32_t m_gold = 0;
    uint32_t m_silver = 0;
    uint32_t m_ties = 0;
};

#endif
