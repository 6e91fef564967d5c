// Runs the built vesk-lab as a separate process.
#include "CTableSource.h"
#include "Commands.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
// The bench's node total with the current search. It changes whenever the
// search or the rules behave differently; update it only when that change is
// intended.
const unsigned long long kBenchSignature = 1398121;

struct Outcome
{
    int code = -1;
    std::string out;
    std::string err;
};

std::string TempFile(const std::string& contents)
{
    char path[] = "/tmp/vesk_lab_cliXXXXXX";
    const int fd = mkstemp(path);
    EXPECT_GE(fd, 0);
    close(fd);
    std::ofstream(path) << contents;
    return path;
}

std::string Slurp(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

Outcome RunLabProcess(const std::vector<std::string>& args, const std::string& input = "")
{
    const std::string inPath = TempFile(input);
    const std::string outPath = TempFile("");
    const std::string errPath = TempFile("");
    std::vector<char*> argv;
    std::string program = VESK_LAB_PATH;
    argv.push_back(&program[0]);
    std::vector<std::string> copies(args);
    for (std::string& a : copies)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);

    Outcome outcome;
    const pid_t pid = fork();
    if (pid == 0)
    {
        dup2(open(inPath.c_str(), O_RDONLY), 0);
        dup2(open(outPath.c_str(), O_WRONLY | O_TRUNC), 1);
        dup2(open(errPath.c_str(), O_WRONLY | O_TRUNC), 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid)
        outcome.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    outcome.out = Slurp(outPath);
    outcome.err = Slurp(errPath);
    unlink(inPath.c_str());
    unlink(outPath.c_str());
    unlink(errPath.c_str());
    return outcome;
}

std::vector<std::string> MoveArgs(const std::string& pos, const std::string& depth,
                                  const std::string& noise)
{
    return { "move", "--pos", pos, "--depth", depth, "--noise", noise };
}

const std::regex kMoveOutput("move (pass|[0-4] [0-4])\nnodes [1-9][0-9]*\ndraws [0-9]+\n");
} // namespace

// Exactly three lines, the same every time, for either team to move and at
// every strength's settings.
TEST(LabCli, move_prints_three_lines_reproducibly)
{
    const char* const positions[] = {
        "---/----/-----/----/--- g 0",
        "---/----/--g1--/----/--- s 0",
        "-s1s1/-g1s4-/-s2g5g1-/-s2g1s1/--- s 0",
        "g1g1-/g1g3s3-/-s4s4s3-/-g1s4s1/--g1 g 1",
    };
    const char* const settings[][2] = { { "1", "6" }, { "2", "2" }, { "4", "0" } };
    for (const char* pos : positions)
        for (const auto& s : settings)
        {
            const Outcome first = RunLabProcess(MoveArgs(pos, s[0], s[1]));
            ASSERT_EQ(first.code, 0) << pos << ": " << first.err;
            EXPECT_EQ(first.err, "");
            EXPECT_TRUE(std::regex_match(first.out, kMoveOutput)) << first.out;
            const Outcome second = RunLabProcess(MoveArgs(pos, s[0], s[1]));
            EXPECT_EQ(second.out, first.out) << pos;
        }
}

TEST(LabCli, exit_codes)
{
    Outcome o = RunLabProcess({ "--help" });
    EXPECT_EQ(o.code, 0);
    EXPECT_NE(o.out.find("usage: vesk-lab"), std::string::npos);

    // The process reports what the commands return: one line, exit 2.
    const std::string tooShort = TempFile("1 2 3\n");
    const std::vector<std::vector<std::string>> usage = {
        { "frobnicate" },
        { "move", "--pos", "---/----/--g0--/----/--- g 0", "--depth", "2", "--noise", "0" },
        { "move", "--pos", "---/----/-----/----/--- g 0", "--depth", "2", "--noise", "0", "--table", tooShort },
    };
    for (const auto& args : usage)
    {
        o = RunLabProcess(args);
        EXPECT_EQ(o.code, 2) << (args.empty() ? "(none)" : args[0]);
        EXPECT_EQ(o.out, "");
        EXPECT_TRUE(std::regex_match(o.err, std::regex("vesk-lab: [^\n]+\n"))) << o.err;
    }
    unlink(tooShort.c_str());
}

// A table file is used as the table: the seeded default written to a file
// gives the default's answer, and tables that never or always mirror the
// walk pick the first cell of the plain or the doubly mirrored walk.
TEST(LabCli, table_file_round_trip)
{
    const std::string pos = "---/----/--g1--/----/--- s 0";
    const std::string seeded = TempFile(CTableSource::ToText(CTableSource::FromSeed(CTableSource::kDefaultSeed)));
    const std::string zeros = TempFile(CTableSource::ToText(std::vector<int>(16384, 0)));
    const std::string highs = TempFile(CTableSource::ToText(std::vector<int>(16384, 32767)));

    for (const char* noise : { "0", "3" })
    {
        std::vector<std::string> args = MoveArgs(pos, "3", noise);
        const Outcome plain = RunLabProcess(args);
        args.push_back("--table");
        args.push_back(seeded);
        const Outcome fromFile = RunLabProcess(args);
        ASSERT_EQ(plain.code, 0) << plain.err;
        EXPECT_EQ(fromFile.out, plain.out);
    }

    // Silver holds 19, so no pass: every placement but the one on Gold's
    // cell is worth the same at depth 1, and ties keep the first.
    Outcome o = RunLabProcess({ "move", "--pos", pos, "--depth", "1", "--noise", "0", "--table", zeros });
    EXPECT_EQ(o.out, "move 3 2\nnodes 19\ndraws 2\n") << o.err;
    o = RunLabProcess({ "move", "--pos", pos, "--depth", "1", "--noise", "0", "--table", highs });
    EXPECT_EQ(o.out, "move 1 1\nnodes 19\ndraws 2\n") << o.err;

    unlink(seeded.c_str());
    unlink(zeros.c_str());
    unlink(highs.c_str());
}

// A typed game over a pipe ends cleanly when the input does.
TEST(LabCli, play_over_a_pipe)
{
    const Outcome o = RunLabProcess({ "play", "--depth", "2", "--noise", "2" }, "2 2 1\nnonsense\n");
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_NE(o.out.find("Input ended"), std::string::npos) << o.out;
}

// The bench's node total is the search's signature: any change in how the
// search or the rules behave moves it.
TEST(LabCli, bench_signature)
{
    const Outcome o = RunLabProcess({ "bench" });
    ASSERT_EQ(o.code, 0) << o.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_match(o.out, m, std::regex(
        "positions (\\d+)\nnodes (\\d+)\nms [0-9.]+\nnps \\d+\nslowest-ms [0-9.]+\n"))) << o.out;
    EXPECT_GE(std::stoi(m[1]), 50);
    EXPECT_EQ(std::stoull(m[2]), kBenchSignature);
}
