#include "CTableSource.h"

#include "opponent/CRandomTable.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

bool CTableSource::FromText(const std::string& text, std::vector<int>& values, std::string& error)
{
    std::vector<int> out;
    out.reserve(CRandomTable::kSize);
    size_t i = 0;
    size_t line = 1;
    while (true)
    {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        {
            if (text[i] == '\n')
                ++line;
            ++i;
        }
        if (i == text.size())
            break;
        const size_t start = i;
        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        std::string word = text.substr(start, i - start);
        const size_t number = out.size() + 1;
        if (number > CRandomTable::kSize)
        {
            error = "more than 16384 values (line " + std::to_string(line) + ")";
            return false;
        }

        // Digits with an optional minus sign; a negative number is then out of range.
        const bool negative = word[0] == '-';
        size_t k = negative ? 1 : 0;
        bool digits = k < word.size();
        for (size_t d = k; d < word.size(); ++d)
            if (!std::isdigit(static_cast<unsigned char>(word[d])))
                digits = false;
        while (k + 1 < word.size() && word[k] == '0')
            ++k;
        long value = -1;
        if (digits && word.size() - k <= 5)
            value = std::strtol(word.c_str() + k, nullptr, 10);
        const bool inRange = digits && value >= 0 && value <= CRandomTable::kMax
                          && !(negative && value != 0);
        if (word.size() > 24)
            word = word.substr(0, 20) + "...";
        for (char& ch : word)
            if (!std::isprint(static_cast<unsigned char>(ch)))
                ch = '?';
        if (!digits)
        {
            error = "value " + std::to_string(number) + " (line " + std::to_string(line)
                  + ") is not a whole number: '" + word + "'";
            return false;
        }
        if (!inRange)
        {
            error = "value " + std::to_string(number) + " (line " + std::to_string(line)
                  + ") is outside 0..32767: '" + word + "'";
            return false;
        }
        out.push_back(static_cast<int>(value));
    }
    if (out.size() != CRandomTable::kSize)
    {
        error = "expected 16384 values, found " + std::to_string(out.size());
        return false;
    }
    values.swap(out);
    return true;
}

bool CTableSource::FromFile(const std::string& path, std::vector<int>& values, std::string& error)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
    {
        error = "cannot open table file '" + path + "': " + std::strerror(errno);
        return false;
    }
    std::string text;
    char buf[65536];
    size_t n;
    // A table file is about 100 kB; refuse anything absurdly larger.
    const size_t kLimit = 16u << 20;
    while ((n = std::fread(buf, 1, sizeof buf, file)) > 0)
    {
        text.append(buf, n);
        if (text.size() > kLimit)
        {
            std::fclose(file);
            error = "table file '" + path + "' is too large";
            return false;
        }
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
    {
        error = "cannot read table file '" + path + "'";
        return false;
    }
    if (!FromText(text, values, error))
    {
        error = "table file '" + path + "': " + error;
        return false;
    }
    return true;
}

std::string CTableSource::ToText(const std::vector<int>& values)
{
    std::string out;
    for (size_t i = 0; i < values.size(); ++i)
    {
        out += std::to_string(values[i]);
        out += (i % 8 == 7 || i + 1 == values.size()) ? '\n' : ' ';
    }
    return out;
}
