#include "Notation.h"
#include "TestGames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

// Usage faults of every command and option kind: exit 2, one line on
// standard error naming the problem, nothing on standard output.
TEST(LabCommands, usage_errors_exit_2_with_one_line)
{
    const std::string start = CNotation::kStart;
    struct Case { std::vector<std::string> args; const char* says; };
    const Case cases[] = {
        { {}, "no command" },
        { { "moves" }, "unknown command 'moves'" },
        { { "move", "--depth", "2", "--noise", "0" }, "missing option --pos" },
        { { "move", "--pos", start, "--depth", "0", "--noise", "0" }, "--depth must be" },
        { { "move", "--pos", start, "--depth", "4x", "--noise", "0" }, "--depth must be" },
        { { "move", "--pos", start, "--depth", "2", "--noise", "99999999999999999999" }, "--noise must be" },
        { { "move", "--pos", start, "--depth", "2", "--depth", "2", "--noise", "0" }, "--depth given twice" },
        { { "move", "--pos", start, "--depth", "2", "--noise", "0", "--seed", "3" }, "unknown option '--seed'" },
        { { "move", "--pos", "---/----/-----/----/--- g 2", "--depth", "2", "--noise", "0" }, "over" },
        { { "move", "--pos", start, "--depth", "2", "--noise", "0", "--table", "/nonexistent/t" }, "cannot open" },
        { { "play", "--depth", "2", "--noise", "0", "--side", "red" }, "--side must be gold or silver" },
        { { "play", "--depth", "2", "--noise", "0", "--seed", "1", "--table", "x" }, "not both" },
        { { "match", "--gold", "medium", "--silver", "easy", "--games", "2" }, "--gold must be" },
        { { "match", "--gold", "easy", "--silver", "easy", "--games", "0", "--check=yes" }, "takes no value" },
        { { "bench", "extra" }, "unexpected argument" },
    };
    for (const Case& c : cases)
    {
        const LabOutcome o = Lab(c.args);
        const std::string shown = c.args.empty() ? "(none)" : c.args.back();
        EXPECT_EQ(o.code, kExitUsage) << shown;
        EXPECT_EQ(o.out, "") << shown;
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << shown << " -> " << o.err;
        EXPECT_NE(o.err.find(c.says), std::string::npos) << shown << " -> " << o.err;
    }
    for (const char* command : { "move", "match" })
        EXPECT_NE(Lab({ command, "--help" }).out.find("usage: vesk-lab"), std::string::npos);
}

// A typed game: refusals explain themselves and ask again; a legal placement
// shows on the board and Silver answers; the end of input ends cleanly.
TEST(LabCommands, play_refuses_bad_input_and_stops_at_end_of_input)
{
    const LabOutcome o = Lab({ "play", "--depth", "1", "--noise", "0" },
                             "hello\n7 0 1\n0 3 1\n2 2 20\n2 2 3\n");
    EXPECT_EQ(o.code, kExitOk) << o.err;
    for (const char* says : { "Type three numbers", "There is no row 7", "Row 0 has columns 0 to 2",
                              "You cannot add 20 tokens there: you have 19 in hand", "Input ended" })
        EXPECT_NE(o.out.find(says), std::string::npos) << says;
    const size_t placed = o.out.find("position: ---/----/--g3--/----/--- s 0");
    ASSERT_NE(placed, std::string::npos) << o.out;
    EXPECT_NE(o.out.find("Silver places on", placed), std::string::npos);

    // With nothing in hand the player passes unasked, and Silver's pass ends it.
    const LabOutcome end = Lab({ "play", "--depth", "1", "--noise", "0", "--pos", "g19--/----/--s1--/----/--- g 0" });
    EXPECT_NE(end.out.find("no tokens in hand, so you pass"), std::string::npos);
    EXPECT_NE(end.out.find("Game over: "), std::string::npos) << end.out;
}

// A checked match adds up, is decided by its seed, and its trace replays
// move by move through the rules to the same positions.
TEST(LabCommands, match_check_counts_and_trace_replays)
{
    const std::vector<std::string> args = { "match", "--gold", "very-easy", "--silver", "normal",
                                            "--games", "3", "--seed", "40", "--check", "--trace" };
    const LabOutcome o = Lab(args);
    ASSERT_EQ(o.code, kExitOk) << o.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(o.out, m, std::regex(
        "games 3\ngold very-easy: wins (\\d+), losses (\\d+), ties (\\d+)\n"
        "silver normal: wins (\\d+), losses (\\d+), ties (\\d+)\n"
        "gold score [0-9.]+ % \\(95 % interval [0-9.]+ % to [0-9.]+ %\\)\n"
        "checked (\\d+) moves: every invariant held\n$"))) << o.out;
    EXPECT_EQ(std::stoi(m[1]) + std::stoi(m[2]) + std::stoi(m[3]), 3);
    EXPECT_TRUE(m[1] == m[5] && m[2] == m[4] && m[3] == m[6]);
    const int checked = std::stoi(m[7]);
    EXPECT_EQ(Lab(args).out, o.out);

    std::istringstream lines(o.out);
    std::string line;
    CGameState state(3, 2);
    int lastGame = 0, traced = 0, finished = 0;
    const std::regex traceLine("game (\\d+) move (\\d+) (gold|silver) (pass|(\\d) (\\d)) -> (.*)");
    while (std::getline(lines, line))
    {
        if (!std::regex_match(line, m, traceLine))
            continue;
        if (std::stoi(m[1]) != lastGame)
        {
            EXPECT_TRUE(lastGame == 0 || state.IsGameDone());
            state = CGameState(3, 2);
            lastGame = std::stoi(m[1]);
        }
        EXPECT_EQ(m[3] == "gold" ? 0 : 1, state.GetCurTeam());
        if (m[4] == "pass")
            state.Pass();
        else
        {
            const uint32_t row = std::stoul(m[5]), col = std::stoul(m[6]);
            const uint8_t tokens = static_cast<uint8_t>(state.GetCellTokens(row, col) + 1);
            ASSERT_TRUE(state.IsMoveLegal(row, col, tokens)) << line;
            state.MakeMove(row, col, tokens);
        }
        EXPECT_EQ(CNotation::Format(state), m[7].str());
        finished += state.IsGameDone();
        ++traced;
    }
    EXPECT_TRUE(lastGame == 3 && finished == 3 && traced > 6);
    EXPECT_EQ(traced, checked);
}
