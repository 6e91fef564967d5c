// The list reader (sprite list, sound list) on arbitrary file contents,
// compared with a plain model of the format: entries split at LF, one CR
// before the LF dropped, long lines cut into kMaxListLine pieces, each piece's
// text ending at its first NUL. Entry numbers are sound ids, so the count and
// order must match exactly.
#include "data/DataFile.h"
#include "FuzzTempFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void AddPieces(const std::string& line, std::vector<std::string>& out)
{
    size_t start = 0;
    do {
        std::string piece = line.substr(start, kMaxListLine);
        const size_t nul = piece.find('\0');
        if (nul != std::string::npos)
            piece.resize(nul);
        out.push_back(piece);
        start += kMaxListLine;
    } while (start < line.size());
}

// The entries a file holds. A CR that ends the file without an LF is not
// clearly a line end; the caller accepts either reading of it.
std::vector<std::string> Model(const std::string& bytes, bool finalCrIsLineEnd)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t lf = bytes.find('\n', start);
        std::string line;
        if (lf == std::string::npos) {
            line = bytes.substr(start);
            if (finalCrIsLineEnd && line.back() == '\r')
                line.pop_back();
            start = bytes.size();
        } else {
            line = bytes.substr(start, lf - start);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            start = lf + 1;
        }
        AddPieces(line, out);
    }
    return out;
}

void Fail(const char* what, const std::vector<std::string>& got, const std::vector<std::string>& want)
{
    std::fprintf(stderr, "list reader: %s: got %zu entries, model has %zu\n", what, got.size(), want.size());
    for (size_t i = 0; i < got.size() || i < want.size(); ++i) {
        const bool same = i < got.size() && i < want.size() && got[i] == want[i];
        if (!same) {
            std::fprintf(stderr, "first difference at entry %zu: got %s, model %s\n", i,
                         i < got.size() ? ("\"" + got[i].substr(0, 40) + "\"").c_str() : "no entry",
                         i < want.size() ? ("\"" + want[i].substr(0, 40) + "\"").c_str() : "no entry");
            break;
        }
    }
    std::abort();
}

const FuzzTempFile& TempFile()
{
    static const FuzzTempFile file("vesk-fuzz-list");
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzTempFile& file = TempFile();
    file.Write(data, size);

    std::vector<std::string> lines{"left over from an earlier list"};
    if (!ReadListFile(file.Path(), lines))
        Fail("an existing readable file was refused", lines, {});

    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> strict = Model(bytes, true);
    if (lines != strict && lines != Model(bytes, false))
        Fail("entries differ", lines, strict);

    for (const std::string& line : lines) {
        if (line.size() > kMaxListLine || line.find('\n') != std::string::npos ||
            line.find('\0') != std::string::npos)
            Fail("an entry holds a line end, a NUL or too many bytes", lines, strict);
        // Paths from a list go through HostPath: same length, only the separator changes.
        const std::string host = HostPath(line);
        if (host.size() != line.size())
            Fail("HostPath changed a path's length", lines, strict);
        for (size_t i = 0; i < line.size(); ++i)
            if (host[i] != (line[i] == '\\' ? '/' : line[i]))
                Fail("HostPath changed more than the separators", lines, strict);
    }
    return 0;
}
