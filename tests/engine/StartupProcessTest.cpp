// The built program as a player starts it: each run gets its own virtual X
// server. A failed start says why on one line of standard error and exits 1;
// a normal quit prints nothing and exits 0.

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

using testfiles::TempDir;

namespace {

struct Outcome
{
    int status = -1;         // the program's exit status; 124 if it had to be stopped
    std::string errors;      // what it wrote on standard error
};

// Runs `script` (sh) in `dir` under a fresh Xvfb. The script starts the
// program as "$VESK" and leaves its status in ./status and its standard
// error in ./stderr.
Outcome RunInXvfb(const TempDir& dir, const std::string& script)
{
    Outcome outcome;
    if (!testfiles::WriteText(dir.File("run.sh"), script))
        return outcome;
    const std::string command = "cd '" + dir.Path() + "' && VESK='" VESK_EXE "' "
                                "xvfb-run -a -s '-screen 0 1024x768x24' sh ./run.sh "
                                ">xvfb.log 2>&1";
    const int rc = std::system(command.c_str());
    if (rc == -1 || !WIFEXITED(rc))
        return outcome;
    const std::string status = testfiles::ReadText(dir.File("status"));
    if (!status.empty())
        outcome.status = std::atoi(status.c_str());
    outcome.errors = testfiles::ReadText(dir.File("stderr"));
    return outcome;
}

// Starts and ends at once: every case here fails before the loop.
const char* const kStartOnly =
    "timeout 30 \"$VESK\" 2>stderr; echo $? >status\n";

void ExpectOneErrorLine(const Outcome& o, const std::string& start)
{
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.errors.rfind("vesk: " + start, 0), 0u) << o.errors;
    ASSERT_FALSE(o.errors.empty());
    EXPECT_EQ(o.errors.back(), '\n');
    EXPECT_EQ(o.errors.find('\n'), o.errors.size() - 1) << "more than one line: " << o.errors;
}

TEST(StartupProcess, bad_icon_reports_and_exits_1)
{
    {
        SCOPED_TRACE("missing");
        TempDir dir;
        ExpectOneErrorLine(RunInXvfb(dir, std::string("export SDL_AUDIODRIVER=dummy\n") + kStartOnly),
                           "cannot open the window icon \"Vesk.bmp\": ");
    }
    {
        SCOPED_TRACE("true colour");
        TempDir dir;
        ASSERT_TRUE(testfiles::WriteTrueColorBmp(dir.File("Vesk.bmp"), 32, 32));
        ExpectOneErrorLine(RunInXvfb(dir, std::string("export SDL_AUDIODRIVER=dummy\n") + kStartOnly),
                           "the window icon \"Vesk.bmp\" has 24 bits per pixel and no palette");
    }
    {
        SCOPED_TRACE("16 by 16");
        TempDir dir;
        ASSERT_TRUE(testfiles::WritePaletteIcon(dir.File("Vesk.bmp"), 16, 16, 3));
        ExpectOneErrorLine(RunInXvfb(dir, std::string("export SDL_AUDIODRIVER=dummy\n") + kStartOnly),
                           "the window icon \"Vesk.bmp\" is 16 by 16 pixels");
    }
}

TEST(StartupProcess, no_audio_device_reports_and_exits_1)
{
    TempDir dir;
    ASSERT_TRUE(testfiles::WritePaletteIcon(dir.File("Vesk.bmp"), 32, 32, 3));
    ExpectOneErrorLine(RunInXvfb(dir, std::string("export SDL_AUDIODRIVER=no-such-driver\n") + kStartOnly),
                       "no audio device: ");
}

// A good start, then Escape on the menu: the program quits quietly with 0,
// whatever else is on its command line.
TEST(StartupProcess, normal_quit_exits_0_silently)
{
    TempDir dir;
    ASSERT_TRUE(testfiles::WritePaletteIcon(dir.File("Vesk.bmp"), 32, 32, 3));
    const Outcome o = RunInXvfb(dir,
        "export SDL_AUDIODRIVER=dummy\n"
        "timeout 60 \"$VESK\" -Fullscreen --fullscreen -fullscreen=1 other 2>stderr &\n"
        "pid=$!\n"
        "for i in $(seq 200); do\n"
        "  xdotool search --name '^Vesk$' >/dev/null 2>&1 && { echo yes >window; break; }\n"
        "  sleep 0.1\n"
        "done\n"
        "sleep 0.5\n"
        "xdotool key Escape\n"
        "wait $pid; echo $? >status\n");
    EXPECT_EQ(testfiles::ReadText(dir.File("window")), "yes\n") << "no window titled Vesk appeared";
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.errors, "");
}

} // namespace
