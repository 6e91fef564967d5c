// vesk-lab: the command-line companion for studying and measuring the opponent.
#include "Commands.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int code = RunLab(args, std::cin, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
