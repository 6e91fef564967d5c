// vesk-lab's position notation on arbitrary text: no crash, a one-line reason
// for every refusal, canonical printing; a position built through the rules,
// and every move from it, sound by the rules model, which agrees on legality.
#include "CInvariantChecker.h"
#include "Notation.h"
#include "game/CGameState.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Check(bool ok, const char* what, const std::string& text, const std::string& error = "")
{
    if (ok)
        return;
    std::fprintf(stderr, "notation: %s %s\n  position: \"%s\"\n", what, error.c_str(), text.c_str());
    std::abort();
}

bool OneLine(const std::string& error) { return !error.empty() && error.find('\n') == std::string::npos; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CGameState state(3, 2), again(3, 2);
    std::string error;
    if (!CNotation::ParseState(text, state, error))
        return Check(OneLine(error), "a rejection without a one-line reason", text), 0;
    const std::string printed = CNotation::Format(state);
    Check(CNotation::ParseState(printed, again, error) && CNotation::Format(again) == printed,
          "the printed position does not parse back to itself", printed);
    Check(CInvariantChecker::CheckState(state, error), "the state built from the position breaks the rules:", printed, error);
    for (uint32_t r = 0; r < state.GetNumRows(); ++r)
        for (uint32_t c = 0; c < state.GetRowLength(r); ++c)
            for (unsigned t = 0; t < 256; ++t)
            {
                const bool legal = state.IsMoveLegal(r, c, uint8_t(t));
                Check(legal == CInvariantChecker::IsLegal(state, r, c, t), "IsMoveLegal disagrees with the rules", printed);
                CGameState after(state);
                if (legal)
                    after.MakeMove(r, c, uint8_t(t));
                Check(!legal || CInvariantChecker::CheckPlacement(state, r, c, uint8_t(t), after, error),
                      "a placement broke the rules:", printed, error);
            }
    CGameState after(state);
    if (!state.IsGameDone())
        after.Pass();
    Check(state.IsGameDone() || CInvariantChecker::CheckPass(state, after, error), "a pass broke the rules:", printed, error);
    return 0;
}
