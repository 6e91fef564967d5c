#include "CArgs.h"

#include <cctype>
#include <climits>

CArgs::CArgs(const std::set<std::string>& valueOptions, const std::set<std::string>& flags)
    : m_valueOptions(valueOptions), m_flags(flags)
{
}

bool CArgs::Parse(const std::vector<std::string>& args, std::string& error)
{
    m_values.clear();
    for (size_t i = 0; i < args.size(); ++i)
    {
        const std::string& arg = args[i];
        if (arg.size() < 3 || arg.compare(0, 2, "--") != 0)
        {
            error = "unexpected argument '" + arg + "'";
            return false;
        }
        std::string name = arg.substr(2);
        std::string value;
        bool inlineValue = false;
        const size_t eq = name.find('=');
        if (eq != std::string::npos)
        {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            inlineValue = true;
        }

        if (m_flags.count(name))
        {
            if (inlineValue)
            {
                error = "option --" + name + " takes no value";
                return false;
            }
        }
        else if (m_valueOptions.count(name))
        {
            if (!inlineValue)
            {
                if (i + 1 >= args.size())
                {
                    error = "option --" + name + " needs a value";
                    return false;
                }
                value = args[++i];
            }
        }
        else
        {
            error = "unknown option '--" + name + "'";
            return false;
        }

        if (m_values.count(name))
        {
            error = "option --" + name + " given twice";
            return false;
        }
        m_values[name] = value;
    }
    return true;
}

bool CArgs::Has(const std::string& name) const
{
    return m_values.count(name) != 0;
}

std::string CArgs::Get(const std::string& name) const
{
    auto it = m_values.find(name);
    return it == m_values.end() ? std::string() : it->second;
}

bool CArgs::ParseInteger(const std::string& text, long long& out)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && text[i] == '-')
    {
        negative = true;
        ++i;
    }
    if (i == text.size())
        return false;
    unsigned long long value = 0;
    for (; i < text.size(); ++i)
    {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (value > static_cast<unsigned long long>(LLONG_MAX))
            return false;
    }
    out = negative ? -static_cast<long long>(value) : static_cast<long long>(value);
    return true;
}

bool CArgs::GetInt(const std::string& name, long long min, long long max, bool required,
                   long long& out, std::string& error) const
{
    if (!Has(name))
    {
        if (!required)
            return true;
        error = "missing option --" + name;
        return false;
    }
    long long value = 0;
    if (!ParseInteger(Get(name), value) || value < min || value > max)
    {
        error = "--" + name + " must be a whole number from " + std::to_string(min) + " to "
              + std::to_string(max) + ", got '" + Get(name) + "'";
        return false;
    }
    out = value;
    return true;
}
