// The list reader shared by the sprite list and the sound list: an entry's
// number is its identifier, so no line may be lost, merged or doubled.
#include "engine/DataFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

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
    void TearDown() override
    {
        std::remove(m_path.c_str());
        rmdir(m_dir.c_str());
    }

    // Writes the bytes as they are (no text-mode translation) and reads them back.
    std::vector<std::string> Read(const std::string& bytes)
    {
        FILE* f = std::fopen(m_path.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        std::vector<std::string> lines{"left over from before"};
        EXPECT_TRUE(ReadListFile(m_path, lines));
        return lines;
    }

    std::string m_dir;
    std::string m_path;
};

using Lines = std::vector<std::string>;

TEST_F(ListFileTest, line_ends_lf_and_crlf_read_alike)
{
    const Lines expected{"Data\\a.bmp", "", "Data\\b c.png ", "last"};
    EXPECT_EQ(Read("Data\\a.bmp\n\nData\\b c.png \nlast\n"), expected);
    EXPECT_EQ(Read("Data\\a.bmp\r\n\r\nData\\b c.png \r\nlast\r\n"), expected);
    // Mixed ends in one file, as an editor may leave them.
    EXPECT_EQ(Read("Data\\a.bmp\r\n\nData\\b c.png \nlast\r\n"), expected);
    // A CR that ends no line is part of the path.
    EXPECT_EQ(Read("a\rb\n"), Lines{"a\rb"});
}

TEST_F(ListFileTest, file_end_counts_exactly)
{
    EXPECT_EQ(Read("one\ntwo"), (Lines{"one", "two"}));          // no final line end
    EXPECT_EQ(Read("one\ntwo\n"), (Lines{"one", "two"}));        // no extra entry
    EXPECT_EQ(Read("one\ntwo\n\n"), (Lines{"one", "two", ""}));  // one extra empty entry
    EXPECT_EQ(Read("one\r\ntwo\r"), (Lines{"one", "two"}));      // cut CR LF file
    EXPECT_EQ(Read(""), Lines{});
    EXPECT_EQ(Read("\n"), Lines{""});
}

TEST_F(ListFileTest, long_lines_split_into_full_pieces_only)
{
    const size_t n = kMaxListLine;
    ASSERT_EQ(n, 1023u);
    std::string a(n, 'a'), b(n, 'b'), c(477, 'c');

    EXPECT_EQ(Read(a + b.substr(0, 477) + "\nnext\n"), (Lines{a, b.substr(0, 477), "next"}));
    // Exact multiples of the piece length give no empty piece after them, so
    // the lines after keep their numbers.
    EXPECT_EQ(Read(a + "\nnext\n"), (Lines{a, "next"}));
    EXPECT_EQ(Read(a + b + "\nnext\n"), (Lines{a, b, "next"}));
    EXPECT_EQ(Read(a + "\r\nnext\r\n"), (Lines{a, "next"}));
    EXPECT_EQ(Read(a + b), (Lines{a, b}));
    EXPECT_EQ(Read(a + "x\n"), (Lines{a, "x"}));
    EXPECT_EQ(Read(a + "\r\n"), Lines{a});
}

TEST_F(ListFileTest, nul_byte_ends_text_but_keeps_entries)
{
    using namespace std::string_literals;
    EXPECT_EQ(Read("ab\0cd\nnext\n"s), (Lines{"ab", "next"}));
    EXPECT_EQ(Read("\0\n\0\nz"s), (Lines{"", "", "z"}));
    // A NUL in the first piece cuts only that piece's text.
    const std::string longLine = std::string(10, 'a') + '\0' + std::string(1500 - 11, 'b');
    const Lines lines = Read(longLine + "\nnext\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string(10, 'a'));
    EXPECT_EQ(lines[1], std::string(477, 'b'));
    EXPECT_EQ(lines[2], "next");
}

TEST_F(ListFileTest, missing_or_unreadable_file_fails_with_no_entries)
{
    std::vector<std::string> lines{"stale"};
    EXPECT_FALSE(ReadListFile(m_dir + "/absent.dat", lines));
    EXPECT_TRUE(lines.empty());

    lines = {"stale"};
    EXPECT_FALSE(ReadListFile(m_dir, lines));   // a folder, not a file
    EXPECT_TRUE(lines.empty());
}

TEST(HostPath, windows_separators_become_host_separators)
{
#ifdef _WIN32
    EXPECT_EQ(HostPath("Data\\sprites.dat"), "Data\\sprites.dat");
#else
    EXPECT_EQ(HostPath("Data\\sprites.dat"), "Data/sprites.dat");
    EXPECT_EQ(HostPath("Data\\sub\\a b.png"), "Data/sub/a b.png");
    EXPECT_EQ(HostPath("plain.wav"), "plain.wav");
    EXPECT_EQ(HostPath(""), "");
#endif
}

TEST_F(ListFileTest, list_path_with_windows_separator_is_found)
{
    FILE* f = std::fopen(m_path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("x\n", f);
    std::fclose(f);
    std::string windowsPath = m_path;
    windowsPath[m_dir.size()] = '\\';
    std::vector<std::string> lines;
    EXPECT_TRUE(ReadListFile(windowsPath, lines));
    EXPECT_EQ(lines, Lines{"x"});
}

} // namespace
