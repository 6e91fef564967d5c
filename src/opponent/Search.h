#ifndef VESK_OPPONENT_SEARCH_H
#define VESK_OPPONENT_SEARCH_H

#include <cstdint>

class CGameState;
class CSearchArena;
class CSearchNode;

// Strength settings, written by the menu before a game starts.
extern int g_searchDepth;   // plies below the position to move from
extern int g_evalNoise;     // N: every leaf gets a random term in -N..+N

// One move of the opponent, and what finding it cost.
struct OpponentMove
{
    bool     found = false;   // false only when the position is over
    bool     isPass = false;
    uint8_t  row = 0;         // unless a pass, the cell raised by one token
    uint8_t  col = 0;
    uint64_t nodes = 0;       // nodes made below the root
    uint64_t draws = 0;       // numbers taken from the random table
    double   ms = 0.0;        // processor time of the search and of releasing its tree
};

// The opponent's entry point: the move for the team to move in position,
// searched depth plies deep with evaluation noise N = noise (they become the
// settings above, which the search reads). The tree lives in this move's
// arena and is released before it returns. With signature given, the moves
// of the tree in tree order are folded into that FNV-1a hash (not timed).
OpponentMove FindMove(const CGameState& position, int depth, int noise, uint64_t* signature = nullptr);

// The search itself. ChooseMove returns the chosen child of root, or null when
// root got none; every node and state the search makes comes from arena.
CSearchNode* ChooseMove(CSearchNode* root, CSearchArena* arena);
int  Search(CSearchNode* node, CSearchNode** best, int alpha, int beta, CSearchArena* arena, int depth);
void ExpandNode(CSearchNode* node, CSearchArena* arena, int depth);

#endif
