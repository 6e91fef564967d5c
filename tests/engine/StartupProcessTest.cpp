// The built program as a player starts it, each run under its own virtual X
// server. A failed start says why on one line of standard error and exits 1;
// a normal quit prints nothing and exits 0.

#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

struct Outcome
{
    std::string status;   // the exit status as the shell printed it
    std::string errors;   // standard error
};

// Runs vesk in `dir` under a fresh Xvfb; `then` runs beside it (it has the
// program's pid in $pid) before the status is collected.
Outcome RunVesk(const testfiles::TempDir& dir, const std::string& audioDriver, const std::string& then = "")
{
    testfiles::WriteText(dir.File("run.sh"),
                         "SDL_AUDIODRIVER=" + audioDriver + " timeout 60 '" VESK_EXE "' "
                         "-Fullscreen --fullscreen -fullscreen=1 other 2>stderr &\n"
                         "pid=$!\n" + then + "wait $pid; echo $? >status\n");
    std::system(("cd '" + dir.path + "' && xvfb-run -a -s '-screen 0 1024x768x24' sh run.sh >xvfb.log 2>&1").c_str());
    return Outcome{testfiles::ReadText(dir.File("status")), testfiles::ReadText(dir.File("stderr"))};
}

TEST(StartupProcess, failed_start_prints_one_line_and_exits_1)
{
    struct Case
    {
        int iconSide;   // 0: no icon file
        bool palette;
        const char* driver;
        std::string error;
    } const cases[] = {
        {0, true, "dummy", "vesk: cannot open the window icon \"Vesk.bmp\": "},
        {32, false, "dummy", "vesk: the window icon \"Vesk.bmp\" has 24 bits per pixel and no palette"},
        {16, true, "dummy", "vesk: the window icon \"Vesk.bmp\" is 16 by 16 pixels"},
        {32, true, "no-such-driver", "vesk: no audio device: "},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.error);
        testfiles::TempDir dir;
        if (c.iconSide > 0)
        {
            ASSERT_TRUE(testfiles::WriteIcon(dir.File("Vesk.bmp"), c.iconSide, c.iconSide, c.palette));
        }
        const Outcome o = RunVesk(dir, c.driver);
        EXPECT_EQ(o.status, "1\n");
        EXPECT_EQ(o.errors.rfind(c.error, 0), 0u) << o.errors;
        EXPECT_EQ(o.errors.find('\n'), o.errors.size() - 1) << "not one line: " << o.errors;
    }
}

// A good start (the command line holds only near misses of the option), then
// Escape on the menu: a quiet exit with 0.
TEST(StartupProcess, normal_quit_exits_0_silently)
{
    testfiles::TempDir dir;
    ASSERT_TRUE(testfiles::WriteIcon(dir.File("Vesk.bmp"), 32, 32, true));
    const Outcome o = RunVesk(dir, "dummy",
                              "for i in $(seq 200); do\n"
                              "  xdotool search --name '^Vesk$' >/dev/null 2>&1 && { echo yes >window; break; }\n"
                              "  sleep 0.1\n"
                              "done\n"
                              "sleep 0.5; xdotool key Escape\n");
    EXPECT_EQ(testfiles::ReadText(dir.File("window")), "yes\n") << "no window titled Vesk appeared";
    EXPECT_EQ(o.status, "0\n");
    EXPECT_EQ(o.errors, "");
}

} // namespace
