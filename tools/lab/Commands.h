#ifndef VESK_LAB_COMMANDS_H
#define VESK_LAB_COMMANDS_H

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

class CGameState;
struct OpponentMove;

// Exit codes of vesk-lab.
enum LabExit
{
    kExitOk    = 0,
    kExitFault = 1,   // the rules or the search misbehaved (match --check)
    kExitUsage = 2    // bad command line, notation or table file
};

// Limits on the search settings the tools accept. Deeper searches hold
// their whole tree in memory and soon need gigabytes.
const int kMaxDepth = 6;
const int kMaxNoise = 1000;

// Without --table or --seed the random table comes from this seed.
const unsigned kDefaultSeed = 1;

extern const std::string kUsage;

// The whole program: args are the arguments after the program name.
int RunLab(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

// Why a command stops early; RunLab tells it on one line, "vesk-lab: COMMAND: ...".
struct LabError
{
    std::string message;
    int         code = kExitUsage;
};

// One command's options, as its line in the usage names them. The getters
// throw LabError on a missing or bad value.
class CCommandLine
{
public:
    CCommandLine(std::istream& in, std::ostream& out) : in(in), out(out) {}

    // args[0] is the command. false when --help printed the usage.
    bool Parse(const char* usage, const std::vector<std::string>& args);

    bool        Has(const std::string& name) const { return m_values.count(name) != 0; }
    std::string Get(const std::string& name) const { return Has(name) ? m_values.at(name) : ""; }
    std::string Require(const std::string& name) const;

    // A whole number from min to max; the second form has a default.
    long long Int(const std::string& name, long long min, long long max) const;
    long long Int(const std::string& name, long long min, long long max, long long fallback) const
    {
        return Has(name) ? Int(name, min, max) : fallback;
    }

    CGameState Position() const;   // --pos, else the start
    void       InstallTable() const;   // from --table FILE or --seed S (default kDefaultSeed)

    std::istream& in;
    std::ostream& out;

private:
    std::map<std::string, std::string> m_values;
};

// The commands
int RunMove(CCommandLine& cmd);
int RunPlay(CCommandLine& cmd);
int RunMatch(CCommandLine& cmd);
int RunBench(CCommandLine& cmd);

// Shared by the commands
const char* const kTeamNames[2] = { "Gold", "Silver" };
bool ParseInteger(const std::string& text, long long& out);   // -?[0-9]+, no overflow
void PlayMove(CGameState& state, const OpponentMove& move);   // a pass or the cell's count + 1
std::string Quoted(const std::string& text);                  // quoted, bytes shown as \xNN, over 24 cut to 20

#endif
