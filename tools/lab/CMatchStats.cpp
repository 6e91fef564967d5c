#include "CMatchStats.h"

#include <algorithm>
#include <cmath>

void CMatchStats::Add(Result result)
{
    switch (result)
    {
    case kGoldWins:   ++m_gold;   break;
    case kSilverWins: ++m_silver; break;
    case kTie:        ++m_ties;   break;
    }
}

CMatchStats::Result CMatchStats::ResultOf(int goldScore, int silverScore)
{
    if (goldScore > silverScore)
        return kGoldWins;
    if (goldScore < silverScore)
        return kSilverWins;
    return kTie;
}

double CMatchStats::GetScore() const
{
    const uint32_t n = GetGames();
    if (n == 0)
        return 0.5;
    return (m_gold + 0.5 * m_ties) / n;
}

void CMatchStats::GetInterval(double& low, double& high) const
{
    const uint32_t n = GetGames();
    if (n == 0)
    {
        low = 0.0;
        high = 1.0;
        return;
    }
    // Wilson's interval: unlike mean +- 1.96 sd it stays meaningful at 0 %
    // and 100 %. Treating ties as half a win with binomial variance
    // overstates the spread a little, so the interval errs on the wide side.
    const double z = 1.959964;
    const double p = GetScore();
    const double z2n = z * z / n;
    const double centre = (p + z2n / 2.0) / (1.0 + z2n);
    const double half = z / (1.0 + z2n) * std::sqrt(p * (1.0 - p) / n + z2n / (4.0 * n));
    low = std::max(0.0, centre - half);
    high = std::min(1.0, centre + half);
}
