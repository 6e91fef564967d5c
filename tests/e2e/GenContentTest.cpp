// What the generated pictures and sounds must be like to work in the game:
// token edges that blend, a backdrop that the board and texts read on,
// sounds that start and stop without clicks and differ as their uses do.
#include "Art.h"
#include "Sounds.h"
#include "Wav.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// Relative luminance as the contrast guidelines define it.
double Luminance(double r, double g, double b)
{
    auto lin = [](double c) {
        c /= 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(r) + 0.7152 * lin(g) + 0.0722 * lin(b);
}

double Contrast(double la, double lb)
{
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Mean colour of a rectangle of the backdrop, in image rows (top down).
gen::Rgba MeanColour(const gen::Image& img, int x0, int y0, int w, int h)
{
    double r = 0, g = 0, b = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
        {
            r += img.at(x, y).r;
            g += img.at(x, y).g;
            b += img.at(x, y).b;
        }
    double n = double(w) * h;
    return { uint8_t(r / n), uint8_t(g / n), uint8_t(b / n), 255 };
}

double LuminanceOf(const gen::Rgba& c, double darken = 0.0)
{
    return Luminance(c.r * (1 - darken), c.g * (1 - darken), c.b * (1 - darken));
}

TEST(TokenArt, tokens_are_discs_with_soft_edges_and_no_dark_fringe)
{
    for (gen::Metal metal : { gen::METAL_SILVER, gen::METAL_GOLD })
    {
        gen::Image t = gen::PaintToken(metal, gen::TOKEN_SIZE, gen::TOKEN_RADIUS);
        ASSERT_EQ(t.width(), gen::TOKEN_SIZE);
        ASSERT_EQ(t.height(), gen::TOKEN_SIZE);
        const int c = gen::TOKEN_SIZE / 2;
        EXPECT_EQ(t.at(0, 0).a, 0);
        EXPECT_EQ(t.at(gen::TOKEN_SIZE - 1, gen::TOKEN_SIZE - 1).a, 0);
        EXPECT_EQ(t.at(c, c).a, 255);

        // The covered area is the disc's, and its rim is antialiased.
        double area = 0;
        int partial = 0;
        for (int y = 0; y < t.height(); ++y)
            for (int x = 0; x < t.width(); ++x)
            {
                area += t.at(x, y).a / 255.0;
                partial += t.at(x, y).a > 0 && t.at(x, y).a < 255;
            }
        const double disc = 3.14159265 * gen::TOKEN_RADIUS * gen::TOKEN_RADIUS;
        EXPECT_NEAR(area, disc, disc * 0.01);
        EXPECT_GT(partial, 60);

        // Transparent pixels carry the rim's colour, not black: linear
        // filtering of a turned token must not draw a dark outline.
        const gen::Rgba& out = t.at(0, c);
        EXPECT_EQ(out.a, 0);
        EXPECT_GT(out.r + out.g + out.b, 150);
    }
}

// The sides must differ at a glance: gold is warm, silver neutral, and the
// emblems differ in shape (the hexagon's corners vs the ring's round edge).
TEST(TokenArt, gold_and_silver_differ_in_colour_and_emblem)
{
    gen::Image g = gen::PaintToken(gen::METAL_GOLD, gen::TOKEN_SIZE, gen::TOKEN_RADIUS);
    gen::Image s = gen::PaintToken(gen::METAL_SILVER, gen::TOKEN_SIZE, gen::TOKEN_RADIUS);
    gen::Rgba gm = MeanColour(g, 13, 13, 20, 20), sm = MeanColour(s, 13, 13, 20, 20);
    EXPECT_GT(gm.r - gm.b, 60);
    EXPECT_LT(std::abs(sm.r - sm.b), 20);

    int differing = 0;
    for (int y = 0; y < gen::TOKEN_SIZE; ++y)
        for (int x = 0; x < gen::TOKEN_SIZE; ++x)
        {
            // Compare brightness only, so colour alone does not count.
            int lg = g.at(x, y).r + g.at(x, y).g + g.at(x, y).b;
            int ls = s.at(x, y).r + s.at(x, y).g + s.at(x, y).b;
            differing += std::abs(lg / 3 - ls / 3) > 40;
        }
    EXPECT_GT(differing, 40);
}

// Tokens are drawn turned to their place in a stack; a picture lit from one
// side would look different (engraved instead of raised) when turned by half
// a turn. The shading must be the same both ways round.
TEST(TokenArt, shading_survives_a_half_turn)
{
    gen::Image t = gen::PaintToken(gen::METAL_SILVER, gen::TOKEN_SIZE, gen::TOKEN_RADIUS);
    const int n = gen::TOKEN_SIZE;
    int worst = 0;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
        {
            const gen::Rgba& a = t.at(x, y);
            const gen::Rgba& b = t.at(n - 1 - x, n - 1 - y);
            if (a.a == 255 && b.a == 255)
                worst = std::max(worst, std::abs(a.r - b.r));
        }
    EXPECT_LE(worst, 3);
}

// The board's discs (20 % and 36 % black), the white labels in the corners
// and the scores in gold and silver at the bottom must all stand out.
TEST(BackdropArt, board_discs_and_texts_read_on_the_backdrop)
{
    gen::Image bg = gen::PaintBackground();
    ASSERT_EQ(bg.width(), 1024);
    ASSERT_EQ(bg.height(), 768);
    for (int y = 0; y < 768; y += 37)
        for (int x = 0; x < 1024; x += 41)
            ASSERT_EQ(bg.at(x, y).a, 255);

    // Under the middle cell, and under an outer one.
    for (auto [x, y] : { std::pair{ 482, 354 }, std::pair{ 312, 649 } })
    {
        gen::Rgba m = MeanColour(bg, x, y, 60, 60);
        double open = LuminanceOf(m), rim = LuminanceOf(m, 0.2), hole = LuminanceOf(m, 0.36);
        EXPECT_GT(Contrast(open, rim), 1.25) << x << "," << y;
        EXPECT_GT(Contrast(rim, hole), 1.15) << x << "," << y;
        // Silver tokens inside the hole.
        EXPECT_GT(Contrast(Luminance(178, 182, 190), hole), 4.5);
    }

    // Texts: "Player"/"Move" top left, "Opponent" top right (white), the
    // scores bottom left (gold) and bottom right (silver).
    const double white = Luminance(255, 255, 255);
    EXPECT_GT(Contrast(white, LuminanceOf(MeanColour(bg, 10, 0, 150, 80))), 4.5);
    EXPECT_GT(Contrast(white, LuminanceOf(MeanColour(bg, 874, 0, 150, 80))), 4.5);
    EXPECT_GT(Contrast(Luminance(216, 178, 120), LuminanceOf(MeanColour(bg, 20, 710, 150, 40))), 4.5);
    EXPECT_GT(Contrast(Luminance(178, 178, 178), LuminanceOf(MeanColour(bg, 874, 710, 150, 40))), 4.5);
    // The menu's labels on the left, white and the hovered one red.
    gen::Rgba menu = MeanColour(bg, 130, 284, 160, 200);
    EXPECT_GT(Contrast(white, LuminanceOf(menu)), 4.5);
    EXPECT_GT(Contrast(Luminance(255, 0, 0), LuminanceOf(menu)), 1.5);
}

// The backdrop is calm: neighbouring pixels never jump far.
TEST(BackdropArt, backdrop_has_no_hard_edges)
{
    gen::Image bg = gen::PaintBackground();
    int worst = 0;
    for (int y = 1; y < 768; ++y)
        for (int x = 1; x < 1024; ++x)
        {
            worst = std::max(worst, std::abs(bg.at(x, y).g - bg.at(x - 1, y).g));
            worst = std::max(worst, std::abs(bg.at(x, y).g - bg.at(x, y - 1).g));
        }
    EXPECT_LE(worst, 10);
}

// --- Sounds ---------------------------------------------------------------

struct Stats
{
    double seconds = 0, peak = 0, rms = 0, mean = 0;
    float first = 0, last = 0;
};

Stats Measure(const std::vector<float>& s)
{
    Stats st;
    st.seconds = double(s.size()) / gen::SAMPLE_RATE;
    for (float v : s)
    {
        st.peak = std::max(st.peak, double(std::fabs(v)));
        st.rms += double(v) * v;
        st.mean += v;
    }
    st.rms = std::sqrt(st.rms / double(s.size()));
    st.mean /= double(s.size());
    st.first = s.front();
    st.last = s.back();
    return st;
}

// Zero crossings per second over a stretch: about twice the main pitch.
double CrossingRate(const std::vector<float>& s, size_t from, size_t to)
{
    int n = 0;
    for (size_t i = from + 1; i < to; ++i)
        n += (s[i - 1] < 0.0f) != (s[i] < 0.0f);
    return n * double(gen::SAMPLE_RATE) / double(to - from);
}

TEST(Sounds, every_effect_starts_and_ends_silent_without_offset)
{
    for (auto make : { gen::MakeTick, gen::MakeClack, gen::MakeChime, gen::MakeWhoosh })
    {
        std::vector<float> s = make();
        ASSERT_FALSE(s.empty());
        Stats st = Measure(s);
        EXPECT_LT(std::fabs(st.first), 1e-3);
        EXPECT_LT(std::fabs(st.last), 1e-3);
        EXPECT_LT(std::fabs(st.mean), 0.01);
        EXPECT_LE(st.peak, 0.8);          // headroom: several sounds may overlap
        EXPECT_GT(st.rms, 0.01);          // and each is heard
        EXPECT_EQ(make(), s);             // remade identically
    }
}

// The hover tick plays on every motion over a new entry: it must be much
// shorter and softer than the placement clack; the chime rings longest.
TEST(Sounds, lengths_and_loudness_follow_their_use)
{
    Stats tick = Measure(gen::MakeTick()), clack = Measure(gen::MakeClack());
    Stats chime = Measure(gen::MakeChime()), whoosh = Measure(gen::MakeWhoosh());
    EXPECT_LT(tick.seconds, 0.06);
    EXPECT_LT(tick.peak, clack.peak * 0.6);
    EXPECT_LT(clack.seconds, 0.25);
    EXPECT_GT(whoosh.seconds, 0.3);
    EXPECT_LT(whoosh.seconds, 0.7);
    EXPECT_GT(chime.seconds, 1.0);
    EXPECT_LT(chime.seconds, 2.5);
}

// The chime's first note is an E (659 Hz) before the second comes in; the
// whoosh rises in pitch from its start to its end.
TEST(Sounds, chime_pitch_and_whoosh_sweep)
{
    std::vector<float> chime = gen::MakeChime();
    double rate = CrossingRate(chime, 441, 4410);   // 10 ms .. 100 ms
    EXPECT_NEAR(rate / 2.0, 659.25, 659.25 * 0.06);

    std::vector<float> whoosh = gen::MakeWhoosh();
    size_t n = whoosh.size();
    EXPECT_GT(CrossingRate(whoosh, n * 3 / 4, n), 2.0 * CrossingRate(whoosh, 0, n / 4));
}

} // namespace
