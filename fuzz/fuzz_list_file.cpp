// The list reader on arbitrary contents against a model: entries split at LF, one CR before it dropped, long lines
// cut into kMaxListLine pieces, each ending at its first NUL; entries are ids: count and order match exactly.
#include "FuzzSupport.h"
#include "data/DataFile.h"

#include <algorithm>
#include <vector>

namespace {

// A CR that ends the file without an LF is not clearly a line end; the caller accepts either reading of it.
std::vector<std::string> Model(const std::string& bytes, bool finalCrEndsLine)
{
    std::vector<std::string> out;
    for (size_t start = 0, lf; start < bytes.size(); start = lf + 1) {
        lf = std::min(bytes.find('\n', start), bytes.size());
        std::string line = bytes.substr(start, lf - start);
        if (!line.empty() && line.back() == '\r' && (lf < bytes.size() || finalCrEndsLine)) line.pop_back();
        for (size_t at = 0; at == 0 || at < line.size(); at += kMaxListLine) {
            const std::string piece = line.substr(at, kMaxListLine);
            out.push_back(piece.substr(0, piece.find('\0')));
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> lines{"left over from an earlier list"};
    if (!ReadListFile(FuzzFile(data, size), lines)) FuzzFail("list reader", "an existing readable file was refused");
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> model = Model(bytes, true);
    if (lines != model && lines != Model(bytes, false)) {
        const size_t same = std::mismatch(lines.begin(), lines.end(), model.begin(), model.end()).first - lines.begin();
        FuzzFail("list reader", std::to_string(lines.size()) + " entries, the model " + std::to_string(model.size()) +
                                    "; the first difference at entry " + std::to_string(same));
    }
    return 0;
}
