#ifndef VESK_OPPONENT_SEARCH_H
#define VESK_OPPONENT_SEARCH_H

#include <list>

class CGameState;
class CSearchNode;

// Spare states the search may reuse instead of allocating; owned by the caller,
// who deletes what is left after the search.
typedef std::list<CGameState*> StatePool;

// Strength settings, written by the menu before a game starts.
extern int g_searchDepth;   // plies below the position to move from
extern int g_evalNoise;     // N: every leaf gets a random term in -N..+N

// The opponent's entry point: the chosen child of root, or null when root got none.
CSearchNode* ChooseMove(CSearchNode* root, StatePool* pool);

int  Search(CSearchNode* node, CSearchNode** best, int alpha, int beta, StatePool* pool, int depth);
void ExpandNode(CSearchNode* node, StatePool* pool, int depth);

#endif
