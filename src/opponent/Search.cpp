#include "opponent/Search.h"

#include "game/CGameState.h"
#include "game/Types.h"
#include "opponent/CRandomTable.h"
#include "opponent/CSearchNode.h"

#include <memory>
#include <vector>

int g_searchDepth = 4;
int g_evalNoise = 2;

namespace
{
// The opponent's fixed numbers, kept together:
// - the search window is wide enough for every unfinished position, whose
//   score difference stays within a few hundred;
// - a finished game is worth 1000 times its score difference, so winning or
//   losing outweighs anything an unfinished position can offer;
// - it only ever raises a cell by one token, which keeps the tree to at most
//   one child per cell plus the pass;
// - it never passes with 19 tokens in hand (a fixed number, not the starting
//   stock): with a full stock there is always a placement to try.
const int     kWindow         = 100000;
const int     kDoneFactor     = 1000;
const uint8_t kMaxRaise       = 1;
const uint8_t kMaxStockToPass = 18;

struct WalkCell { uint8_t row; uint8_t col; };

// On the standard board the walk starts in the middle cell and spirals out:
// the ring round it, then the outer ring. Each step is applied before a visit.
const int kStandardRowSteps[19] = { 0, 1, -1, -1, 0, 1, 1, 1, 0, -1, -1, -1, -1, 0, 0, 1, 1, 1, 1 };
const int kStandardColSteps[19] = { 0, 0, 1, -1, -1, 0, 0, 0, 1, 1, 1, -1, -1, -1, -1, 0, 0, 0, 0 };

std::vector<WalkCell> BuildStandardWalk()
{
    std::vector<WalkCell> walk;
    int row = 2;
    int col = 2;
    for (int i = 0; i < 19; ++i)
    {
        row += kStandardRowSteps[i];
        col += kStandardColSteps[i];
        walk.push_back({ static_cast<uint8_t>(row), static_cast<uint8_t>(col) });
    }
    return walk;
}

// Other board sizes get the same spiral: the middle cell, then ring after
// ring, each entered at the cell right of its upper-left corner and walked
// clockwise back to that corner. Cells are located here by row and by their
// position in half cell widths, x = (rows - length) + 2 * col, in which the six
// neighbour directions are uniform.
std::vector<WalkCell> BuildSpiralWalk(const CGameState& pos)
{
    std::vector<WalkCell> walk;
    const int nRows = static_cast<int>(pos.GetNumRows());
    const int mid = nRows / 2;
    auto visit = [&](int row, int x) {
        const int indent = nRows - pos.GetRowLength(static_cast<uint32_t>(row));
        walk.push_back({ static_cast<uint8_t>(row), static_cast<uint8_t>((x - indent) / 2) });
    };
    static const int kDirections[6][2] = { { 0, 2 }, { -1, 1 }, { -1, -1 }, { 0, -2 }, { 1, -1 }, { 1, 1 } };

    visit(mid, nRows - 1);
    for (int ring = 1; ring <= mid; ++ring)
    {
        int row = mid + ring;
        int x = nRows - 1 - ring;
        for (const auto& dir : kDirections)
        {
            for (int step = 0; step < ring; ++step)
            {
                row += dir[0];
                x += dir[1];
                visit(row, x);
            }
        }
    }
    return walk;
}

// The walk depends only on the board size; each is built once.
const std::vector<WalkCell>& WalkOrder(const CGameState& pos)
{
    static std::vector<WalkCell> cache[kMaxBoardSize + 1];
    const uint32_t size = (pos.GetNumRows() + 1) / 2;
    std::vector<WalkCell>& walk = cache[size];
    if (walk.empty())
        walk = size == kStandardBoardSize ? BuildStandardWalk() : BuildSpiralWalk(pos);
    return walk;
}

bool CoinFlip()
{
    return CRandomTable::GetInstance()->Next() > CRandomTable::kMax / 2;
}

// A child holds the node's position, in a spare state from the pool if there
// is one, and goes to the end of the node's children.
CSearchNode* MakeChild(CSearchNode* node, StatePool* pool)
{
    std::unique_ptr<CGameState> state;
    if (pool && !pool->empty())
    {
        state.reset(pool->front());
        pool->pop_front();
        *state = *node->m_state;
    }
    else
    {
        state.reset(new CGameState(*node->m_state));
    }
    std::unique_ptr<CSearchNode> child(new CSearchNode(state.get()));
    state.release();
    node->m_children.push_back(child.get());
    return child.release();
}

int Evaluate(const CGameState& pos)
{
    int value = static_cast<int>(pos.GetTeamScore(kGold)) - static_cast<int>(pos.GetTeamScore(kSilver));
    const int noise = g_evalNoise;
    if (noise != 0)
    {
        const int r = CRandomTable::GetInstance()->Next();
        value += (r * (2 * noise + 1)) / (CRandomTable::kMax + 1) - noise;
    }
    if (pos.IsGameDone())
        value *= kDoneFactor;
    return value;
}
}

// ---------------------------------------------------------------------------

CSearchNode* ChooseMove(CSearchNode* root, StatePool* pool)
{
    CSearchNode* best = nullptr;
    Search(root, &best, -kWindow, kWindow, pool, g_searchDepth);
    return best;
}

void ExpandNode(CSearchNode* node, StatePool* pool, int depth)
{
    const CGameState& pos = *node->m_state;
    if (depth <= 0 || pos.IsGameDone())
        return;

    // Mirroring the walk varies which of equally good moves is found first.
    const bool mirrorCol = CoinFlip();
    const bool mirrorRow = CoinFlip();

    const uint8_t stock = pos.GetTeamTokens(pos.GetCurTeam());
    const std::vector<WalkCell>& walk = WalkOrder(pos);
    // One allocation of the exact size for all children, instead of the
    // vector's doublings.
    size_t children = stock <= kMaxStockToPass ? 1 : 0;
    for (uint8_t raise = 1; raise <= kMaxRaise; ++raise)
        for (const WalkCell& cell : walk)
            children += stock >= pos.GetCellTokens(cell.row, cell.col) + raise;
    node->m_children.reserve(node->m_children.size() + children);

    if (stock <= kMaxStockToPass)
    {
        CSearchNode* child = MakeChild(node, pool);
        child->m_state->Pass();
        child->m_isPass = 1;
        ExpandNode(child, pool, depth - 1);
    }
    if (stock == 0)
        return;

    const uint32_t lastRow = pos.GetNumRows() - 1;
    for (uint8_t raise = 1; raise <= kMaxRaise; ++raise)
    {
        for (const WalkCell& cell : walk)
        {
            const uint32_t row = mirrorRow ? lastRow - cell.row : cell.row;
            const uint32_t col = mirrorCol ? pos.GetRowLength(row) - 1u - cell.col : cell.col;
            const uint8_t held = pos.GetCellTokens(row, col);
            // Only the stock counts, also on the mover's own cells.
            if (stock < held + raise)
                continue;
            CSearchNode* child = MakeChild(node, pool);
            child->m_state->MakeMove(row, col, static_cast<uint8_t>(held + raise));
            child->m_col = static_cast<uint8_t>(col);
            child->m_row = static_cast<uint8_t>(row);
            ExpandNode(child, pool, depth - 1);
        }
    }
}

// Gold maximises, Silver minimises the score difference Gold - Silver.
int Search(CSearchNode* node, CSearchNode** best, int alpha, int beta, StatePool* pool, int depth)
{
    const CGameState& pos = *node->m_state;
    const bool maximising = pos.GetCurTeam() == kGold;
    CSearchNode* chosen = nullptr;
    int value = maximising ? -kWindow : kWindow;

    if (depth <= 0 || pos.IsGameDone())
    {
        if (best)
            *best = nullptr;
        return Evaluate(pos);
    }

    // Children are generated only when the search gets here, one ply at a time.
    if (node->m_children.empty())
        ExpandNode(node, pool, 1);

    for (size_t i = 0; i < node->m_children.size(); ++i)
    {
        CSearchNode* child = node->m_children[i];
        const int v = Search(child, nullptr, alpha, beta, pool, depth - 1);
        // Ties keep the earlier child; the first child is always taken.
        if (!chosen || (maximising ? v > value : v < value))
        {
            value = v;
            chosen = child;
        }
        if (maximising)
        {
            if (value > alpha)
                alpha = value;
            if (value > beta)
                break;
        }
        else
        {
            if (value < beta)
                beta = value;
            if (value < alpha)
                break;
        }
    }

    if (best)
        *best = chosen;
    return value;
}
