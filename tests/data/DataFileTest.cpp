// The list reader shared by the sprite and sound lists: an entry's number is
// its identifier, so no line may be lost, merged or doubled.
#include "data/DataFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

class ListFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/vesk-list-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_path = m_dir + "/list.dat";
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    // Writes the bytes untranslated and reads them back.
    Lines Read(const std::string& bytes)
    {
        std::ofstream(m_path, std::ios::binary) << bytes;
        Lines lines{"left over"};
        EXPECT_TRUE(ReadListFile(m_path, lines));
        return lines;
    }
    std::string m_dir, m_path;
};

TEST_F(ListFileTest, entries_follow_the_lines_exactly)
{
    ASSERT_EQ(kMaxListLine, 1023u);
    const std::string a(1023, 'a'), b(477, 'b');
    const struct { std::string bytes; Lines expected; } cases[] = {
        // LF and CR LF read alike; empty lines are kept, blanks belong to the path.
        {"Data\\a.bmp\n\nb c \nlast\n", {"Data\\a.bmp", "", "b c ", "last"}},
        {"Data\\a.bmp\r\n\r\nb c \r\nlast\r\n", {"Data\\a.bmp", "", "b c ", "last"}},
        {"a\rb\n", {"a\rb"}},   // a CR that ends no line stays
        // A last line without its line end still counts.
        {"one\ntwo", {"one", "two"}},
        {"one\r\ntwo\r", {"one", "two"}},
        {"", {}},
        // 1500 bytes give 1023 + 477; exactly 1023 give one entry, no empty piece.
        {a + b + "\nnext\n", {a, b, "next"}},
        {a + "\r\nnext", {a, "next"}},
        // A NUL ends its piece's text, never the entry.
        {"ab\0cd\nnext\n"s, {"ab", "next"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.bytes), c.expected) << "file of " << c.bytes.size() << " bytes: " << c.bytes.substr(0, 20);
}

TEST_F(ListFileTest, missing_list_fails_with_no_entries)
{
    for (const std::string& path : {m_dir + "/absent.dat", m_dir}) {   // nothing there; a folder
        Lines lines{"stale"};
        EXPECT_FALSE(ReadListFile(path, lines)) << path;
        EXPECT_TRUE(lines.empty()) << path;
    }
}

TEST_F(ListFileTest, windows_separators_map_to_the_host)
{
#ifndef _WIN32
    EXPECT_EQ(HostPath("Data\\sub\\a b.png"), "Data/sub/a b.png");
#endif
    Read("x\n");
    std::string windowsPath = m_path;
    windowsPath[m_dir.size()] = '\\';
    Lines lines;
    EXPECT_TRUE(ReadListFile(windowsPath, lines));
    EXPECT_EQ(lines, Lines{"x"});
}

} // namespace
