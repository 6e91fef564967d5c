#ifndef VESK_OPPONENT_CRANDOMTABLE_H
#define VESK_OPPONENT_CRANDOMTABLE_H

#include <cstdint>

// A ring of pre-drawn random numbers in 0..32767. The game's instance is seeded
// from the clock once, on first use; tests and tools refill it with known values.
class CRandomTable
{
public:
    static const uint32_t kSize = 16384;
    static const int      kMax  = 32767;

    static CRandomTable* GetInstance();

    int Next();

    // For tests and tools: replace the contents and restart the ring.
    void Fill(const int* values);          // kSize values, each 0..kMax (asserted)
    void FillFromSeed(unsigned seed);      // the same contents from a seed on every platform

    // Values handed out since construction or the last Fill.
    uint64_t GetDraws() const { return m_draws; }

private:
    CRandomTable();

    int      m_values[kSize];
    uint32_t m_index;
    uint64_t m_draws;
};

#endif
