// The list reader's path and existence; what a list's bytes make is fuzz/fuzz_list_file.cpp's (against a model).
#include "data/DataFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

using namespace std::string_literals;

// A path with Windows separators names the host's file; a list that cannot
// be read is refused and leaves no entries behind.
TEST(ListFile, path_is_mapped_and_a_missing_list_gives_nothing)
{
    const std::string dir = (std::filesystem::temp_directory_path() / ("vesk-list-" + std::to_string(std::random_device()()))).string();
    ASSERT_TRUE(std::filesystem::create_directory(dir));
    std::ofstream(dir + "/list.dat"s, std::ios::binary) << "Data\\a.bmp\r\n\nlast";
    std::vector<std::string> lines{"left over"};
    EXPECT_TRUE(ReadListFile(dir + "\\list.dat"s, lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"Data\\a.bmp", "", "last"}));
    for (const std::string& missing : {dir + "/absent.dat"s, dir})   // nothing there; a folder
        EXPECT_TRUE(!ReadListFile(missing, lines) && lines.empty()) << missing;
    std::filesystem::remove_all(dir);
}
