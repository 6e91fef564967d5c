#ifndef VESK_LAB_BENCHSUITE_H
#define VESK_LAB_BENCHSUITE_H

#include <cstddef>

// Positions from engine-against-engine games, in notation: openings, middle
// games and endings with nearly empty stocks, both teams to move, and the
// heaviest searches of a game.
extern const char* const kBenchSuite[];
extern const size_t kBenchSuiteSize;

#endif
