#include "opponent/Search.h"

#include "game/CGameState.h"
#include "game/Types.h"
#include "opponent/CRandomTable.h"
#include "opponent/CSearchArena.h"
#include "opponent/CSearchNode.h"

#include <ctime>

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

// The walk starts in the middle cell and spirals out: the ring round it, then
// the outer ring. The search only ever sees the standard board.
const WalkCell kWalk[19] = {
    { 2, 2 }, { 3, 2 }, { 2, 3 }, { 1, 2 }, { 1, 1 }, { 2, 1 }, { 3, 1 }, { 4, 1 }, { 4, 2 }, { 3, 3 },
    { 2, 4 }, { 1, 3 }, { 0, 2 }, { 0, 1 }, { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 0 }, { 4, 0 },
};

// The walk and its mirror images, worked out once: index bit 0 mirrors the
// columns (within each row), bit 1 the rows.
struct MirroredWalks { WalkCell walks[4][19]; };

const MirroredWalks& Walks()
{
    static const MirroredWalks mirrored = [] {
        const CGameState board(kStandardBoardSize, 2);
        MirroredWalks m;
        for (int mirror = 0; mirror < 4; ++mirror)
            for (int i = 0; i < 19; ++i)
            {
                const uint32_t row = mirror & 2 ? board.GetNumRows() - 1 - kWalk[i].row : kWalk[i].row;
                const uint32_t col = mirror & 1 ? board.GetRowLength(row) - 1u - kWalk[i].col : kWalk[i].col;
                m.walks[mirror][i] = { static_cast<uint8_t>(row), static_cast<uint8_t>(col) };
            }
        return m;
    }();
    return mirrored;
}

bool CoinFlip()
{
    return CRandomTable::GetInstance()->Next() > CRandomTable::kMax / 2;
}

// A child holds a copy of the node's position and goes to the end of the
// node's children.
CSearchNode* MakeChild(CSearchNode* node, CSearchArena* arena)
{
    CSearchNode* child = arena->NewNode(*node->m_state);
    node->m_children.PushBack(child);
    return child;
}

// Folds the moves below node, in tree order, into an FNV-1a hash.
void Sign(const CSearchNode* node, uint64_t& hash)
{
    for (const CSearchNode* child : node->m_children)
    {
        for (uint8_t byte : { child->m_row, child->m_col, child->m_isPass, uint8_t(0xff) })
            hash = (hash ^ byte) * 1099511628211ull;
        Sign(child, hash);
    }
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

OpponentMove FindMove(const CGameState& position, int depth, int noise, uint64_t* signature)
{
    // The arena's blocks are kept from move to move; nothing of the tree is.
    static CSearchArena arena;
    OpponentMove move;
    if (position.IsGameDone())
        return move;
    g_searchDepth = depth;
    g_evalNoise = noise;
    const uint64_t drawsBefore = CRandomTable::GetInstance()->GetDraws();

    const std::clock_t start = std::clock();
    CSearchNode* root = arena.NewNode(position);
    const CSearchNode* chosen = ChooseMove(root, &arena);
    const std::clock_t searched = std::clock();
    if (chosen)
    {
        move.found = true;
        move.isPass = chosen->m_isPass != 0;
        move.row = chosen->m_row;
        move.col = chosen->m_col;
    }
    move.nodes = arena.GetNodes() - 1;   // the root is not counted
    if (signature)
        Sign(root, *signature);
    const std::clock_t releasing = std::clock();
    arena.Release();
    move.ms = 1000.0 * static_cast<double>((searched - start) + (std::clock() - releasing)) / CLOCKS_PER_SEC;
    move.draws = CRandomTable::GetInstance()->GetDraws() - drawsBefore;
    return move;
}

CSearchNode* ChooseMove(CSearchNode* root, CSearchArena* arena)
{
    CSearchNode* best = nullptr;
    Search(root, &best, -kWindow, kWindow, arena, g_searchDepth);
    return best;
}

void ExpandNode(CSearchNode* node, CSearchArena* arena, int depth)
{
    const CGameState& pos = *node->m_state;
    if (depth <= 0 || pos.IsGameDone())
        return;

    // Mirroring the walk varies which of equally good moves is found first.
    const bool mirrorCol = CoinFlip();
    const bool mirrorRow = CoinFlip();

    const WalkCell* walk = Walks().walks[(mirrorRow ? 2 : 0) + (mirrorCol ? 1 : 0)];

    // The placements first, in walk order, so that the child list is sized
    // once. Only the stock counts, also on the mover's own cells; with an
    // empty stock there is none.
    const uint8_t stock = pos.GetTeamTokens(pos.GetCurTeam());
    struct Placement { WalkCell cell; uint8_t tokens; } placements[19 * kMaxRaise];
    uint32_t nPlacements = 0;
    for (uint8_t raise = 1; raise <= kMaxRaise; ++raise)
        for (int i = 0; i < 19; ++i)
        {
            const uint8_t held = pos.GetCellTokens(walk[i].row, walk[i].col);
            if (stock >= held + raise)
                placements[nPlacements++] = { walk[i], static_cast<uint8_t>(held + raise) };
        }
    const bool pass = stock <= kMaxStockToPass;
    node->m_children.Reserve(*arena, nPlacements + (pass ? 1 : 0));

    if (pass)
    {
        CSearchNode* child = MakeChild(node, arena);
        child->m_state->Pass();
        child->m_isPass = 1;
        if (depth > 1)
            ExpandNode(child, arena, depth - 1);
    }
    for (uint32_t i = 0; i < nPlacements; ++i)
    {
        const Placement& placement = placements[i];
        CSearchNode* child = MakeChild(node, arena);
        child->m_state->MakeMove(placement.cell.row, placement.cell.col, placement.tokens);
        child->m_col = placement.cell.col;
        child->m_row = placement.cell.row;
        if (depth > 1)   // the search's own calls stop here: a call less per child
            ExpandNode(child, arena, depth - 1);
    }
}

// Gold maximises, Silver minimises the score difference Gold - Silver.
int Search(CSearchNode* node, CSearchNode** best, int alpha, int beta, CSearchArena* arena, int depth)
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
        ExpandNode(node, arena, 1);

    for (CSearchNode* child : node->m_children)
    {
        const int v = Search(child, nullptr, alpha, beta, arena, depth - 1);
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
