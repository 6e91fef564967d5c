#ifndef VESK_LAB_CENGINERUNNER_H
#define VESK_LAB_CENGINERUNNER_H

#include "LabMove.h"

#include <cstdint>

class CGameState;
class CSearchNode;

// Asks the game's opponent for a move, exactly as the game does (a fresh
// root holding a copy of the position, an empty state pool, ChooseMove with
// the given depth and noise), and measures the search.
class CEngineRunner
{
public:
    struct Result
    {
        bool     found = false;   // false only when the position is over
        LabMove  move;
        uint64_t nodes = 0;       // children created anywhere in the tree
        uint64_t draws = 0;       // numbers taken from the random table
        double   ms = 0.0;        // search plus freeing the tree, in processor
                                  // time so that other load on the machine
                                  // does not count
    };

    // Uses the table as it stands; callers fill it first. Sets the opponent's
    // depth and noise settings.
    static Result Choose(const CGameState& state, int depth, int noise);

    // Plays move on state through the rules: a pass, or the cell's count + 1.
    static void Apply(CGameState& state, const LabMove& move);

    static uint64_t CountNodes(const CSearchNode* node);
};

#endif
