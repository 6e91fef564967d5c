// Remakes the game's pictures, sounds and icons.
// Usage: vesk-gendata [folder]   (default: the current folder, which should
// be the one holding Data/, i.e. the repository root)
#include "DataSet.h"

#include <cstdio>

int main(int argc, char** argv)
{
    const char* root = argc > 1 ? argv[1] : ".";
    std::string failed;
    if (!gen::GenerateAll(root, failed)) {
        std::fprintf(stderr, "vesk-gendata: cannot write %s\n", failed.c_str());
        return 1;
    }
    for (const std::string& f : gen::GeneratedFiles())
        std::printf("%s/%s\n", root, f.c_str());
    return 0;
}
