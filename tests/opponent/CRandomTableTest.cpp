#include "opponent/CRandomTable.h"

#include <gtest/gtest.h>

#include <vector>

// Filled tables are read from element 1, wrap to element 0, and count every
// draw; a seed always fills the same table, in range.
TEST(RandomTable, ring_starts_at_element_one_wraps_and_counts_draws)
{
    std::vector<int> values(CRandomTable::kSize);
    for (uint32_t i = 0; i < CRandomTable::kSize; ++i)
        values[i] = int(i);
    CRandomTable* table = CRandomTable::GetInstance();
    table->Next();
    table->Fill(values.data());
    EXPECT_EQ(table->GetDraws(), 0u);
    std::vector<int> drawn;
    for (uint32_t i = 0; i <= CRandomTable::kSize; ++i)
        drawn.push_back(table->Next());
    EXPECT_TRUE(drawn[0] == 1 && drawn[16382] == 16383 && drawn[16383] == 0 && drawn[16384] == 1);
    EXPECT_EQ(table->GetDraws(), CRandomTable::kSize + 1);

    auto fromSeed = [table](unsigned seed) {
        table->FillFromSeed(seed);
        std::vector<int> out;
        for (uint32_t i = 0; i < CRandomTable::kSize; ++i)
            out.push_back(table->Next());
        return out;
    };
    const std::vector<int> a = fromSeed(42);
    EXPECT_EQ(fromSeed(42), a);
    EXPECT_NE(fromSeed(43), a);
    for (int v : a)
        ASSERT_TRUE(v >= 0 && v <= 32767);
}
