// The one command-line option.

#include "engine/CEngineSettings.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool Fullscreen(std::vector<const char*> args, int count = -1)
{
    CEngineSettings s = CEngineSettings::DefaultSettings();
    s.ScanCommandLine(count < 0 ? int(args.size()) : count, args.data());
    EXPECT_EQ(s.m_Width, 1024);   // nothing else changes
    return s.m_Fullscreen;
}

// "-fullscreen" counts wherever it stands, also repeated; only the exact word
// matches, and the count bounds the scan.
TEST(StartupSettings, fullscreen_option)
{
    EXPECT_FALSE(CEngineSettings::DefaultSettings().m_Fullscreen);
    EXPECT_TRUE(Fullscreen({"-fullscreen"}));
    EXPECT_TRUE(Fullscreen({"./vesk", "a", "-fullscreen", "-fullscreen"}));
    EXPECT_FALSE(Fullscreen({"./vesk", "-fullscreen"}, 1));
    for (const char* arg : {"-Fullscreen", "--fullscreen", "-fullscreen ", "-fullscree", ""})
        EXPECT_FALSE(Fullscreen({"./vesk", arg})) << '"' << arg << '"';
}

} // namespace
