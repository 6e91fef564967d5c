#include "Commands.h"

#include "CArgs.h"
#include "CTableSource.h"

#include <ostream>

const char* const kUsage =
    "usage: vesk-lab COMMAND [OPTIONS]\n"
    "\n"
    "Study and measure the Vesk opponent without a window.\n"
    "\n"
    "Positions are written 'CELLS TOMOVE PASSES': CELLS lists rows 0 to 4 separated\n"
    "by '/', each cell '-' (empty), 'g<n>' (n Gold tokens) or 's<n>' (n Silver\n"
    "tokens); TOMOVE is 'g' or 's'; PASSES (in a row) is 0, 1 or 2. The start is\n"
    "  ---/----/-----/----/--- g 0\n"
    "\n"
    "commands:\n"
    "  move --pos POS --depth D --noise N [--table FILE]\n"
    "      The opponent's move for the team to move in POS: prints 'move R C' (raise\n"
    "      cell R C by one token) or 'move pass', then 'nodes K' (search nodes\n"
    "      created) and 'draws M' (random numbers used).\n"
    "  play --depth D --noise N [--table FILE | --seed S] [--pos POS] [--side gold|silver]\n"
    "      A game against the opponent in the terminal. You play Gold unless\n"
    "      --side silver; type 'R C COUNT' to add COUNT tokens to cell R C, 'pass',\n"
    "      'help' or 'quit'.\n"
    "  match --gold STRENGTH --silver STRENGTH --games N [--seed S] [--check] [--trace]\n"
    "      Engine against engine. STRENGTH is very-easy, easy, normal or hard.\n"
    "      The games fill the random table from seeds S, S+1, ... (default S 1).\n"
    "      --check verifies the rules' invariants after every move; --trace\n"
    "      prints each move and the position after it.\n"
    "  bench [--depth D]\n"
    "      Searches a fixed suite of positions (default depth 4) and prints the\n"
    "      totals: positions, nodes, ms, nodes per second, slowest move in ms\n"
    "      (processor time of the search and of freeing its tree).\n"
    "\n"
    "D is 1 to 6, N is 0 to 1000. A table FILE holds 16384 whitespace-separated\n"
    "integers 0..32767; without one the table is filled from a fixed seed, so\n"
    "results are reproducible.\n"
    "\n"
    "exit status: 0 done, 1 the rules or the search misbehaved, 2 bad input.\n";

int ReportError(std::ostream& err, const std::string& message, int code)
{
    err << "vesk-lab: " << message << '\n';
    return code;
}

bool InstallTable(const CArgs& args, unsigned defaultSeed, std::string& error)
{
    if (args.Has("table"))
    {
        std::vector<int> values;
        if (!CTableSource::FromFile(args.Get("table"), values, error))
            return false;
        CTableSource::Install(values);
        return true;
    }
    long long seed = defaultSeed;
    if (!args.GetInt("seed", 0, 4294967295LL, false, seed, error))
        return false;
    CTableSource::InstallSeed(static_cast<unsigned>(seed));
    return true;
}

int RunLab(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err)
{
    if (args.empty())
        return ReportError(err, "no command given (try 'vesk-lab --help')");
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help")
    {
        out << kUsage;
        return kExitOk;
    }
    if (command == "move")
        return RunMove(rest, out, err);
    if (command == "play")
        return RunPlay(rest, in, out, err);
    if (command == "match")
        return RunMatch(rest, out, err);
    if (command == "bench")
        return RunBench(rest, out, err);
    return ReportError(err, "unknown command '" + command + "' (try 'vesk-lab --help')");
}
