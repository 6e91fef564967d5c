#include "opponent/CRandomTable.h"

#include <cassert>
#include <climits>
#include <cstdlib>
#include <ctime>

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

// Its own small generator (the classic portable one from the C standard's
// example), so that a seed gives the same table on every platform and leaves
// the standard library's generator alone.
void CRandomTable::FillFromSeed(unsigned seed)
{
    uint32_t state = seed;
    for (uint32_t i = 0; i < kSize; ++i)
    {
        state = state * 1103515245u + 12345u;
        m_values[i] = static_cast<int>((state >> 16) & 0x7fff);
    }
    m_index = 0;
    m_draws = 0;
}
