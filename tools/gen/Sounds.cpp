#include "Sounds.h"
#include "Wav.h"

#include <cmath>
#include <cstdint>

namespace gen {

namespace {

constexpr float PI = 3.14159265358979f;

// xorshift32: the same noise on every machine, unlike rand().
class Noise
{
public:
    explicit Noise(uint32_t seed) : m_state(seed ? seed : 1u) {}
    float Next()   // -1 .. 1
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return float(m_state) / 2147483648.0f - 1.0f;
    }

private:
    uint32_t m_state;
};

// Chamberlin state-variable filter; `Band` gives the band-pass output.
class BandPass
{
public:
    float Band(float in, float centreHz, float q)
    {
        float f = 2.0f * std::sin(PI * centreHz / float(SAMPLE_RATE));
        m_low += f * m_band;
        float high = in - m_low - (1.0f / q) * m_band;
        m_band += f * high;
        return m_band;
    }

private:
    float m_low = 0.0f;
    float m_band = 0.0f;
};

std::vector<float> Silence(float seconds)
{
    return std::vector<float>(size_t(seconds * float(SAMPLE_RATE)), 0.0f);
}

float Time(size_t i)
{
    return float(i) / float(SAMPLE_RATE);
}

// Short linear ramps at both ends: the sound starts and stops on zero.
void Fade(std::vector<float>& s, float inSeconds, float outSeconds)
{
    size_t in = size_t(inSeconds * float(SAMPLE_RATE));
    size_t out = size_t(outSeconds * float(SAMPLE_RATE));
    for (size_t i = 0; i < in && i < s.size(); ++i)
        s[i] *= float(i) / float(in);
    for (size_t i = 0; i < out && i < s.size(); ++i)
        s[s.size() - 1 - i] *= float(i) / float(out);
}

} // namespace

void Normalize(std::vector<float>& samples, float peak)
{
    float most = 0.0f;
    for (float v : samples)
        most = std::fmax(most, std::fabs(v));
    if (most <= 0.0f)
        return;
    float k = peak / most;
    for (float& v : samples)
        v *= k;
}

std::vector<float> MakeTick()
{
    std::vector<float> s = Silence(0.035f);
    Noise noise(0x7e51u);
    BandPass bp;
    for (size_t i = 0; i < s.size(); ++i)
    {
        float t = Time(i);
        float tone = std::sin(2.0f * PI * 3100.0f * t) * std::exp(-t / 0.0045f);
        float grit = bp.Band(noise.Next(), 5200.0f, 1.5f) * std::exp(-t / 0.0018f);
        s[i] = 0.65f * tone + 0.8f * grit;
    }
    Fade(s, 0.0004f, 0.008f);
    Normalize(s, 0.30f);
    return s;
}

std::vector<float> MakeClack()
{
    std::vector<float> s = Silence(0.16f);
    Noise noise(0xc1acu);
    BandPass bp;
    // Partials of a small hard body: a little inharmonic, higher ones die first.
    const float freq[] = { 1730.0f, 2610.0f, 3930.0f, 5270.0f };
    const float amp[] = { 1.0f, 0.7f, 0.45f, 0.3f };
    const float decay[] = { 0.020f, 0.013f, 0.008f, 0.005f };
    for (size_t i = 0; i < s.size(); ++i)
    {
        float t = Time(i);
        float body = 0.0f;
        for (int k = 0; k < 4; ++k)
            body += amp[k] * std::sin(2.0f * PI * freq[k] * t) * std::exp(-t / decay[k]);
        float thump = std::sin(2.0f * PI * 165.0f * t) * std::exp(-t / 0.022f);
        float hit = bp.Band(noise.Next(), 3000.0f, 0.8f) * std::exp(-t / 0.0015f);
        s[i] = 0.55f * body + 0.6f * thump + 1.2f * hit;
    }
    Fade(s, 0.0003f, 0.02f);
    Normalize(s, 0.75f);
    return s;
}

std::vector<float> MakeChime()
{
    std::vector<float> s = Silence(1.9f);
    // A rising major triad, struck one note after the other, bell-like.
    const float notes[] = { 659.25f, 783.99f, 1046.50f };
    const float starts[] = { 0.0f, 0.12f, 0.24f };
    const float ratio[] = { 1.0f, 2.0f, 3.01f, 4.17f };
    const float amp[] = { 1.0f, 0.35f, 0.18f, 0.10f };
    const float decay[] = { 0.55f, 0.30f, 0.18f, 0.11f };
    for (size_t i = 0; i < s.size(); ++i)
    {
        float t = Time(i);
        float v = 0.0f;
        for (int n = 0; n < 3; ++n)
        {
            float u = t - starts[n];
            if (u < 0.0f)
                continue;
            float attack = std::fmin(1.0f, u / 0.004f);
            for (int k = 0; k < 4; ++k)
                v += attack * amp[k] * std::sin(2.0f * PI * notes[n] * ratio[k] * u) *
                     std::exp(-u / decay[k]);
        }
        s[i] = v;
    }
    Fade(s, 0.0f, 0.25f);
    Normalize(s, 0.70f);
    return s;
}

std::vector<float> MakeWhoosh()
{
    std::vector<float> s = Silence(0.48f);
    Noise noise(0x5a55u);
    BandPass bp;
    const float length = Time(s.size());
    for (size_t i = 0; i < s.size(); ++i)
    {
        float t = Time(i);
        float x = t / length;
        // The band sweeps up, as air past something moving fast.
        float centre = 320.0f * std::pow(7.0f, x);
        // Swells for a third of the time, then dies away.
        float env = x < 0.33f ? std::sin(0.5f * PI * x / 0.33f)
                              : 0.5f + 0.5f * std::cos(PI * (x - 0.33f) / 0.67f);
        s[i] = env * bp.Band(noise.Next(), centre, 2.2f);
    }
    Fade(s, 0.002f, 0.01f);
    Normalize(s, 0.55f);
    return s;
}

} // namespace gen
