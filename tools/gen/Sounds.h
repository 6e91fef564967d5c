#ifndef GEN_SOUNDS_H_INCLUDED
#define GEN_SOUNDS_H_INCLUDED

#include <vector>

namespace gen {

// The game's four effects as mono samples at SAMPLE_RATE (Wav.h), each
// starting and ending on silence so that no click is heard when the mixer
// starts or stops it. Deterministic: the same samples on every run.
std::vector<float> MakeTick();     // hover and drag count: soft, very short
std::vector<float> MakeClack();    // a token set down on the board
std::vector<float> MakeChime();    // the game is over
std::vector<float> MakeWhoosh();   // a pass

// Scales the samples so that the largest magnitude is `peak`.
void Normalize(std::vector<float>& samples, float peak);

} // namespace gen

#endif
