#include "opponent/CRandomTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

// The game's own table: drawn once, each value in the range the coin flip and
// the evaluation noise assume, and the clock seed never applied again.
TEST(RandomTable, clock_seeded_table_is_in_range_and_seeded_once)
{
    CRandomTable* table = CRandomTable::GetInstance();
    EXPECT_EQ(table->GetDraws(), 0u);
    int high = 0;
    std::vector<int> values;
    for (uint32_t i = 0; i < CRandomTable::kSize; ++i)
    {
        const int v = table->Next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, CRandomTable::kMax);
        high += v > 16383;
        values.push_back(v);
    }
    EXPECT_NEAR(high, CRandomTable::kSize / 2, CRandomTable::kSize / 20);   // fair coin flips

    srand(1);
    const int expected = rand();
    srand(1);
    EXPECT_EQ(CRandomTable::GetInstance(), table);
    EXPECT_EQ(rand(), expected);   // a second GetInstance must not seed again
    for (uint32_t i = 0; i < CRandomTable::kSize; ++i)
        ASSERT_EQ(table->Next(), values[i]);   // same ring, not redrawn
}

TEST(RandomTable, ring_hands_out_element_one_first_and_wraps)
{
    std::vector<int> values(CRandomTable::kSize);
    for (uint32_t i = 0; i < CRandomTable::kSize; ++i)
        values[i] = static_cast<int>(i);
    CRandomTable* table = CRandomTable::GetInstance();
    table->Next();
    table->Fill(values.data());
    EXPECT_EQ(table->GetDraws(), 0u);
    EXPECT_EQ(table->Next(), 1);
    EXPECT_EQ(table->Next(), 2);
    for (uint32_t i = 3; i < CRandomTable::kSize; ++i)
        table->Next();
    EXPECT_EQ(table->Next(), 0);   // the 16384th value is element 0
    EXPECT_EQ(table->Next(), 1);
    EXPECT_EQ(table->GetDraws(), CRandomTable::kSize + 1);
}

TEST(RandomTable, seeded_fill_is_reproducible_and_in_range)
{
    CRandomTable* table = CRandomTable::GetInstance();
    auto draw = [&](unsigned seed) {
        table->FillFromSeed(seed);
        std::vector<int> out;
        for (uint32_t i = 0; i < CRandomTable::kSize; ++i)
            out.push_back(table->Next());
        return out;
    };
    const std::vector<int> a = draw(42), b = draw(42), c = draw(43);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    for (int v : a)
        ASSERT_TRUE(v >= 0 && v <= CRandomTable::kMax);
}

TEST(RandomTableDeathTest, values_out_of_range_are_refused)
{
    std::vector<int> values(CRandomTable::kSize, 0);
    values[100] = CRandomTable::kMax + 1;
    EXPECT_DEATH(CRandomTable::GetInstance()->Fill(values.data()), "values\\[i\\] >= 0 && values\\[i\\] <= kMax");
}
