#include "Commands.h"
#include "Notation.h"
#include "game/CGameState.h"
#include "opponent/CRandomTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace
{
struct Outcome { int code; std::string out, err; };

// vesk-lab's commands, run in process.
Outcome Lab(const std::vector<std::string>& args, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = RunLab(args, in, out, err);
    return { code, out.str(), err.str() };
}

std::string TempFile(const std::string& text)
{
    char path[] = "/tmp/vesk-lab-test-XXXXXX";
    close(mkstemp(path));
    std::ofstream(path) << text;
    return path;
}

// A table file's text, eight values to a line.
std::string TableText(const std::vector<int>& values)
{
    std::string text;
    for (size_t i = 0; i < values.size(); ++i)
        text += std::to_string(values[i]) + (i % 8 == 7 || i + 1 == values.size() ? "\n" : " ");
    return text;
}

std::vector<std::string> Move(const std::string& pos, const char* depth = "1", const char* noise = "0")
{
    return { "move", "--pos", pos, "--depth", depth, "--noise", noise };
}
} // namespace

// Each command's exact answer, or exit 2 with one line on standard error
// naming the fault and nothing on standard output. A table text goes to the
// file named by --table; no answer there means "as without the file".
TEST(Lab, commands_answer_exactly_or_refuse_with_one_line)
{
    CRandomTable::GetInstance()->FillFromSeed(kDefaultSeed);   // the default table, as a file holds it
    std::vector<int> seeded(CRandomTable::kSize);
    for (uint32_t i = 1; i <= CRandomTable::kSize; ++i)
        seeded[i % CRandomTable::kSize] = CRandomTable::GetInstance()->Next();
    const std::string start = CNotation::kStart, gold = "---/----/--g1--/----/--- s 0";
    const std::string fives = TableText(std::vector<int>(CRandomTable::kSize - 1, 5));
    struct Case { std::vector<std::string> args; std::string table; int code; const char* says; };
    const Case cases[] = {
        // Nothing in hand: the pass alone. At depth 1 placing only costs,
        // unless it makes a triangle. Stocks follow from the board.
        { Move(" s19--/----/--g1--/----/--g1\ts   0 "), "", 0, "move pass\nnodes 1\ndraws 2\n" },
        { Move("s1--/----/--g1--/----/--g1 s 0"), "", 0, "move pass\nnodes 20\ndraws 2\n" },
        { Move("s1s1-/----/--g1--/----/g1-g1 s 0"), "", 0, "move 1 1\nnodes 20\ndraws 2\n" },
        // Silver holds 19, so no pass, and every placement but on Gold's cell
        // is worth the same: the first of the plain or doubly mirrored walk.
        { Move(gold), TableText(std::vector<int>(CRandomTable::kSize, 0)), 0, "move 3 2\nnodes 19\ndraws 2\n" },
        { Move(gold), TableText(std::vector<int>(CRandomTable::kSize, 32767)), 0, "move 1 1\nnodes 19\ndraws 2\n" },
        { Move(gold, "3", "0"), "\n" + TableText(seeded) + "\t\r\n", 0, nullptr },
        { Move(gold, "3", "3"), TableText(seeded), 0, nullptr },
        { { "match", "--help" }, "", 0, kUsage.c_str() },
        { {}, "", 2, "no command" },
        { { "moves" }, "", 2, "unknown command 'moves'" },
        { { "move", "--depth", "2", "--noise", "0" }, "", 2, "missing option --pos" },
        { Move(start, "99999999999999999999"), "", 2, "--depth must be" },
        { { "move", "--pos", start, "--depth", "2", "--noise", "0", "--seed", "3" }, "", 2, "unknown option '--seed'" },
        { Move("---/----/-----/----/--- g 2"), "", 2, "over" },
        { { "play", "--depth", "2", "--noise", "0", "--side", "red" }, "", 2, "--side must be gold or silver" },
        { { "play", "--depth", "2", "--noise", "0", "--seed", "1", "--table", "x" }, "", 2, "not both" },
        { { "match", "--gold", "medium", "--silver", "easy", "--games", "2" }, "", 2, "--gold must be" },
        { { "bench", "extra" }, "", 2, "unexpected argument" },
        { { "match", "--gold", "easy", "--silver", "easy", "--games", "0", "--check=yes" }, "", 2, "takes no value" },
        { Move(start), fives, 2, "expected 16384 values, found 16383" },
        { Move(start), fives + "\n\n12a", 2, "value 16384 (line 2051) is not a whole number: '12a'" },
        { Move(start), std::string(40, '7') + "\n" + fives, 2, "value 1 (line 1) is outside 0..32767: '77777777777777777777...'" },
        { Move("--/----/-----/----/--- g 0"), "", 2, "row 0 has 2 cells, expected 3" },
        { Move("g10g10-/----/-----/----/--- s 0"), "", 2, "Gold has 20 tokens" },
        { Move("---/----/--x--/----/--- g 0"), "", 2, "unknown cell 'x'" },
        { Move("g0--/----/-g20---/----/--- s 0"), "", 2, "row 0, column 0: unknown cell 'g0'" },
        { Move("---/----/-g20---/----/--- s 0"), "", 2, "row 2, column 1: unknown cell 'g20'" },
        { Move("---/----/-----/----/--- q 3"), "", 2, "the team to move is 'g' or 's', got 'q'" },
        { Move("---/----/-----/----/--- g 3"), "", 2, "the passes in a row are 0, 1 or 2, got '3'" },
        { Move("---/----/-----/----/--- s 0"), "", 2, "no game reaches" },   // Silver first
        { Move("g1--/----/-----/----/--- g 0"), "", 2, "no game reaches" },  // Gold placed last
    };
    for (const Case& c : cases)
    {
        std::vector<std::string> args = c.args;
        const std::string table = c.table.empty() ? "" : TempFile(c.table);
        if (!table.empty())
            args.insert(args.end(), { "--table", table });
        const Outcome o = Lab(args);
        unlink(table.c_str());
        SCOPED_TRACE(args.size() > 2 ? args[2] : args.empty() ? "" : args[0]);
        EXPECT_EQ(o.code, c.code) << o.err;
        if (c.code == 0)
        {
            EXPECT_EQ(o.out + o.err, c.says ? c.says : Lab(c.args).out);
            continue;
        }
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
        EXPECT_NE(o.err.find(c.says), std::string::npos) << o.err;
    }
}

// A typed game: refusals explain and ask again, a placement is shown and
// answered, the end of input ends it; with nothing in hand the player passes.
TEST(Lab, play_refuses_bad_input_and_stops_at_end_of_input)
{
    const std::string out = Lab({ "play", "--depth", "1", "--noise", "0" }, "hello\n7 0 1\n0 3 1\n2 2 20\n2 2 3\n").out
                          + Lab({ "play", "--depth", "1", "--noise", "0", "--pos", "g19--/----/--s1--/----/--- g 0" }).out;
    size_t at = 0;
    for (const char* says : { "Type three numbers", "There is no row 7", "Row 0 has columns 0 to 2",
                              "You cannot add 20 tokens there: you have 19 in hand", "position: ---/----/--g3--/----/--- s 0",
                              "Silver places on", "Input ended", "no tokens in hand, so you pass", "Game over: " })
        EXPECT_NE(at = out.find(says, at), std::string::npos) << says << " in " << out;
}

// A checked match is decided by its seed and adds up; its trace has a line
// for each move checked, and each game ends in a finished position.
TEST(Lab, match_is_decided_by_its_seed_and_adds_up)
{
    const std::vector<std::string> args = { "match", "--gold", "very-easy", "--silver", "normal",
                                            "--games", "3", "--seed", "40", "--check", "--trace" };
    const Outcome o = Lab(args);
    std::smatch m;
    ASSERT_EQ(o.code, kExitOk) << o.err;
    EXPECT_EQ(o.out, Lab(args).out);
    ASSERT_TRUE(std::regex_search(o.out, m, std::regex(
        "\ngames 3\ngold very-easy: wins (\\d+), losses (\\d+), ties (\\d+)\nsilver normal: wins \\2, losses \\1, ties \\3\n"
        "gold score [0-9.]+ % \\(95 % interval [0-9.]+ % to [0-9.]+ %\\)\nchecked (\\d+) moves: every invariant held\n$")))
        << o.out;
    EXPECT_EQ(std::stoi(m[1]) + std::stoi(m[2]) + std::stoi(m[3]), 3);
    const std::regex move("game (\\d) move \\d+ (gold|silver) (pass|\\d \\d) -> (.*)");
    int traced = 0, ended = 0;
    for (std::sregex_iterator line(o.out.begin(), o.out.end(), move), end; line != end; ++line, ++traced) {
        CGameState after(3, 2);
        std::string error;
        EXPECT_TRUE(CNotation::ParseState((*line)[4], after, error)) << error;   // a position the rules reach
        ended += after.IsGameDone();
    }
    EXPECT_EQ(traced, std::stoi(m[4]));
    EXPECT_EQ(ended, 3);
}

// The bench's node total and tree signature: update them only when a change
// in how the search or the rules behave is intended.
TEST(Lab, bench_nodes_and_signature)
{
    const Outcome o = Lab({ "bench" });
    EXPECT_EQ(o.code, kExitOk) << o.err;
    EXPECT_TRUE(std::regex_match(o.out, std::regex(
        "positions 64\nnodes 1827463\nms [0-9.]+\nnps \\d+\nslowest-ms [0-9.]+\nsignature aea37e641283d49a\n"))) << o.out;
}

// Only the real program shows its exit status and that what it printed on
// either stream got out.
TEST(Lab, the_program_exits_with_its_status_and_flushes)
{
    const std::string lab = VESK_LAB_PATH, out = TempFile("");
    ASSERT_EQ(std::system(("(" + lab + " --version && " + lab + " frob; echo exit $?) >" + out + " 2>&1").c_str()), 0);
    std::stringstream text;
    text << std::ifstream(out).rdbuf();
    unlink(out.c_str());
    EXPECT_EQ(text.str(), "vesk-lab " VESK_VERSION "\nvesk-lab: unknown command 'frob' (try 'vesk-lab --help')\nexit 2\n");
}
