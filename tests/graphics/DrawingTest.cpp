// Sprite, disc, outline and ring, captured from the real OpenGL pipeline in
// feedback mode (window coordinates, origin bottom left).
#include "GlTestSupport.h"

#include "graphics/CSprite.h"
#include "graphics/Shapes.h"

#include <cmath>

namespace {

const float kCx = 512, kCy = 384;

struct Point
{
    float x, y;
};

Point Rim(float radius, int i)
{
    const double angle = 2 * M_PI * i / 32;
    return {kCx + float(radius * std::cos(angle)), kCy + float(radius * std::sin(angle))};
}

const FeedbackVertex* Find(const FeedbackPrimitive& p, Point at)
{
    for (const FeedbackVertex& v : p.vertices)
        if (std::fabs(v.x - at.x) < 0.01f && std::fabs(v.y - at.y) < 0.01f)
            return &v;
    return nullptr;
}

float SignedArea(const FeedbackPrimitive& p)
{
    float area = 0;
    for (size_t i = 0; i < p.vertices.size(); ++i) {
        const FeedbackVertex &a = p.vertices[i], &b = p.vertices[(i + 1) % p.vertices.size()];
        area += (a.x * b.y - b.x * a.y) / 2;
    }
    return area;
}

class DrawingTest : public GlWindowTest
{
protected:
    void SetUp() override
    {
        GlWindowTest::SetUp();
        glGenTextures(1, &m_texture);
        glBindTexture(GL_TEXTURE_2D, m_texture);
        glTranslatef(kCx, kCy, 0);
        glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    }
    void TearDown() override
    {
        glDeleteTextures(1, &m_texture);
        GlWindowTest::TearDown();
    }

    // Captures `draw`; every vertex must carry the caller's colour.
    std::vector<FeedbackPrimitive> Capture(const std::function<void()>& draw)
    {
        std::vector<FeedbackPrimitive> primitives = CaptureFeedback(draw);
        for (const FeedbackPrimitive& p : primitives)
            for (const FeedbackVertex& v : p.vertices)
                EXPECT_TRUE(std::fabs(v.r - 0.25f) + std::fabs(v.g - 0.5f) + std::fabs(v.b - 0.75f) +
                                std::fabs(v.a - 1) < 1e-3f);
        return primitives;
    }

    GLuint m_texture = 0;
};

// The quad covers its four corners once, with the texture coordinate given for each.
void ExpectQuad(const std::vector<FeedbackPrimitive>& primitives, const std::vector<std::pair<Point, Point>>& corners)
{
    float area = 0;
    size_t vertices = 0;
    for (const FeedbackPrimitive& p : primitives) {
        area += SignedArea(p);
        vertices += p.vertices.size();
        for (const auto& [at, st] : corners)
            if (const FeedbackVertex* v = Find(p, at)) {
                --vertices;
                EXPECT_TRUE(v->s == st.x && v->t == st.y) << "corner " << at.x << "," << at.y << ": " << v->s << "," << v->t;
            }
    }
    EXPECT_EQ(vertices, 0u) << "vertices away from the corners";
    EXPECT_NEAR(area, -64 * 32, 0.5f);   // bottom left, top left, top right, bottom right: clockwise
}

TEST_F(DrawingTest, sprite_is_a_quad_of_its_size_with_its_texture_corners)
{
    CSprite sprite;
    sprite.m_u0 = 0.25f, sprite.m_u1 = 0.5f, sprite.m_v0 = 0.125f, sprite.m_v1 = 0.75f;
    sprite.m_halfHeight = 16, sprite.m_halfWidth = 32;
    sprite.m_texId = m_texture;
    glBindTexture(GL_TEXTURE_2D, 0);
    GLfloat before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    // The image's top row (v0) along the upper edge, y = +16.
    ExpectQuad(Capture([&] { sprite.Draw(); }), {{{kCx - 32, kCy - 16}, {0.25f, 0.75f}},
                                                 {{kCx - 32, kCy + 16}, {0.25f, 0.125f}},
                                                 {{kCx + 32, kCy + 16}, {0.5f, 0.125f}},
                                                 {{kCx + 32, kCy - 16}, {0.5f, 0.75f}}});
    EXPECT_EQ(BoundTexture(), GLint(m_texture));
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_TRUE(std::equal(before, before + 16, after)) << "the matrix is the caller's";

    // Lying turned in the atlas: the image's top row is the place's right
    // column (u1), its left column the place's top row (v0).
    sprite.m_turned = true;
    ExpectQuad(Capture([&] { sprite.Draw(); }), {{{kCx - 32, kCy - 16}, {0.25f, 0.125f}},
                                                 {{kCx - 32, kCy + 16}, {0.5f, 0.125f}},
                                                 {{kCx + 32, kCy + 16}, {0.5f, 0.75f}},
                                                 {{kCx + 32, kCy - 16}, {0.25f, 0.75f}}});
}

TEST_F(DrawingTest, disc_and_outline_follow_the_unit_circle_counter_clockwise)
{
    // 34 vertices: the centre, then 33 rim points of which the last repeats the first.
    const std::vector<FeedbackPrimitive> fan = Capture([] { DrawCircle(60, true); });
    EXPECT_EQ(BoundTexture(), 0);
    ASSERT_EQ(fan.size(), 32u);
    for (int k = 0; k < 32; ++k) {
        ASSERT_FALSE(fan[k].line);
        EXPECT_EQ(fan[k].vertices.size(), 3u);
        EXPECT_TRUE(Find(fan[k], {kCx, kCy}) && Find(fan[k], Rim(60, k)) && Find(fan[k], Rim(60, k + 1))) << k;
        EXPECT_GT(SignedArea(fan[k]), 0) << k;
    }
    EXPECT_TRUE(Find(fan.back(), {kCx + 60, kCy}));

    // 33 vertices in a loop: 32 sides and a closing side of no length.
    glBindTexture(GL_TEXTURE_2D, m_texture);
    const std::vector<FeedbackPrimitive> loop = Capture([] { DrawCircle(5, false); });
    EXPECT_EQ(BoundTexture(), 0);
    ASSERT_EQ(loop.size(), 33u);
    for (int k = 0; k < 33; ++k) {
        ASSERT_TRUE(loop[k].line);
        EXPECT_TRUE(Find(loop[k], Rim(5, k)) && Find(loop[k], Rim(5, (k + 1) % 33))) << k;
    }
}

TEST_F(DrawingTest, ring_is_a_closed_band_between_two_radii)
{
    const std::vector<FeedbackPrimitive> band = Capture([] { DrawRing(50, 10); });
    EXPECT_EQ(BoundTexture(), 0);
    ASSERT_EQ(band.size(), 64u);   // 66 vertices in a strip
    for (int k = 0; k < 64; ++k) {
        // Strip vertex 2j is inner point j, 2j + 1 outer point j.
        for (int v = k; v < k + 3; ++v)
            EXPECT_TRUE(Find(band[k], Rim(v % 2 ? 60 : 50, v / 2))) << "triangle " << k << " vertex " << v;
        EXPECT_GT(SignedArea(band[k]), 0) << k;
    }

    // Zero width is a band of no area, not an error: what is emitted lies on the circle.
    for (const FeedbackPrimitive& p : Capture([] { DrawRing(40, 0); }))
        for (const FeedbackVertex& v : p.vertices)
            EXPECT_NEAR(std::hypot(v.x - kCx, v.y - kCy), 40.0f, 0.01f);
}

} // namespace
