// Sprite, disc, outline and ring drawing, captured from the real OpenGL
// pipeline in feedback mode (window coordinates, origin bottom left).
#include "GlTestSupport.h"

#include "graphics/CSprite.h"
#include "graphics/Shapes.h"

#include <cmath>

namespace {

const float kCx = 512, kCy = 384;
const float kTolerance = 0.01f;

struct Point
{
    float x, y;
};

Point Rim(float radius, int i)
{
    const double angle = 2.0 * 3.14159265358979 * i / 32;
    return {kCx + float(radius * std::cos(angle)), kCy + float(radius * std::sin(angle))};
}

bool Near(const FeedbackVertex& v, Point p)
{
    return std::fabs(v.x - p.x) < kTolerance && std::fabs(v.y - p.y) < kTolerance;
}

bool HasVertex(const FeedbackPrimitive& primitive, Point p)
{
    for (const FeedbackVertex& v : primitive.vertices)
        if (Near(v, p))
            return true;
    return false;
}

float SignedArea(const FeedbackPrimitive& p)
{
    float area = 0;
    for (size_t i = 0; i < p.vertices.size(); ++i) {
        const FeedbackVertex& a = p.vertices[i];
        const FeedbackVertex& b = p.vertices[(i + 1) % p.vertices.size()];
        area += a.x * b.y - b.x * a.y;
    }
    return area / 2;
}

class DrawingTest : public GlWindowTest
{
protected:
    void SetUp() override
    {
        GlWindowTest::SetUp();
        glGenTextures(1, &m_texture);
        glBindTexture(GL_TEXTURE_2D, m_texture);
        const GLubyte white[4] = {255, 255, 255, 255};
        glTexImage2D(GL_TEXTURE_2D, 0, 4, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
        glTranslatef(kCx, kCy, 0);
        glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    }
    void TearDown() override
    {
        glDeleteTextures(1, &m_texture);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    // Every vertex carries the caller's colour: drawing sets none of its own.
    void ExpectCallerColour(const std::vector<FeedbackPrimitive>& primitives)
    {
        for (const FeedbackPrimitive& p : primitives)
            for (const FeedbackVertex& v : p.vertices) {
                EXPECT_NEAR(v.r, 0.25f, 1e-3);
                EXPECT_NEAR(v.g, 0.5f, 1e-3);
                EXPECT_NEAR(v.b, 0.75f, 1e-3);
                EXPECT_NEAR(v.a, 1.0f, 1e-3);
            }
    }

    GLuint m_texture = 0;
};

struct Corner
{
    Point at;
    float s, t;
};

void ExpectQuad(const std::vector<FeedbackPrimitive>& primitives, const std::vector<Corner>& corners)
{
    float area = 0;
    for (const FeedbackPrimitive& p : primitives) {
        ASSERT_EQ(p.kind, FeedbackPrimitive::Polygon);
        area += SignedArea(p);
        for (const FeedbackVertex& v : p.vertices) {
            bool matched = false;
            for (const Corner& c : corners)
                if (Near(v, c.at)) {
                    matched = true;
                    EXPECT_NEAR(v.s, c.s, 1e-6) << "at " << v.x << "," << v.y;
                    EXPECT_NEAR(v.t, c.t, 1e-6) << "at " << v.x << "," << v.y;
                }
            EXPECT_TRUE(matched) << "stray vertex " << v.x << "," << v.y;
        }
    }
    for (const Corner& c : corners) {
        bool found = false;
        for (const FeedbackPrimitive& p : primitives)
            found |= HasVertex(p, c.at);
        EXPECT_TRUE(found) << "corner " << c.at.x << "," << c.at.y;
    }
    // Covered once; bottom left, top left, top right, bottom right runs clockwise.
    EXPECT_NEAR(area, -64 * 32, 0.5f);
}

TEST_F(DrawingTest, sprite_is_a_quad_of_its_size_with_its_texture_corners)
{
    CSprite sprite;
    sprite.m_u0 = 0.25f;
    sprite.m_u1 = 0.5f;
    sprite.m_v0 = 0.125f;
    sprite.m_v1 = 0.75f;
    sprite.m_halfHeight = 16;
    sprite.m_halfWidth = 32;
    sprite.m_texId = m_texture;

    GLfloat before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    glBindTexture(GL_TEXTURE_2D, 0);
    auto upright = CaptureFeedback([&] { sprite.Draw(); });
    EXPECT_EQ(BoundTexture(), GLint(m_texture));
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(before[i], after[i]);
    // The image's top row (v0) on the upper edge, y = +16.
    ExpectQuad(upright, {{{kCx - 32, kCy - 16}, 0.25f, 0.75f},
                         {{kCx - 32, kCy + 16}, 0.25f, 0.125f},
                         {{kCx + 32, kCy + 16}, 0.5f, 0.125f},
                         {{kCx + 32, kCy - 16}, 0.5f, 0.75f}});
    ExpectCallerColour(upright);

    // A sprite lying turned in the atlas: its top row is the place's right
    // column (u1), its left column the place's top row (v0).
    sprite.m_turned = true;
    auto turned = CaptureFeedback([&] { sprite.Draw(); });
    ExpectQuad(turned, {{{kCx - 32, kCy - 16}, 0.25f, 0.125f},
                        {{kCx - 32, kCy + 16}, 0.5f, 0.125f},
                        {{kCx + 32, kCy + 16}, 0.5f, 0.75f},
                        {{kCx + 32, kCy - 16}, 0.25f, 0.75f}});
}

TEST_F(DrawingTest, disc_is_a_fan_of_32_triangles_from_the_centre)
{
    glBindTexture(GL_TEXTURE_2D, m_texture);
    auto fan = CaptureFeedback([] { DrawCircle(60, true); });
    EXPECT_EQ(BoundTexture(), 0);
    ASSERT_EQ(fan.size(), 32u);   // 34 vertices: centre, 33 rim points
    for (int k = 0; k < 32; ++k) {
        ASSERT_EQ(fan[k].kind, FeedbackPrimitive::Polygon);
        ASSERT_EQ(fan[k].vertices.size(), 3u);
        EXPECT_TRUE(HasVertex(fan[k], {kCx, kCy})) << k;
        EXPECT_TRUE(HasVertex(fan[k], Rim(60, k))) << k;
        EXPECT_TRUE(HasVertex(fan[k], Rim(60, k + 1))) << k;
        EXPECT_GT(SignedArea(fan[k]), 0) << "counter-clockwise, triangle " << k;
    }
    // The second vertex and the last are both (60, 0).
    EXPECT_TRUE(HasVertex(fan.front(), {kCx + 60, kCy}));
    EXPECT_TRUE(HasVertex(fan.back(), {kCx + 60, kCy}));
    ExpectCallerColour(fan);

    // The table is reused, and scaled by each call's radius.
    auto small = CaptureFeedback([] { DrawCircle(5, true); });
    ASSERT_EQ(small.size(), 32u);
    EXPECT_TRUE(HasVertex(small[7], Rim(5, 8)));
}

TEST_F(DrawingTest, outline_is_a_closed_loop_of_33_points)
{
    glBindTexture(GL_TEXTURE_2D, m_texture);
    auto loop = CaptureFeedback([] { DrawCircle(60, false); });
    EXPECT_EQ(BoundTexture(), 0);
    // 33 vertices in a loop: 32 sides, and a closing side of no length from
    // the repeated first point back to the first.
    ASSERT_EQ(loop.size(), 33u);
    for (int k = 0; k < 33; ++k) {
        ASSERT_EQ(loop[k].kind, FeedbackPrimitive::Line);
        EXPECT_TRUE(Near(loop[k].vertices[0], Rim(60, k % 33))) << k;
        EXPECT_TRUE(Near(loop[k].vertices[1], Rim(60, (k + 1) % 33))) << k;
    }
    ExpectCallerColour(loop);
}

TEST_F(DrawingTest, ring_is_a_closed_band_between_two_radii)
{
    glBindTexture(GL_TEXTURE_2D, m_texture);
    auto band = CaptureFeedback([] { DrawRing(50, 10); });
    EXPECT_EQ(BoundTexture(), 0);
    ASSERT_EQ(band.size(), 64u);   // 66 vertices in a strip
    for (int k = 0; k < 64; ++k) {
        ASSERT_EQ(band[k].vertices.size(), 3u);
        // Strip vertex 2j is the inner point j, 2j + 1 the outer point j.
        for (int v = k; v < k + 3; ++v)
            EXPECT_TRUE(HasVertex(band[k], Rim(v % 2 ? 60 : 50, v / 2))) << "triangle " << k << " vertex " << v;
        EXPECT_GT(SignedArea(band[k]), 0) << k;
    }
    ExpectCallerColour(band);

    // Zero width is a band of no area, not an error: whatever is emitted
    // lies on the one circle.
    auto flat = CaptureFeedback([] { DrawRing(40, 0); });
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    for (const FeedbackPrimitive& p : flat)
        for (const FeedbackVertex& v : p.vertices)
            EXPECT_NEAR(std::hypot(v.x - kCx, v.y - kCy), 40.0f, kTolerance);
}

} // namespace
