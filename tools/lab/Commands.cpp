#include "Commands.h"

#include "Notation.h"
#include "game/CGameState.h"
#include "opponent/CRandomTable.h"
#include "opponent/Search.h"

#include <algorithm>
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
#include <regex>

namespace
{
// The usage lists the commands from this table, and each command takes the
// options its line names: "--name VALUE" takes a value, a bare "--name" is a
// flag. Every command also takes --help.
struct Command
{
    const char* name;
    const char* options;
    const char* help;   // lines indented by six spaces
    int (*run)(CCommandLine& cmd);
};

const Command kCommands[] = {
    { "move", "--pos POS --depth D --noise N [--table FILE]",
      "      The opponent's move for the team to move in POS: prints 'move R C' (raise\n"
      "      cell R C by one token) or 'move pass', then 'nodes K' (search nodes\n"
      "      created) and 'draws M' (random numbers used).\n",
      RunMove },
    { "play", "--depth D --noise N [--table FILE | --seed S] [--pos POS] [--side gold|silver]",
      "      A game against the opponent in the terminal. You play Gold unless\n"
      "      --side silver; type 'R C COUNT' to add COUNT tokens to cell R C, 'pass',\n"
      "      'help' or 'quit'.\n",
      RunPlay },
    { "match", "--gold STRENGTH --silver STRENGTH --games N [--seed S] [--check] [--trace]",
      "      Engine against engine. STRENGTH is very-easy, easy, normal or hard.\n"
      "      The games fill the random table from seeds S, S+1, ... (default S 1).\n"
      "      --check verifies the rules' invariants after every move; --trace\n"
      "      prints each move and the position after it.\n",
      RunMatch },
    { "bench", "[--depth D]",
      "      Searches a fixed suite of positions (default depth 4) and prints the\n"
      "      totals: positions, nodes, ms, nodes per second, slowest move in ms\n"
      "      (processor time of the search and of freeing its tree, after a first\n"
      "      pass that is not timed) and a signature of every tree searched.\n",
      RunBench },
};

std::string Usage()
{
    std::string usage =
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
        "commands:\n";
    for (const Command& command : kCommands)
        usage += std::string("  ") + command.name + " " + command.options + "\n" + command.help;
    return usage + "\n"
        "D is 1 to 6, N is 0 to 1000. A table FILE holds 16384 whitespace-separated\n"
        "integers 0..32767; without one the table is filled from a fixed seed, so\n"
        "results are reproducible.\n"
        "\n"
        "exit status: 0 done, 1 the rules or the search misbehaved, 2 bad input.\n";
}

// getopt_long tells options apart by these numbers, above every character.
const int kFirstOption = 256;

// The options a command's line names, and --help; names holds their names.
std::vector<option> Options(const std::string& usage, std::vector<std::string>& names)
{
    static const std::regex kOption("--([a-z]+)( [A-Za-z|]+)?");
    const std::string line = usage + " [--help]";
    std::vector<option> options;
    for (std::sregex_iterator it(line.begin(), line.end(), kOption), end; it != end; ++it)
    {
        names.push_back((*it)[1]);
        options.push_back({ nullptr, (*it)[2].matched ? required_argument : no_argument, nullptr,
                            kFirstOption + static_cast<int>(options.size()) });
    }
    for (size_t i = 0; i < names.size(); ++i)
        options[i].name = names[i].c_str();   // once names no longer grows
    options.push_back({});
    return options;
}
} // namespace

const std::string kUsage = Usage();

int RunLab(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    const std::string name = args.empty() ? "" : args[0];
    if (name == "--help" || name == "-h" || name == "help" || name == "--version")
    {
        out << (name == "--version" ? "vesk-lab " VESK_VERSION "\n" : kUsage);
        return kExitOk;
    }
    const Command* command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                          [&](const Command& c) { return name == c.name; });
    if (command == std::end(kCommands))
    {
        err << "vesk-lab: " << (args.empty() ? "no command given" : "unknown command '" + name + "'")
            << " (try 'vesk-lab --help')\n";
        return kExitUsage;
    }
    try
    {
        CCommandLine cmd(in, out);
        return cmd.Parse(command->options, args) ? command->run(cmd) : kExitOk;
    }
    catch (const LabError& error)
    {
        err << "vesk-lab: " << name << ": " << error.message << '\n';
        return error.code;
    }
}

bool CCommandLine::Parse(const char* usage, const std::vector<std::string>& args)
{
    std::vector<std::string> names;
    const std::vector<option> options = Options(usage, names);
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));   // "+" below: getopt moves nothing
    argv.push_back(nullptr);
    const int argc = static_cast<int>(args.size());

    // getopt keeps its place in globals: 0 starts it afresh for every command
    // (the tests run several in one process). It says nothing itself: "+:"
    // stops at the first argument that is not an option and tells a missing
    // value apart from an unknown option. On ':' and '?' optopt names the
    // option at fault: one of ours, a character, or 0 for an unknown name.
    optind = 0;
    opterr = 0;
    for (int c; (c = getopt_long(argc, argv.data(), "+:", options.data(), nullptr)) != -1;)
    {
        const int known = c >= kFirstOption ? c : optopt;
        const std::string name = known >= kFirstOption ? names[known - kFirstOption] : "";
        // Which fault it was follows from the option: C libraries differ in the
        // code they give for a value after an option that takes none.
        if (c == ':' || (c == '?' && !name.empty()))
            throw LabError{ "option --" + name + (options[known - kFirstOption].has_arg == no_argument
                                                      ? " takes no value" : " needs a value") };
        if (c == '?')
        {
            const std::string arg = optopt ? std::string("-") + char(optopt) : argv[optind - 1];
            throw LabError{ "unknown option '" + arg.substr(0, arg.find('=')) + "'" };
        }
        if (Has(name))
            throw LabError{ "option --" + name + " given twice" };
        m_values[name] = optarg ? optarg : "";
    }
    if (optind < argc)
        throw LabError{ std::string("unexpected argument '") + argv[optind] + "'" };
    if (Has("help"))
        out << kUsage;
    return !Has("help");
}

std::string CCommandLine::Require(const std::string& name) const
{
    if (!Has(name))
        throw LabError{ "missing option --" + name };
    return Get(name);
}

long long CCommandLine::Int(const std::string& name, long long min, long long max) const
{
    const std::string text = Require(name);
    long long value = 0;
    if (!ParseInteger(text, value) || value < min || value > max)
        throw LabError{ "--" + name + " must be a whole number from " + std::to_string(min) + " to "
                        + std::to_string(max) + ", got '" + text + "'" };
    return value;
}

CGameState CCommandLine::Position() const
{
    CGameState state(3, 2);
    std::string error;
    if (Has("pos") && !CNotation::ParseState(Get("pos"), state, error))
        throw LabError{ "bad position: " + error };
    return state;
}

void CCommandLine::InstallTable() const
{
    if (!Has("table"))
        return CRandomTable::GetInstance()->FillFromSeed(static_cast<unsigned>(Int("seed", 0, 4294967295LL, kDefaultSeed)));
    const std::string path = Get("table"), file = "table file '" + path + "'";
    std::ifstream in(path);
    if (!in)
        throw LabError{ "cannot open " + file + ": " + std::strerror(errno) };
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
            throw LabError{ file + ": more than 16384 values (line " + std::to_string(line) + ")" };
        const bool whole = word.find_first_not_of("0123456789", word[0] == '-') == std::string::npos && word != "-";
        long long value = -1;
        if (!whole || word.size() == 32 || !ParseInteger(word, value) || value < 0 || value > CRandomTable::kMax)
            throw LabError{ where + (whole ? " is outside 0..32767: " : " is not a whole number: ") + Quoted(word) };
        values.push_back(static_cast<int>(value));
    }
    if (in.bad())
        throw LabError{ "cannot read " + file };
    if (values.size() != CRandomTable::kSize)
        throw LabError{ file + ": expected 16384 values, found " + std::to_string(values.size()) };
    CRandomTable::GetInstance()->Fill(values.data());
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
