// A fuzz target as an ordinary test, where libFuzzer is not built: every file in the folders named (the committed
// seeds) goes to the target, then -runs=N inputs made from a fixed seed: a seed file with a few bytes changed and
// perhaps cut short, or random bytes. A failed check aborts.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    auto run = [](const std::string& in) { LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(in.data()), in.size()); };
    long runs = 0;
    std::vector<std::string> seeds;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]).rfind("-runs=", 0) == 0) runs = std::atol(argv[i] + 6);
        else
            for (const fs::path& file : std::set<fs::path>(fs::directory_iterator(argv[i]), fs::directory_iterator())) {
                std::ifstream in(file, std::ios::binary);
                run(seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
            }
    }
    std::mt19937 random(1);
    for (long n = 0; n < runs; ++n) {
        std::string input(random() % 4096, '\0');
        for (char& c : input) c = char(random());
        if (!seeds.empty() && random() % 2) {
            input = seeds[random() % seeds.size()];
            for (int k = random() % 8; k >= 0 && !input.empty(); --k) input[random() % input.size()] = char(random());
            input.resize(random() % 4 ? input.size() : random() % (input.size() + 1));
        }
        run(input);
    }
    std::cout << seeds.size() << " seeds and " << runs << " made inputs passed\n";
}
