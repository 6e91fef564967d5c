// The built program as a player starts it, each run under its own virtual X
// server: a failed start prints one line on standard error and exits 1; a
// normal quit prints nothing and exits 0.

#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

// Runs vesk in `dir` under a fresh Xvfb; `then` runs beside it (its pid in
// $pid). Returns the exit status as the shell printed it; stderr goes to a file.
std::string RunVesk(const testfiles::TempDir& dir, const std::string& audioDriver, const std::string& then = "")
{
    std::ofstream(dir.File("run.sh")) << "SDL_AUDIODRIVER=" + audioDriver + " timeout 60 '" VESK_EXE "' "
                                         "-Fullscreen other 2>stderr &\npid=$!\n" + then + "wait $pid; echo $? >status\n";
    std::system(("cd '" + dir.path + "' && '" VESK_WITH_XVFB "' sh run.sh >xvfb.log 2>&1").c_str());
    return testfiles::ReadText(dir.File("status"));
}

TEST(StartupProcess, failed_start_prints_one_line_and_exits_1)
{
    struct Case { int iconSide; bool palette; const char* driver; std::string error; } const cases[] = {
        {0, true, "dummy", "vesk: cannot open the window icon \"Vesk.bmp\": "},
        {32, false, "dummy", "vesk: the window icon \"Vesk.bmp\" has 24 bits per pixel and no palette"},
        {16, true, "dummy", "vesk: the window icon \"Vesk.bmp\" is 16 by 16 pixels"},
        {32, true, "no-such-driver", "vesk: no audio device: "},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.error);
        testfiles::TempDir dir;
        if (c.iconSide > 0) {
            ASSERT_TRUE(testfiles::WriteIcon(dir.File("Vesk.bmp"), c.iconSide, c.iconSide, c.palette));
        }
        EXPECT_EQ(RunVesk(dir, c.driver), "1\n");
        const std::string errors = testfiles::ReadText(dir.File("stderr"));
        EXPECT_EQ(errors.rfind(c.error, 0), 0u) << errors;
        EXPECT_EQ(errors.find('\n'), errors.size() - 1) << "not one line: " << errors;
    }
}

// A good start, then Escape on the menu: a quiet exit with 0.
TEST(StartupProcess, normal_quit_exits_0_silently)
{
    testfiles::TempDir dir;
    ASSERT_TRUE(testfiles::WriteIcon(dir.File("Vesk.bmp"), 32, 32, true));
    const std::string status = RunVesk(dir, "dummy",
                                       "for i in $(seq 200); do\n"
                                       "  xdotool search --name '^Vesk$' >/dev/null 2>&1 && { echo yes >window; break; }\n"
                                       "  sleep 0.1\ndone\nsleep 0.5; xdotool key Escape\n");
    EXPECT_EQ(testfiles::ReadText(dir.File("window")), "yes\n") << "no window titled Vesk appeared";
    EXPECT_EQ(status, "0\n");
    EXPECT_EQ(testfiles::ReadText(dir.File("stderr")), "");
}

} // namespace
