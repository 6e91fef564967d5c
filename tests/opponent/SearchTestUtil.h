#ifndef VESK_TESTS_SEARCHTESTUTIL_H
#define VESK_TESTS_SEARCHTESTUTIL_H

#include "game/CGameState.h"
#include "opponent/CRandomTable.h"
#include "opponent/CSearchNode.h"

#include <initializer_list>
#include <memory>
#include <vector>

// A move in a short game record: tokens 0 is a pass.
struct Step { int row; int col; int tokens; };

inline CGameState Played(std::initializer_list<Step> steps, uint32_t size = 3)
{
    CGameState s(size, 2);
    for (const Step& step : steps)
    {
        if (step.tokens == 0)
            s.Pass();
        else
            s.MakeMove(step.row, step.col, static_cast<uint8_t>(step.tokens));
    }
    return s;
}

// Loads the random table so that the draws come out as listed, then `rest`.
inline void LoadDraws(const std::vector<int>& draws, int rest = 0)
{
    std::vector<int> values(CRandomTable::kSize, rest);
    for (size_t i = 0; i < draws.size(); ++i)
        values[(i + 1) % CRandomTable::kSize] = draws[i];
    CRandomTable::GetInstance()->Fill(values.data());
}

inline std::unique_ptr<CSearchNode> MakeRoot(const CGameState& s)
{
    return std::unique_ptr<CSearchNode>(new CSearchNode(new CGameState(s)));
}

inline uint64_t Draws() { return CRandomTable::GetInstance()->GetDraws(); }

#endif
