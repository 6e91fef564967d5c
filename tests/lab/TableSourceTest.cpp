#include "CTableSource.h"
#include "opponent/CRandomTable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace
{
std::string Joined(const std::vector<std::string>& words)
{
    std::string out;
    for (const std::string& w : words)
        out += w + " ";
    return out;
}

std::vector<std::string> Numbers(size_t n, const std::string& value = "5")
{
    return std::vector<std::string>(n, value);
}
} // namespace

// A seed always gives the same table, different seeds different ones, and
// the values spread over the whole range.
TEST(LabTableSource, seeded_tables_are_reproducible_and_spread)
{
    const std::vector<int> a = CTableSource::FromSeed(1);
    ASSERT_EQ(a.size(), CRandomTable::kSize);
    EXPECT_EQ(a, CTableSource::FromSeed(1));
    EXPECT_NE(a, CTableSource::FromSeed(2));

    long long sum = 0;
    int upper = 0, low = 32767, high = 0;
    for (int v : a)
    {
        ASSERT_GE(v, 0);
        ASSERT_LE(v, CRandomTable::kMax);
        sum += v;
        upper += v > 16383;
        low = std::min(low, v);
        high = std::max(high, v);
    }
    // The coin flips (value > 16383) must be fair and the range covered.
    EXPECT_NEAR(static_cast<double>(sum) / a.size(), 16383.5, 400.0);
    EXPECT_NEAR(upper, 8192, 300);
    EXPECT_LT(low, 64);
    EXPECT_GT(high, 32767 - 64);
}

// A table written out and read back, through text and through a file, is
// the same table, and installing it hands its values out from index 1.
TEST(LabTableSource, text_and_file_round_trip)
{
    const std::vector<int> table = CTableSource::FromSeed(99);
    std::vector<int> back;
    std::string error;
    ASSERT_TRUE(CTableSource::FromText(CTableSource::ToText(table), back, error)) << error;
    EXPECT_EQ(back, table);

    char path[] = "/tmp/vesk_lab_tableXXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    {
        std::ofstream file(path);
        file << CTableSource::ToText(table);
    }
    back.clear();
    EXPECT_TRUE(CTableSource::FromFile(path, back, error)) << error;
    std::remove(path);
    EXPECT_EQ(back, table);

    CTableSource::Install(back);
    CRandomTable* ring = CRandomTable::GetInstance();
    EXPECT_EQ(ring->GetDraws(), 0u);
    EXPECT_EQ(ring->Next(), table[1]);
    EXPECT_EQ(ring->Next(), table[2]);
    EXPECT_EQ(ring->GetDraws(), 2u);
}

// Any whitespace separates values; leading zeros and the extremes are fine.
TEST(LabTableSource, layout_is_free)
{
    std::string text = "0\n\t00032767\r\n";
    for (size_t i = 2; i < CRandomTable::kSize; ++i)
        text += (i % 3 ? " " : "\n") + std::to_string(i % 32768);
    std::vector<int> values;
    std::string error;
    ASSERT_TRUE(CTableSource::FromText(text, values, error)) << error;
    EXPECT_EQ(values[0], 0);
    EXPECT_EQ(values[1], 32767);
    EXPECT_EQ(values[16383], 16383);
}

// Bad tables are refused with a reason that points at the culprit.
TEST(LabTableSource, bad_tables_are_rejected_with_a_reason)
{
    struct Case { std::string text; const char* says; };
    std::vector<std::string> words = Numbers(CRandomTable::kSize);
    std::vector<Case> cases;
    cases.push_back({ "", "expected 16384 values, found 0" });
    cases.push_back({ Joined(Numbers(100)), "found 100" });
    cases.push_back({ Joined(Numbers(CRandomTable::kSize + 1)), "more than 16384" });
    words[41] = "32768";
    cases.push_back({ Joined(words), "value 42 (line 1) is outside 0..32767" });
    words[41] = "-3";
    cases.push_back({ Joined(words), "value 42 (line 1) is outside" });
    words[41] = "123456789012345678901234567890";
    cases.push_back({ Joined(words), "value 42 (line 1) is outside" });
    words[41] = "12a";
    cases.push_back({ Joined(words), "value 42 (line 1) is not a whole number: '12a'" });
    words[41] = "1.5";
    cases.push_back({ Joined(words), "not a whole number" });
    words[41] = "-";
    cases.push_back({ Joined(words), "not a whole number" });
    words[41] = "5";
    words[100] = "\n\nx";
    cases.push_back({ Joined(words), "value 101 (line 3)" });

    for (const Case& c : cases)
    {
        std::vector<int> values = { 1, 2, 3 };
        std::string error;
        EXPECT_FALSE(CTableSource::FromText(c.text, values, error));
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        EXPECT_EQ(values.size(), 3u) << "a refused table must leave the output alone";
    }

    std::vector<int> values;
    std::string error;
    EXPECT_FALSE(CTableSource::FromFile("/nonexistent/vesk/table.txt", values, error));
    EXPECT_NE(error.find("cannot open table file '/nonexistent/vesk/table.txt'"),
              std::string::npos) << error;
    EXPECT_FALSE(CTableSource::FromFile("/tmp", values, error));
    EXPECT_FALSE(error.empty());
}
