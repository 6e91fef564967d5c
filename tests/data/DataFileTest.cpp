// The list reader shared by the sprite and sound lists: an entry's number is
// its identifier, so no line may be lost, merged or doubled. Arbitrary
// contents are the fuzz target's (fuzz/fuzz_list_file.cpp).
#include "data/DataFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

TEST(ListFile, entries_follow_the_lines_exactly)
{
    char dir[] = "/tmp/vesk-list-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string path = dir + "/list.dat"s, a(1023, 'a'), b(477, 'b');
    const struct { std::string bytes; Lines expected; } cases[] = {
        // CR LF and LF end lines alike; empty lines are kept, blanks belong to
        // the path; a last line needs no end.
        {"Data\\a.bmp\r\n\r\nb c \nlast", {"Data\\a.bmp", "", "b c ", "last"}},
        {"a\rb\none\r", {"a\rb", "one"}},   // a CR that ends no line stays
        {"", {}},
        // 1500 bytes give 1023 + 477; exactly 1023 give one entry, no empty
        // piece; a NUL ends its piece's text, never the entry.
        {a + b + "\n" + a + "\r\nab\0cd\nnext"s, {a, b, a, "ab", "next"}},
    };
    for (const auto& c : cases) {
        std::ofstream(path, std::ios::binary) << c.bytes;
        Lines lines{"left over"};
        EXPECT_TRUE(ReadListFile(path, lines));
        EXPECT_EQ(lines, c.expected) << "file of " << c.bytes.size() << " bytes: " << c.bytes.substr(0, 20);
    }
    // Paths with Windows separators are mapped to the host's.
    Lines lines;
    EXPECT_TRUE(ReadListFile(dir + "\\list.dat"s, lines));
    EXPECT_EQ(lines, cases[3].expected);
    for (const std::string& missing : {dir + "/absent.dat"s, std::string(dir)}) {   // nothing there; a folder
        EXPECT_FALSE(ReadListFile(missing, lines)) << missing;
        EXPECT_TRUE(lines.empty()) << missing;
    }
    std::filesystem::remove_all(dir);
}

} // namespace
