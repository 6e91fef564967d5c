#ifndef VESK_LAB_CTABLESOURCE_H
#define VESK_LAB_CTABLESOURCE_H

#include <string>
#include <vector>

// Contents for the opponent's random table from a file of 16384
// whitespace-separated integers 0..32767.
class CTableSource
{
public:
    // false with a one-line reason (naming the value's position) on failure.
    static bool FromText(const std::string& text, std::vector<int>& values, std::string& error);
    static bool FromFile(const std::string& path, std::vector<int>& values, std::string& error);

    // Writes values back in the file format, eight to a line.
    static std::string ToText(const std::vector<int>& values);
};

#endif
