#ifndef VESK_LAB_CARGS_H
#define VESK_LAB_CARGS_H

#include <map>
#include <set>
#include <string>
#include <vector>

// The options of one subcommand: "--name value" (or "--name=value") for the
// declared value options and bare "--name" for the declared flags. Anything
// else is a usage error, reported in one line.
class CArgs
{
public:
    CArgs(const std::set<std::string>& valueOptions, const std::set<std::string>& flags);

    // Parsing; false with a one-line reason on an unknown option, a missing
    // value, a repeated option or a stray argument.
    bool Parse(const std::vector<std::string>& args, std::string& error);

    // Reading the result
    bool Has(const std::string& name) const;
    std::string Get(const std::string& name) const;   // "" when absent

    // Checked conversions: an absent option with required == false keeps out
    // unchanged. Failures name the option and the accepted range.
    bool GetInt(const std::string& name, long long min, long long max, bool required,
                long long& out, std::string& error) const;

    // Whole decimal integer, optional leading '-', nothing else.
    static bool ParseInteger(const std::string& text, long long& out);

private:
    std::set<std::string>              m_valueOptions;
    std::set<std::string>              m_flags;
    std::map<std::string, std::string> m_values;
};

#endif
