#include "CEngineRunner.h"

#include "game/CGameState.h"
#include "opponent/CRandomTable.h"
#include "opponent/CSearchNode.h"
#include "opponent/Search.h"

#include <cassert>
#include <ctime>

CEngineRunner::Result CEngineRunner::Choose(const CGameState& state, int depth, int noise)
{
    Result result;
    if (state.IsGameDone())
        return result;

    g_searchDepth = depth;
    g_evalNoise = noise;
    const uint64_t drawsBefore = CRandomTable::GetInstance()->GetDraws();

    const std::clock_t start = std::clock();
    CSearchNode* root = new CSearchNode(new CGameState(state));
    StatePool pool;
    CSearchNode* chosen = ChooseMove(root, &pool);
    if (chosen)
    {
        result.found = true;
        result.move.isPass = chosen->m_isPass != 0;
        result.move.row = chosen->m_row;
        result.move.col = chosen->m_col;
    }
    const std::clock_t searched = std::clock();
    // Counting walks the tree, which the game never does: keep it off the clock.
    result.nodes = CountNodes(root);
    const std::clock_t freeing = std::clock();
    delete root;
    for (CGameState* spare : pool)
        delete spare;
    const std::clock_t end = std::clock();

    result.ms = 1000.0 * static_cast<double>((searched - start) + (end - freeing)) / CLOCKS_PER_SEC;
    result.draws = CRandomTable::GetInstance()->GetDraws() - drawsBefore;
    return result;
}

void CEngineRunner::Apply(CGameState& state, const LabMove& move)
{
    if (move.isPass)
        state.Pass();
    else
        state.MakeMove(move.row, move.col,
                       static_cast<uint8_t>(state.GetCellTokens(move.row, move.col) + 1));
}

uint64_t CEngineRunner::CountNodes(const CSearchNode* node)
{
    uint64_t count = node->m_children.size();
    for (const CSearchNode* child : node->m_children)
        count += CountNodes(child);
    return count;
}
