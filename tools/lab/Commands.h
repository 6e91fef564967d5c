#ifndef VESK_LAB_COMMANDS_H
#define VESK_LAB_COMMANDS_H

#include <iosfwd>
#include <string>
#include <vector>

class CArgs;

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

// The whole program: args are the arguments after the program name.
int RunLab(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err);

// The subcommands; args are the arguments after the subcommand's name.
int RunMove(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunPlay(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
            std::ostream& err);
int RunMatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunBench(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Shared by the subcommands
int  ReportError(std::ostream& err, const std::string& message, int code = kExitUsage);
bool InstallTable(const CArgs& args, unsigned defaultSeed, std::string& error);
extern const char* const kUsage;

#endif
