#include "opponent/CRandomTable.h"

#include <cassert>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <random>

// Defined here as well, for callers that take their address (EXPECT_LE, std::min).
const uint32_t CRandomTable::kSize;
const int      CRandomTable::kMax;

namespace
{
// The table's range has to be exactly 0..32767 (the coin flip splits it in
// half, the evaluation noise scales by it), whatever rand()'s range is here.
// Taking the high bits keeps the spread even when RAND_MAX + 1 is a power of two.
int ReduceRand(int value)
{
    const unsigned long long range = static_cast<unsigned long long>(RAND_MAX) + 1;
    return static_cast<int>(static_cast<unsigned long long>(value) * (CRandomTable::kMax + 1) / range);
}
}

CRandomTable* CRandomTable::GetInstance()
{
    static CRandomTable* instance = nullptr;
    if (!instance)
        instance = new CRandomTable();
    return instance;
}

// Seeded from the clock exactly once per run, when the opponent first needs a
// random number.
CRandomTable::CRandomTable()
    : m_index(0), m_draws(0)
{
    srand(static_cast<unsigned>(time(NULL)));
    for (uint32_t i = 0; i < kSize; ++i)
        m_values[i] = ReduceRand(rand());
}

int CRandomTable::Next()
{
    m_index = (m_index + 1) & (kSize - 1);
    ++m_draws;
    return m_values[m_index];
}

void CRandomTable::Fill(const int* values)
{
    for (uint32_t i = 0; i < kSize; ++i)
    {
        assert(values[i] >= 0 && values[i] <= kMax);
        m_values[i] = values[i];
    }
    m_index = 0;
    m_draws = 0;
}

// std::mt19937, whose sequence the C++ standard fixes: a seed gives the same
// table (and the same searches) on every platform, and the standard library's
// own generator is left alone. The top 15 bits of each output are uniform
// over 0..32767.
void CRandomTable::FillFromSeed(unsigned seed)
{
    std::mt19937 generator(seed);
    for (int& value : m_values)
        value = static_cast<int>(generator() >> 17);
    m_index = 0;
    m_draws = 0;
}
