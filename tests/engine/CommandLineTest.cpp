// The start-up settings and the one command-line option.

#include "engine/CEngineSettings.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool FullscreenAfterScan(std::vector<const char*> args)
{
    CEngineSettings settings = CEngineSettings::DefaultSettings();
    settings.ScanCommandLine(int(args.size()), args.data());
    return settings.m_Fullscreen;
}

// The program's fixed values, and a record the engine starts from that holds none.
TEST(StartupSettings, defaults_are_the_program_values)
{
    const CEngineSettings s = CEngineSettings::DefaultSettings();
    EXPECT_EQ(s.m_Width, 1024);
    EXPECT_EQ(s.m_Height, 768);
    EXPECT_EQ(s.m_BitsPerPixel, 32);
    EXPECT_FALSE(s.m_Fullscreen);
    EXPECT_EQ(s.m_IconFile, "Vesk.bmp");
    EXPECT_EQ(s.m_Caption, "Vesk");

    const CEngineSettings blank;
    EXPECT_EQ(blank.m_Width, 0);
    EXPECT_EQ(blank.m_Height, 0);
    EXPECT_EQ(blank.m_BitsPerPixel, 0);
    EXPECT_TRUE(blank.m_IconFile.empty());
    EXPECT_TRUE(blank.m_Caption.empty());
}

// "-fullscreen" counts wherever it stands, the program's own path included,
// and several times mean the same as once.
TEST(StartupSettings, fullscreen_option_anywhere)
{
    EXPECT_FALSE(FullscreenAfterScan({}));
    EXPECT_FALSE(FullscreenAfterScan({"./vesk"}));
    EXPECT_TRUE(FullscreenAfterScan({"./vesk", "-fullscreen"}));
    EXPECT_TRUE(FullscreenAfterScan({"-fullscreen"}));
    EXPECT_TRUE(FullscreenAfterScan({"./vesk", "-fullscreen", "extra", "-x"}));
    EXPECT_TRUE(FullscreenAfterScan({"./vesk", "a", "b", "-fullscreen"}));
    EXPECT_TRUE(FullscreenAfterScan({"./vesk", "-fullscreen", "-fullscreen", "-fullscreen"}));
}

// Only the exact, case-sensitive word matches; near misses are ignored and
// leave the other settings alone.
TEST(StartupSettings, near_misses_are_ignored)
{
    for (const char* arg : {"-Fullscreen", "-FULLSCREEN", "--fullscreen", "-fullscreen=1",
                            "-fullscreen ", " -fullscreen", "-fullscree", "fullscreen",
                            "-fullscreenx", "", "-"})
    {
        SCOPED_TRACE(arg);
        CEngineSettings settings = CEngineSettings::DefaultSettings();
        const char* args[] = {"./vesk", arg};
        settings.ScanCommandLine(2, args);
        EXPECT_FALSE(settings.m_Fullscreen);
        EXPECT_EQ(settings.m_Width, 1024);
        EXPECT_EQ(settings.m_Height, 768);
        EXPECT_EQ(settings.m_IconFile, "Vesk.bmp");
    }
    // The count bounds the scan: an option past it is not an argument.
    const char* args[] = {"./vesk", "-fullscreen"};
    CEngineSettings settings = CEngineSettings::DefaultSettings();
    settings.ScanCommandLine(1, args);
    EXPECT_FALSE(settings.m_Fullscreen);
    // A scan never clears an option set before it.
    settings.m_Fullscreen = true;
    settings.ScanCommandLine(1, args);
    EXPECT_TRUE(settings.m_Fullscreen);
}

} // namespace
