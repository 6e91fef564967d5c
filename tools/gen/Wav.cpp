#include "Wav.h"

#include <cmath>

namespace gen {

namespace {

void PutLE(std::vector<uint8_t>& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

void PutTag(std::vector<uint8_t>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

} // namespace

std::vector<uint8_t> EncodeWav(const std::vector<float>& samples)
{
    const uint32_t dataSize = uint32_t(samples.size() * 2);
    std::vector<uint8_t> out;
    PutTag(out, "RIFF");
    PutLE(out, 36 + dataSize, 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLE(out, 16, 4);
    PutLE(out, 1, 2);                        // PCM
    PutLE(out, 1, 2);                        // mono
    PutLE(out, SAMPLE_RATE, 4);
    PutLE(out, SAMPLE_RATE * 2, 4);          // bytes per second
    PutLE(out, 2, 2);                        // bytes per frame
    PutLE(out, 16, 2);                       // bits per sample
    PutTag(out, "data");
    PutLE(out, dataSize, 4);
    for (float s : samples)
    {
        float c = std::fmax(-1.0f, std::fmin(1.0f, s));
        long v = std::lround(c * 32767.0f);
        PutLE(out, uint32_t(int32_t(v)) & 0xFFFFu, 2);
    }
    return out;
}

} // namespace gen
