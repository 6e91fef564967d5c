#ifndef VESK_LAB_CTABLESOURCE_H
#define VESK_LAB_CTABLESOURCE_H

#include <string>
#include <vector>

// Contents for the opponent's random table: read from a file of 16384
// whitespace-separated integers 0..32767, or generated from a seed. The
// generator is std::mt19937, whose sequence the C++ standard fixes, so the
// same seed gives the same table (and the same searches) on every platform.
class CTableSource
{
public:
    static const unsigned kDefaultSeed = 1;

    static std::vector<int> FromSeed(unsigned seed);

    // false with a one-line reason (naming the value's position) on failure.
    static bool FromText(const std::string& text, std::vector<int>& values, std::string& error);
    static bool FromFile(const std::string& path, std::vector<int>& values, std::string& error);

    // Writes values back in the file format, eight to a line.
    static std::string ToText(const std::vector<int>& values);

    // Loads values into the game's table; this also restarts its draw count.
    static void Install(const std::vector<int>& values);
    static void InstallSeed(unsigned seed);
};

#endif
