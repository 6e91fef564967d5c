// The list reader shared by the sprite and sound lists: an entry's number is
// its identifier, so no line may be lost, merged or doubled.
#include "engine/DataFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

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
    void TearDown() override
    {
        std::remove(m_path.c_str());
        rmdir(m_dir.c_str());
    }
    // Writes the bytes untranslated and reads them back.
    Lines Read(const std::string& bytes)
    {
        FILE* f = std::fopen(m_path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        Lines lines{"left over"};
        EXPECT_TRUE(ReadListFile(m_path, lines));
        return lines;
    }
    std::string m_dir, m_path;
};

TEST_F(ListFileTest, entries_follow_the_lines_exactly)
{
    const std::string a(kMaxListLine, 'a'), b(kMaxListLine, 'b');
    ASSERT_EQ(kMaxListLine, 1023u);
    const struct { std::string bytes; Lines expected; } cases[] = {
        // LF, CR LF and both mixed read alike; blanks belong to the path.
        {"Data\\a.bmp\n\nb c \nlast\n", {"Data\\a.bmp", "", "b c ", "last"}},
        {"Data\\a.bmp\r\n\r\nb c \r\nlast\r\n", {"Data\\a.bmp", "", "b c ", "last"}},
        {"x\r\n\ny\n", {"x", "", "y"}},
        {"a\rb\n", {"a\rb"}},                       // a CR that ends no line stays
        // The end of the file.
        {"one\ntwo", {"one", "two"}},
        {"one\ntwo\n\n", {"one", "two", ""}},
        {"one\r\ntwo\r", {"one", "two"}},
        {"", {}},
        {"\n", {""}},
        // Long lines: full pieces only, no empty piece after an exact multiple.
        {a + b.substr(0, 477) + "\nnext\n", {a, b.substr(0, 477), "next"}},
        {a + "\nnext\n", {a, "next"}},
        {a + b + "\nnext", {a, b, "next"}},
        {a + "\r\nnext\r\n", {a, "next"}},
        {a + "x\n", {a, "x"}},
        // A NUL ends its piece's text, never the entry.
        {"ab\0cd\nnext\n"s, {"ab", "next"}},
        {"\0\n\0\nz"s, {"", "", "z"}},
        {"aa\0"s + std::string(1497, 'b') + "\nz", {"aa", std::string(477, 'b'), "z"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.bytes), c.expected) << "file of " << c.bytes.size() << " bytes: " << c.bytes.substr(0, 20);
}

TEST_F(ListFileTest, unreadable_list_fails_with_no_entries)
{
    Lines lines{"stale"};
    EXPECT_FALSE(ReadListFile(m_dir + "/absent.dat", lines));
    EXPECT_TRUE(lines.empty());
    lines = {"stale"};
    EXPECT_FALSE(ReadListFile(m_dir, lines));   // a folder
    EXPECT_TRUE(lines.empty());
}

TEST_F(ListFileTest, windows_separators_map_to_the_host)
{
#ifndef _WIN32
    EXPECT_EQ(HostPath("Data\\sub\\a b.png"), "Data/sub/a b.png");
    EXPECT_EQ(HostPath("plain.wav"), "plain.wav");
#endif
    Read("x\n");
    std::string windowsPath = m_path;
    windowsPath[m_dir.size()] = '\\';
    Lines lines;
    EXPECT_TRUE(ReadListFile(windowsPath, lines));
    EXPECT_EQ(lines, Lines{"x"});
}

} // namespace
