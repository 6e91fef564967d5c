#ifndef VESK_TESTS_SUPPORT_POSITION_H
#define VESK_TESTS_SUPPORT_POSITION_H

// A position of the standard board written in vesk-lab's notation
// ("g1--/----/--s2--/----/--- g 0"), reached by playing it through the rules.
#include "Notation.h"
#include "game/CGameState.h"

#include <gtest/gtest.h>

inline CGameState Position(const std::string& text)
{
    CGameState state(3, 2);
    std::string error;
    EXPECT_TRUE(CNotation::ParseState(text, state, error)) << text << ": " << error;
    return state;
}

#endif
