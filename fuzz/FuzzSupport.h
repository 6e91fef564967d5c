#pragma once

// What the fuzz targets share: a failed check's stop, a scratch file to read by path, the packers' rectangle checks.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

[[noreturn]] inline void FuzzFail(const char* target, const std::string& what)
{
    std::fprintf(stderr, "%s: %s\n", target, what.c_str()), std::abort();
}

// One file per process, rewritten with every input.
inline const std::string& FuzzFile(const uint8_t* data, size_t size)
{
    static const struct Scratch {
        std::string path = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/vesk-fuzz-XXXXXX";
        Scratch() { close(mkstemp(&path[0])); }
        ~Scratch() { unlink(path.c_str()); }
    } scratch;
    FILE* file = std::fopen(scratch.path.c_str(), "wb");
    if (!file || (size && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0)
        FuzzFail("fuzz", "cannot write " + scratch.path);   // every later finding would be meaningless
    return scratch.path;
}

// Two placed rectangles keep `gap` clear between them along x or y; only positive extents cover anything.
template <class A, class B>
bool Apart(const A& a, const B& b, int gap)
{
    return a.w <= 0 || a.h <= 0 || b.w <= 0 || b.h <= 0 || int64_t(a.x) + a.w + gap <= b.x ||
           int64_t(b.x) + b.w + gap <= a.x || int64_t(a.y) + a.h + gap <= b.y || int64_t(b.y) + b.h + gap <= a.y;
}

// By doubling, independent of the code's bit smearing.
inline int64_t PowerOfTwoAtLeast(int64_t n, int64_t p = 1) { return p < n ? PowerOfTwoAtLeast(n, 2 * p) : p; }

