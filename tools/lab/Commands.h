#ifndef VESK_LAB_COMMANDS_H
#define VESK_LAB_COMMANDS_H

#include <initializer_list>
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

// The whole program: args are the arguments after the program name.
int RunLab(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err);

// The subcommands; args are the arguments after the subcommand's name.
int RunMove(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunPlay(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
            std::ostream& err);
int RunMatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunBench(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// One subcommand's options, read with getopt_long: "--name value" or
// "--name=value" for the value options, a bare "--name" for the flags and
// --help. Problems are told on one line, "vesk-lab: COMMAND: ...".
class CCommandLine
{
public:
    CCommandLine(const char* command, std::ostream& out, std::ostream& err);

    // false when the command is done already: --help printed the usage, or
    // the arguments were refused; Exit() then gives the exit status.
    bool Parse(const std::vector<std::string>& args, std::initializer_list<const char*> values,
               std::initializer_list<const char*> flags = {});

    bool        Has(const std::string& name) const { return m_values.count(name) != 0; }
    std::string Get(const std::string& name) const;   // "" when absent

    // A whole number from min to max; when absent, an error if required,
    // else out stays as it is. false after telling the problem.
    bool GetInt(const std::string& name, long long min, long long max, bool required, long long& out);

    // Fills the random table from --table FILE or --seed S (default
    // kDefaultSeed); false after telling the problem.
    bool InstallTable();

    int Fail(const std::string& message, int code = kExitUsage);   // tells; returns code
    int Exit() const { return m_exit; }

private:
    bool Refuse(const std::string& message);   // Fail, then false

    const char*                        m_command;
    std::ostream&                      m_out;
    std::ostream&                      m_err;
    std::map<std::string, std::string> m_values;
    int                                m_exit = kExitOk;
};

// Shared by the subcommands
const char* const kTeamNames[2] = { "Gold", "Silver" };
int  ReportError(std::ostream& err, const std::string& message, int code = kExitUsage);
bool ParseInteger(const std::string& text, long long& out);   // -?[0-9]+, no overflow
void PlayMove(CGameState& state, const OpponentMove& move);   // a pass or the cell's count + 1
std::string Quoted(const std::string& text);                  // quoted, bytes shown as \xNN, over 24 cut to 20
extern const char* const kUsage;

#endif
