#include "Commands.h"
#include "Notation.h"
#include "game/CGameState.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

namespace
{
struct Outcome
{
    int code;
    std::string out;
    std::string err;
};

Outcome Lab(const std::vector<std::string>& args, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = RunLab(args, in, out, err);
    return { code, out.str(), err.str() };
}

int CountLines(const std::string& text)
{
    int n = 0;
    for (char ch : text)
        n += ch == '\n';
    return n;
}
} // namespace

// Every usage fault of every command: exit 2, one line on standard error
// that names the problem, nothing on standard output.
TEST(LabCommands, usage_errors)
{
    const std::string start = CNotation::kStart;
    struct Case { std::vector<std::string> args; const char* says; };
    const Case cases[] = {
        { {}, "no command" },
        { { "moves" }, "unknown command 'moves'" },
        { { "move", "--depth", "2", "--noise", "0" }, "missing option --pos" },
        { { "move", "--pos", start, "--depth", "2" }, "missing option --noise" },
        { { "move", "--pos", start, "--depth", "0", "--noise", "0" }, "--depth must be" },
        { { "move", "--pos", start, "--depth", "2", "--noise", "-1" }, "--noise must be" },
        { { "move", "--pos", start, "--depth", "2", "--noise", "two" }, "--noise must be" },
        { { "move", "--pos", start, "--depth", "2", "--noise", "0", "--seed", "3" }, "unknown option '--seed'" },
        { { "move", "--pos", "---/--- g 0", "--depth", "2", "--noise", "0" }, "bad position" },
        { { "move", "--pos", "---/----/-----/----/--- g 2", "--depth", "2", "--noise", "0" }, "over" },
        { { "move", "--pos", start, "--depth", "2", "--noise", "0", "--table", "/nonexistent/t" }, "cannot open" },
        { { "play", "--depth", "2" }, "missing option --noise" },
        { { "play", "--depth", "2", "--noise", "0", "--side", "red" }, "--side must be gold or silver" },
        { { "play", "--depth", "2", "--noise", "0", "--seed", "1", "--table", "x" }, "not both" },
        { { "play", "--depth", "2", "--noise", "0", "--pos", "x" }, "bad position" },
        { { "match", "--silver", "easy", "--games", "2" }, "missing option --gold" },
        { { "match", "--gold", "medium", "--silver", "easy", "--games", "2" }, "--gold must be" },
        { { "match", "--gold", "easy", "--silver", "Hard", "--games", "2" }, "--silver must be" },
        { { "match", "--gold", "easy", "--silver", "easy", "--games", "0" }, "--games must be" },
        { { "match", "--gold", "easy", "--silver", "easy", "--games", "1", "--seed", "-1" }, "--seed must be" },
        { { "bench", "--depth", "9" }, "--depth must be" },
        { { "bench", "extra" }, "unexpected argument" },
    };
    for (const Case& c : cases)
    {
        const Outcome o = Lab(c.args);
        std::string shown;
        for (const std::string& a : c.args)
            shown += a + " ";
        EXPECT_EQ(o.code, kExitUsage) << shown;
        EXPECT_EQ(o.out, "") << shown;
        EXPECT_EQ(CountLines(o.err), 1) << shown << "-> " << o.err;
        EXPECT_NE(o.err.find(c.says), std::string::npos) << shown << "-> " << o.err;
    }
}

// --help anywhere prints the usage and succeeds.
TEST(LabCommands, help)
{
    for (const auto& args : std::vector<std::vector<std::string>>{
             { "--help" }, { "move", "--help" }, { "play", "--help" }, { "match", "--help" },
             { "bench", "--help" } })
    {
        const Outcome o = Lab(args);
        EXPECT_EQ(o.code, kExitOk);
        EXPECT_NE(o.out.find("usage: vesk-lab"), std::string::npos);
        EXPECT_EQ(o.err, "");
    }
}

// move prints exactly three lines, and the move is legal in the position.
TEST(LabCommands, move_output)
{
    const std::string pos = "-g1-/-s2s1-/--g1--/----/--- g 0";
    const Outcome o = Lab({ "move", "--pos", pos, "--depth", "2", "--noise", "2" });
    ASSERT_EQ(o.code, kExitOk) << o.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_match(o.out, m, std::regex("move (pass|([0-4]) ([0-4]))\nnodes [1-9][0-9]*\ndraws [1-9][0-9]*\n")))
        << o.out;
    CGameState state(3, 2);
    std::string error;
    ASSERT_TRUE(CNotation::ParseState(pos, state, error));
    if (m[1] != "pass")
    {
        const uint32_t row = std::stoul(m[2]), col = std::stoul(m[3]);
        EXPECT_TRUE(state.IsMoveLegal(row, col, static_cast<uint8_t>(state.GetCellTokens(row, col) + 1)));
    }
    // The same input gives the same answer.
    EXPECT_EQ(Lab({ "move", "--pos", pos, "--depth", "2", "--noise", "2" }).out, o.out);
}

// A typed game: refusals explain themselves and ask again; a legal
// placement shows on the board; the end of input ends cleanly.
TEST(LabCommands, play_refuses_bad_input_and_stops_at_end_of_input)
{
    const std::string input =
        "hello\n"
        "7 0 1\n"
        "0 3 1\n"
        "2 2 0\n"
        "2 2 20\n"
        "2 2 99999999999999999999999\n"
        "\n"
        "2 2 3\n";
    const Outcome o = Lab({ "play", "--depth", "1", "--noise", "0" }, input);
    EXPECT_EQ(o.code, kExitOk) << o.err;
    EXPECT_EQ(o.err, "");
    // "hello" and the number too big to read both get the format hint.
    const size_t hint = o.out.find("Type three numbers");
    ASSERT_NE(hint, std::string::npos);
    EXPECT_NE(o.out.find("Type three numbers", hint + 1), std::string::npos);
    EXPECT_NE(o.out.find("There is no row 7"), std::string::npos);
    EXPECT_NE(o.out.find("Row 0 has columns 0 to 2"), std::string::npos);
    EXPECT_NE(o.out.find("at least 1"), std::string::npos);
    EXPECT_NE(o.out.find("You cannot add 20 tokens there: you have 19 in hand"), std::string::npos);
    // The board after Gold's placement, then Silver's answer.
    const size_t placed = o.out.find("position: ---/----/--g3--/----/--- s 0");
    ASSERT_NE(placed, std::string::npos) << o.out;
    EXPECT_NE(o.out.find("Silver places on", placed), std::string::npos);
    EXPECT_NE(o.out.find("Input ended"), std::string::npos);
}

// Passing until the end gives a result; with nothing in hand the player
// passes without being asked; the player may take Silver.
TEST(LabCommands, play_to_the_end)
{
    // Gold has all 19 tokens on the board: it passes by itself, then Silver
    // (depth 1, holding 18) passes too and the game ends.
    Outcome o = Lab({ "play", "--depth", "1", "--noise", "0", "--pos",
                      "g19--/----/--s1--/----/--- g 0" }, "");
    EXPECT_EQ(o.code, kExitOk) << o.err;
    EXPECT_NE(o.out.find("no tokens in hand, so you pass"), std::string::npos);
    EXPECT_NE(o.out.find("Game over: "), std::string::npos) << o.out;

    // As Silver: the opponent opens for Gold, then a pass each way may end
    // it; keep passing until the game is over.
    o = Lab({ "play", "--depth", "1", "--noise", "0", "--side", "silver" }, "1 1 1\npass\npass\npass\npass\n");
    EXPECT_EQ(o.code, kExitOk) << o.err;
    EXPECT_NE(o.out.find("You play Silver"), std::string::npos);
    EXPECT_NE(o.out.find("Gold places on"), std::string::npos);

    o = Lab({ "play", "--depth", "1", "--noise", "0" }, "quit\n");
    EXPECT_EQ(o.code, kExitOk);
}

// A short checked match adds up, and the trace replays move by move
// through the rules to the same positions.
TEST(LabCommands, match_counts_and_trace_replays)
{
    const Outcome o = Lab({ "match", "--gold", "very-easy", "--silver", "normal", "--games", "3",
                            "--seed", "40", "--check", "--trace" });
    ASSERT_EQ(o.code, kExitOk) << o.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(o.out, m, std::regex(
        "games 3\ngold very-easy: wins (\\d+), losses (\\d+), ties (\\d+)\n"
        "silver normal: wins (\\d+), losses (\\d+), ties (\\d+)\n"
        "gold score [0-9.]+ % \\(95 % interval [0-9.]+ % to [0-9.]+ %\\)\n"
        "checked \\d+ moves: every invariant held\n$"))) << o.out;
    EXPECT_EQ(std::stoi(m[1]) + std::stoi(m[2]) + std::stoi(m[3]), 3);
    EXPECT_EQ(m[1], m[5]);
    EXPECT_EQ(m[2], m[4]);

    std::istringstream lines(o.out);
    std::string line;
    CGameState state(3, 2);
    int lastGame = 0, traced = 0, finished = 0;
    const std::regex traceLine("game (\\d+) move (\\d+) (gold|silver) (pass|(\\d) (\\d)) -> (.*)");
    while (std::getline(lines, line))
    {
        if (!std::regex_match(line, m, traceLine))
            continue;
        const int game = std::stoi(m[1]);
        if (game != lastGame)
        {
            EXPECT_TRUE(lastGame == 0 || state.IsGameDone());
            state = CGameState(3, 2);
            lastGame = game;
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
    EXPECT_EQ(lastGame, 3);
    EXPECT_EQ(finished, 3);
    EXPECT_GT(traced, 6);

    // The seed decides the games.
    const Outcome again = Lab({ "match", "--gold", "very-easy", "--silver", "normal", "--games", "3",
                                "--seed", "40", "--check", "--trace" });
    EXPECT_EQ(again.out, o.out);
}
