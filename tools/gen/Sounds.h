#ifndef GEN_SOUNDS_H_INCLUDED
#define GEN_SOUNDS_H_INCLUDED

#include <string>
#include <vector>

namespace gen {

constexpr int SAMPLE_RATE = 44100;

// The game's four effects as mono samples at SAMPLE_RATE, each starting and
// ending on silence so that no click is heard when the mixer starts or stops
// it. Deterministic: the same samples on every run.
std::vector<float> MakeTick();     // hover and drag count: soft, very short
std::vector<float> MakeClack();    // a token set down on the board
std::vector<float> MakeChime();    // the game is over
std::vector<float> MakeWhoosh();   // a pass

// The bytes of a mono 16-bit PCM WAV at SAMPLE_RATE. Samples are in -1 .. 1;
// anything beyond is clipped rather than wrapped.
std::string EncodeWav(const std::vector<float>& samples);

} // namespace gen

#endif
