#ifndef GEN_WAV_H_INCLUDED
#define GEN_WAV_H_INCLUDED

#include <cstdint>
#include <vector>

namespace gen {

constexpr int SAMPLE_RATE = 44100;

// Encodes mono 16-bit PCM at SAMPLE_RATE. Samples are in -1 .. 1; anything
// beyond is clipped rather than wrapped.
std::vector<uint8_t> EncodeWav(const std::vector<float>& samples);

} // namespace gen

#endif
