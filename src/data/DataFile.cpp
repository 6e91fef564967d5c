#include "data/DataFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

std::string HostPath(const std::string& path)
{
#ifdef _WIN32
    return path;
#else
    std::string host(path);
    for (char& c : host)
        if (c == '\\')
            c = '/';
    return host;
#endif
}

namespace {

// Adds one line (without its line end) as one or more entries of at most
// kMaxListLine bytes each; every piece keeps only the text before its first NUL.
void AddLine(const std::string& line, std::vector<std::string>& lines)
{
    size_t start = 0;
    do {
        const size_t length = std::min(kMaxListLine, line.size() - start);
        const char* piece = line.data() + start;
        const void* nul = std::memchr(piece, '\0', length);
        const size_t textLength = nul ? static_cast<const char*>(nul) - piece : length;
        lines.emplace_back(piece, textLength);
        start += length;
    } while (start < line.size());
}

} // namespace

bool ReadListFile(const std::string& path, std::vector<std::string>& lines)
{
    lines.clear();
    // Binary mode, so CR LF files read the same on every platform: the CR is
    // stripped here rather than by the C library's text mode.
    FILE* file = std::fopen(HostPath(path).c_str(), "rb");
    if (!file)
        return false;

    std::string line;
    bool open = false;   // bytes (or an empty line in progress) since the last line end
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        for (size_t i = 0; i < count; ++i) {
            const char c = buffer[i];
            if (c == '\n') {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                AddLine(line, lines);
                line.clear();
                open = false;
            } else {
                line.push_back(c);
                open = true;
            }
        }
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);

    if (open) {
        // A CR with no LF after it at the very end is still a line end.
        if (line.back() == '\r')
            line.pop_back();
        AddLine(line, lines);
    }
    return !failed;
}
