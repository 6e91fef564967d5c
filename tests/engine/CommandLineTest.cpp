// The start-up settings and the one command-line option.

#include "engine/CEngineSettings.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool Fullscreen(std::vector<const char*> args, int count = -1)
{
    CEngineSettings s = CEngineSettings::DefaultSettings();
    s.ScanCommandLine(count < 0 ? int(args.size()) : count, args.data());
    EXPECT_EQ(s.m_Width, 1024);   // no argument changes anything else
    EXPECT_EQ(s.m_IconFile, "Vesk.bmp");
    return s.m_Fullscreen;
}

TEST(StartupSettings, defaults_are_the_program_values)
{
    const CEngineSettings s = CEngineSettings::DefaultSettings();
    EXPECT_EQ(s.m_Width, 1024);
    EXPECT_EQ(s.m_Height, 768);
    EXPECT_EQ(s.m_BitsPerPixel, 32);
    EXPECT_FALSE(s.m_Fullscreen);
    EXPECT_EQ(s.m_IconFile, "Vesk.bmp");
    EXPECT_EQ(s.m_Caption, "Vesk");
}

// "-fullscreen" counts wherever it stands, the program's path included, and
// several times mean once; only the exact, case-sensitive word matches.
TEST(StartupSettings, fullscreen_option)
{
    EXPECT_FALSE(Fullscreen({}));
    EXPECT_FALSE(Fullscreen({"./vesk"}));
    EXPECT_TRUE(Fullscreen({"-fullscreen"}));
    EXPECT_TRUE(Fullscreen({"./vesk", "a", "-fullscreen", "b"}));
    EXPECT_TRUE(Fullscreen({"./vesk", "-fullscreen", "-fullscreen", "-fullscreen"}));
    EXPECT_FALSE(Fullscreen({"./vesk", "-fullscreen"}, 1)) << "the count bounds the scan";
    for (const char* arg : {"-Fullscreen", "-FULLSCREEN", "--fullscreen", "-fullscreen=1", "-fullscreen ",
                            " -fullscreen", "-fullscree", "fullscreen", "", "-"})
        EXPECT_FALSE(Fullscreen({"./vesk", arg})) << '"' << arg << '"';
}

} // namespace
