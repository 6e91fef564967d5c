#include "Commands.h"

#include "game/CGameState.h"
#include "opponent/CRandomTable.h"
#include "opponent/Search.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <getopt.h>
#include <iomanip>
#include <ostream>

const char* const kUsage =
    "usage: vesk-lab COMMAND [OPTIONS]\n"
    "       vesk-lab --help | --version\n"
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
    "      (processor time of the search and of freeing its tree, after a first\n"
    "      pass that is not timed) and a signature of every tree searched.\n"
    "\n"
    "D is 1 to 6, N is 0 to 1000. A table FILE holds 16384 whitespace-separated\n"
    "integers 0..32767; without one the table is filled from a fixed seed, so\n"
    "results are reproducible.\n"
    "\n"
    "exit status: 0 done, 1 the rules or the search misbehaved, 2 bad input.\n";

namespace
{
// getopt_long tells options apart by these numbers, above every character.
const int kFirstOption = 256;
}

int ReportError(std::ostream& err, const std::string& message, int code)
{
    err << "vesk-lab: " << message << '\n';
    return code;
}

bool ParseInteger(const std::string& text, long long& out)
{
    const size_t digits = text.compare(0, 1, "-") == 0 ? 1 : 0;
    if (text.size() == digits || text.find_first_not_of("0123456789", digits) != std::string::npos)
        return false;
    errno = 0;
    out = std::strtoll(text.c_str(), nullptr, 10);
    // The lowest value has no positive counterpart: refused like any overflow.
    return errno == 0 && out != LLONG_MIN;
}

void PlayMove(CGameState& state, const OpponentMove& move)
{
    if (move.isPass)
        state.Pass();
    else
        state.MakeMove(move.row, move.col, static_cast<uint8_t>(state.GetCellTokens(move.row, move.col) + 1));
}

std::string Quoted(const std::string& text)
{
    const bool cut = text.size() > 24;
    std::string shown = "'";
    for (unsigned char ch : cut ? text.substr(0, 20) : text)
    {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02x", ch);
        shown += std::isprint(ch) ? std::string(1, static_cast<char>(ch)) : hex;
    }
    return shown + (cut ? "...'" : "'");
}

CCommandLine::CCommandLine(const char* command, std::ostream& out, std::ostream& err)
    : m_command(command), m_out(out), m_err(err)
{
}

bool CCommandLine::Parse(const std::vector<std::string>& args, std::initializer_list<const char*> values,
                         std::initializer_list<const char*> flags)
{
    std::vector<option> options;
    for (const char* name : values)
        options.push_back({ name, required_argument, nullptr, kFirstOption + static_cast<int>(options.size()) });
    for (const char* name : flags)
        options.push_back({ name, no_argument, nullptr, kFirstOption + static_cast<int>(options.size()) });
    options.push_back({ "help", no_argument, nullptr, kFirstOption + static_cast<int>(options.size()) });
    options.push_back({ nullptr, 0, nullptr, 0 });

    std::vector<char*> argv(1, const_cast<char*>(m_command));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));   // "+" below: getopt moves nothing
    argv.push_back(nullptr);
    const int argc = static_cast<int>(argv.size()) - 1;

    // getopt keeps its place in globals: 0 starts it afresh for every command
    // (the tests run several in one process). It says nothing itself: "+:"
    // stops at the first argument that is not an option and tells a missing
    // value apart from an unknown option.
    optind = 0;
    opterr = 0;
    for (int c; (c = getopt_long(argc, argv.data(), "+:", options.data(), nullptr)) != -1;)
    {
        // On ':' and '?' optopt names the option at fault: one of ours, a
        // character, or 0 for a long name we do not know.
        if (c == ':')
            return Refuse(std::string("option --") + options[optopt - kFirstOption].name + " needs a value");
        if (c == '?' && optopt >= kFirstOption)
            return Refuse(std::string("option --") + options[optopt - kFirstOption].name + " takes no value");
        if (c == '?')
        {
            const std::string arg = optopt ? std::string("-") + char(optopt) : argv[optind - 1];
            return Refuse("unknown option '" + arg.substr(0, arg.find('=')) + "'");
        }
        const char* option = options[c - kFirstOption].name;
        if (Has(option))
            return Refuse(std::string("option --") + option + " given twice");
        m_values[option] = optarg ? optarg : "";
    }
    if (optind < argc)
        return Refuse(std::string("unexpected argument '") + argv[optind] + "'");
    if (Has("help"))
    {
        m_out << kUsage;
        return false;
    }
    return true;
}

std::string CCommandLine::Get(const std::string& name) const
{
    const auto it = m_values.find(name);
    return it == m_values.end() ? std::string() : it->second;
}

bool CCommandLine::GetInt(const std::string& name, long long min, long long max, bool required, long long& out)
{
    if (!Has(name))
        return !required || Refuse("missing option --" + name);
    long long value = 0;
    if (!ParseInteger(Get(name), value) || value < min || value > max)
        return Refuse("--" + name + " must be a whole number from " + std::to_string(min) + " to "
                    + std::to_string(max) + ", got '" + Get(name) + "'");
    out = value;
    return true;
}

bool CCommandLine::InstallTable()
{
    if (!Has("table"))
    {
        long long seed = kDefaultSeed;
        if (!GetInt("seed", 0, 4294967295LL, false, seed))
            return false;
        CRandomTable::GetInstance()->FillFromSeed(static_cast<unsigned>(seed));
        return true;
    }
    const std::string path = Get("table"), file = "table file '" + path + "'";
    std::ifstream in(path);
    if (!in)
        return Refuse("cannot open " + file + ": " + std::strerror(errno));
    std::vector<int> values;
    std::string word;
    for (size_t line = 1;;)
    {
        for (int ch; std::isspace(ch = in.peek()); in.get())
            line += ch == '\n';
        // Read 32 bytes at most: no value is that long, and a file of one
        // endless word (/dev/zero) is refused at once.
        if (!(in >> std::setw(32) >> word))
            break;
        const std::string where = file + ": value " + std::to_string(values.size() + 1) + " (line " + std::to_string(line) + ")";
        if (values.size() == CRandomTable::kSize)
            return Refuse(file + ": more than 16384 values (line " + std::to_string(line) + ")");
        const bool whole = word.find_first_not_of("0123456789", word[0] == '-') == std::string::npos && word != "-";
        long long value = -1;
        if (!whole || word.size() == 32 || !ParseInteger(word, value) || value < 0 || value > CRandomTable::kMax)
            return Refuse(where + (whole ? " is outside 0..32767: " : " is not a whole number: ") + Quoted(word));
        values.push_back(static_cast<int>(value));
    }
    if (in.bad())
        return Refuse("cannot read " + file);
    if (values.size() != CRandomTable::kSize)
        return Refuse(file + ": expected 16384 values, found " + std::to_string(values.size()));
    CRandomTable::GetInstance()->Fill(values.data());
    return true;
}

int CCommandLine::Fail(const std::string& message, int code)
{
    m_exit = code;
    return ReportError(m_err, std::string(m_command) + ": " + message, code);
}

bool CCommandLine::Refuse(const std::string& message)
{
    Fail(message);
    return false;
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
    if (command == "--version")
    {
        out << "vesk-lab " VESK_VERSION "\n";
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
