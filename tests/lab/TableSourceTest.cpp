#include "CTableSource.h"
#include "opponent/CRandomTable.h"

#include <gtest/gtest.h>

#include <random>

// A table written out reads back the same, whatever the whitespace around it.
TEST(LabTableSource, tables_round_trip_through_text)
{
    std::mt19937 gen(99);
    std::vector<int> table(CRandomTable::kSize);
    for (int& v : table)
        v = static_cast<int>(gen() % (CRandomTable::kMax + 1));
    std::vector<int> back;
    std::string error;
    ASSERT_TRUE(CTableSource::FromText("\n" + CTableSource::ToText(table) + "\t\r\n", back, error)) << error;
    EXPECT_EQ(back, table);
}

// Bad tables are refused with a one-line reason pointing at the culprit, and
// leave the output alone.
TEST(LabTableSource, bad_tables_are_rejected_with_a_reason)
{
    std::vector<std::string> words(CRandomTable::kSize, "5");
    const struct { size_t at; const char* word; const char* says; } cases[] = {
        { 0, "", "expected 16384 values, found 16383" },
        { 41, "32768", "value 42 (line 1) is outside 0..32767" },
        { 41, "123456789012345678901234567890", "value 42 (line 1) is outside" },
        { 100, "\n\n12a", "value 101 (line 3) is not a whole number: '12a'" },
    };
    for (const auto& c : cases)
    {
        std::string text;
        for (size_t i = 0; i < words.size(); ++i)
            text += (i == c.at ? c.word : words[i]) + std::string(" ");
        std::vector<int> values = { 1, 2, 3 };
        std::string error;
        EXPECT_FALSE(CTableSource::FromText(text, values, error));
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        EXPECT_EQ(values.size(), 3u);
    }
}
