#include "Sounds.h"

#include <cassert>
#include <cstdint>
#include <cmath>
#include <functional>

namespace gen {

namespace {

constexpr float PI = 3.14159265358979f;

// xorshift32 on a nonzero state, -1 .. 1: the same noise on every machine, unlike rand().
float Noise(uint32_t& state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return float(state) / 2147483648.0f - 1.0f;
}

// Chamberlin state-variable filter's band-pass output.
struct BandPass
{
    float low = 0.0f, band = 0.0f;
    float Band(float in, float centreHz, float q)
    {
        float f = 2.0f * std::sin(PI * centreHz / float(SAMPLE_RATE));
        low += f * band;
        band += f * (in - low - (1.0f / q) * band);
        return band;
    }
};

size_t Samples(float seconds) { return size_t(seconds * float(SAMPLE_RATE)); }

// `seconds` of `sample(t)`, with short linear ramps at both ends (so the sound
// starts and stops on zero), scaled so that the largest magnitude is `peak`.
std::vector<float> Render(float seconds, float fadeIn, float fadeOut, float peak,
                          const std::function<float(float t)>& sample)
{
    std::vector<float> s(Samples(seconds));
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = sample(float(i) / float(SAMPLE_RATE));
    const size_t in = Samples(fadeIn), out = Samples(fadeOut);
    for (size_t i = 0; i < in && i < s.size(); ++i)
        s[i] *= float(i) / float(in);
    for (size_t i = 0; i < out && i < s.size(); ++i)
        s[s.size() - 1 - i] *= float(i) / float(out);
    float most = 0.0f;
    for (float v : s)
        most = std::fmax(most, std::fabs(v));
    assert(most > 0.0f);
    for (float& v : s)
        v *= peak / most;
    return s;
}

} // namespace

std::vector<float> MakeTick()
{
    uint32_t noise = 0x7e51u;
    BandPass bp;
    return Render(0.035f, 0.0004f, 0.008f, 0.30f, [&](float t) {
        float tone = std::sin(2.0f * PI * 3100.0f * t) * std::exp(-t / 0.0045f);
        float grit = bp.Band(Noise(noise), 5200.0f, 1.5f) * std::exp(-t / 0.0018f);
        return 0.65f * tone + 0.8f * grit;
    });
}

std::vector<float> MakeClack()
{
    uint32_t noise = 0xc1acu;
    BandPass bp;
    return Render(0.16f, 0.0003f, 0.02f, 0.75f, [&](float t) {
        // Partials of a small hard body: a little inharmonic, higher ones die first.
        const struct { float freq, amp, decay; } partials[] = {
            { 1730.0f, 1.0f, 0.020f }, { 2610.0f, 0.7f, 0.013f },
            { 3930.0f, 0.45f, 0.008f }, { 5270.0f, 0.3f, 0.005f } };
        float body = 0.0f;
        for (const auto& p : partials)
            body += p.amp * std::sin(2.0f * PI * p.freq * t) * std::exp(-t / p.decay);
        float thump = std::sin(2.0f * PI * 165.0f * t) * std::exp(-t / 0.022f);
        float hit = bp.Band(Noise(noise), 3000.0f, 0.8f) * std::exp(-t / 0.0015f);
        return 0.55f * body + 0.6f * thump + 1.2f * hit;
    });
}

std::vector<float> MakeChime()
{
    return Render(1.9f, 0.0f, 0.25f, 0.70f, [](float t) {
        // A rising major triad, struck one note after the other, bell-like.
        const struct { float freq, start; } notes[] = { { 659.25f, 0.0f }, { 783.99f, 0.12f }, { 1046.50f, 0.24f } };
        const struct { float ratio, amp, decay; } partials[] = {
            { 1.0f, 1.0f, 0.55f }, { 2.0f, 0.35f, 0.30f }, { 3.01f, 0.18f, 0.18f }, { 4.17f, 0.10f, 0.11f } };
        float v = 0.0f;
        for (const auto& n : notes) {
            float u = t - n.start;
            if (u < 0.0f)
                continue;
            float attack = std::fmin(1.0f, u / 0.004f);
            for (const auto& p : partials)
                v += attack * p.amp * std::sin(2.0f * PI * n.freq * p.ratio * u) * std::exp(-u / p.decay);
        }
        return v;
    });
}

std::vector<float> MakeWhoosh()
{
    uint32_t noise = 0x5a55u;
    BandPass bp;
    const float seconds = 0.48f, length = float(Samples(seconds)) / float(SAMPLE_RATE);   // in whole samples
    return Render(seconds, 0.002f, 0.01f, 0.55f, [&](float t) {
        float x = t / length;
        // The band sweeps up, as air past something moving fast.
        float centre = 320.0f * std::pow(7.0f, x);
        // Swells for a third of the time, then dies away.
        float env = x < 0.33f ? std::sin(0.5f * PI * x / 0.33f) : 0.5f + 0.5f * std::cos(PI * (x - 0.33f) / 0.67f);
        return env * bp.Band(Noise(noise), centre, 2.2f);
    });
}

std::string EncodeWav(const std::vector<float>& samples)
{
    std::string out;
    auto put = [&out](uint32_t v, int bytes) {   // little-endian
        for (int i = 0; i < bytes; ++i)
            out.push_back(char(v >> (8 * i)));
    };
    const uint32_t dataSize = uint32_t(samples.size() * 2);
    out += "RIFF";
    put(36 + dataSize, 4);
    out += "WAVEfmt ";
    put(16, 4);                // the format's size
    put(1, 2);                 // PCM
    put(1, 2);                 // mono
    put(SAMPLE_RATE, 4);
    put(SAMPLE_RATE * 2, 4);   // bytes per second
    put(2, 2);                 // bytes per frame
    put(16, 2);                // bits per sample
    out += "data";
    put(dataSize, 4);
    for (float s : samples)
        put(uint32_t(std::lround(std::fmax(-1.0f, std::fmin(1.0f, s)) * 32767.0f)), 2);
    return out;
}

} // namespace gen
