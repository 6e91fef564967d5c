// Runs the built vesk-lab as a separate process.
#include "CTableSource.h"
#include "Notation.h"
#include "opponent/CRandomTable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
// The bench's node total and tree signature: update them only when a change
// in how the search or the rules behave is intended.
const unsigned long long kBenchNodes = 1827463;
const char* const kBenchSignature = "aea37e641283d49a";

struct Outcome { int code; std::string out, err; };

std::string TempFile(const std::string& contents)
{
    char path[] = "/tmp/vesk_lab_cliXXXXXX";
    close(mkstemp(path));
    std::ofstream(path) << contents;
    return path;
}

std::string Slurp(const std::string& path)
{
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    unlink(path.c_str());
    return text.str();
}

Outcome Spawn(const std::vector<std::string>& args)
{
    const std::string out = TempFile(""), err = TempFile("");
    std::string command = VESK_LAB_PATH;
    for (const std::string& a : args)
        command += " '" + a + "'";
    const int status = std::system((command + " </dev/null >" + out + " 2>" + err).c_str());
    return { WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err) };
}

// The table vesk-lab fills from a seed, as a table file holds it.
std::vector<int> SeededTable(unsigned seed)
{
    CRandomTable* table = CRandomTable::GetInstance();
    table->FillFromSeed(seed);
    std::vector<int> values(CRandomTable::kSize);
    for (uint32_t i = 1; i <= CRandomTable::kSize; ++i)   // the ring hands out element 1 first
        values[i % CRandomTable::kSize] = table->Next();
    return values;
}

std::vector<std::string> Move(const std::string& pos, const char* depth, const char* noise)
{
    return { "move", "--pos", pos, "--depth", depth, "--noise", noise };
}
} // namespace

// Exactly three lines, the same every time, for either team to move and at
// the weakest and strongest settings.
TEST(LabCli, move_prints_three_lines_reproducibly)
{
    for (const char* pos : { "---/----/-----/----/--- g 0", "-s1s1/-g1s4-/-s2g5g1-/-s2g1s1/--- s 0" })
        for (const auto& s : { std::make_pair("1", "6"), std::make_pair("4", "0") })
        {
            const Outcome first = Spawn(Move(pos, s.first, s.second));
            ASSERT_EQ(first.code, 0) << pos << ": " << first.err;
            EXPECT_EQ(first.err, "");
            EXPECT_TRUE(std::regex_match(first.out, std::regex("move (pass|[0-4] [0-4])\nnodes [1-9][0-9]*\ndraws [0-9]+\n")))
                << first.out;
            EXPECT_EQ(Spawn(Move(pos, s.first, s.second)).out, first.out) << pos;
        }
}

// --help and --version succeed; usage faults exit 2 with one line on
// standard error.
TEST(LabCli, exit_codes)
{
    const Outcome help = Spawn({ "--help" });
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("usage: vesk-lab"), std::string::npos);
    const Outcome version = Spawn({ "--version" });
    EXPECT_TRUE(version.code == 0 && std::regex_match(version.out, std::regex("vesk-lab [0-9]+(\\.[0-9]+)*\n")))
        << version.out;

    const std::string tooShort = TempFile("1 2 3\n");
    std::vector<std::string> badTable = Move(CNotation::kStart, "2", "0");
    badTable.insert(badTable.end(), { "--table", tooShort });
    for (const auto& args : { std::vector<std::string>{ "frobnicate" }, Move("---/----/--g0--/----/--- g 0", "2", "0"), badTable })
    {
        const Outcome o = Spawn(args);
        EXPECT_EQ(o.code, 2) << args[0];
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
    const std::string seeded = TempFile(CTableSource::ToText(SeededTable(1)));
    for (const char* noise : { "0", "3" })
    {
        std::vector<std::string> args = Move(pos, "3", noise);
        const Outcome plain = Spawn(args);
        args.insert(args.end(), { "--table", seeded });
        ASSERT_EQ(plain.code, 0) << plain.err;
        EXPECT_EQ(Spawn(args).out, plain.out);
    }
    unlink(seeded.c_str());

    // Silver holds 19, so no pass: every placement but the one on Gold's
    // cell is worth the same at depth 1, and ties keep the first.
    for (const auto& c : { std::make_pair(0, "move 3 2\n"), std::make_pair(32767, "move 1 1\n") })
    {
        const std::string table = TempFile(CTableSource::ToText(std::vector<int>(16384, c.first)));
        std::vector<std::string> args = Move(pos, "1", "0");
        args.insert(args.end(), { "--table", table });
        EXPECT_EQ(Spawn(args).out, std::string(c.second) + "nodes 19\ndraws 2\n");
        unlink(table.c_str());
    }
}

TEST(LabCli, bench_signature)
{
    const Outcome o = Spawn({ "bench" });
    ASSERT_EQ(o.code, 0) << o.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_match(o.out, m, std::regex(
        "positions (\\d+)\nnodes (\\d+)\nms [0-9.]+\nnps \\d+\nslowest-ms [0-9.]+\nsignature ([0-9a-f]{16})\n"))) << o.out;
    EXPECT_GE(std::stoi(m[1]), 50);
    EXPECT_EQ(std::stoull(m[2]), kBenchNodes);
    EXPECT_EQ(m[3], kBenchSignature);
}
