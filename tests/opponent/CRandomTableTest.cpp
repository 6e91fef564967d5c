#include "opponent/CRandomTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace
{
std::vector<int> DrawAll(CRandomTable* table)
{
    std::vector<int> out;
    for (uint32_t i = 0; i < CRandomTable::kSize; ++i)
        out.push_back(table->Next());
    return out;
}
}

// The game's table: values in the range the coin flip and the noise assume,
// an even coin, and the clock seed applied once only.
TEST(RandomTable, clock_seeded_table_is_in_range_and_seeded_once)
{
    CRandomTable* table = CRandomTable::GetInstance();
    const std::vector<int> values = DrawAll(table);
    int high = 0;
    for (int v : values)
    {
        ASSERT_TRUE(v >= 0 && v <= 32767);
        high += v > 16383;
    }
    EXPECT_NEAR(high, 8192, 800);
    srand(1);
    const int expected = rand();
    srand(1);
    EXPECT_EQ(CRandomTable::GetInstance(), table);
    EXPECT_EQ(rand(), expected);            // no second seeding
    EXPECT_EQ(DrawAll(table), values);      // nor a second drawing
}

TEST(RandomTable, ring_starts_at_element_one_wraps_and_counts_draws)
{
    std::vector<int> values(CRandomTable::kSize);
    for (uint32_t i = 0; i < CRandomTable::kSize; ++i)
        values[i] = int(i);
    CRandomTable* table = CRandomTable::GetInstance();
    table->Next();
    table->Fill(values.data());
    EXPECT_EQ(table->GetDraws(), 0u);
    const std::vector<int> drawn = DrawAll(table);
    EXPECT_TRUE(drawn[0] == 1 && drawn[16382] == 16383 && drawn[16383] == 0);
    EXPECT_EQ(table->Next(), 1);
    EXPECT_EQ(table->GetDraws(), CRandomTable::kSize + 1);

    table->FillFromSeed(42);
    const std::vector<int> a = DrawAll(table);
    table->FillFromSeed(42);
    EXPECT_EQ(DrawAll(table), a);
    table->FillFromSeed(43);
    EXPECT_NE(DrawAll(table), a);
    for (int v : a)
        ASSERT_TRUE(v >= 0 && v <= 32767);
}
