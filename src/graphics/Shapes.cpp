#include "graphics/Shapes.h"

#include <SDL_opengl.h>
#include <cmath>

namespace {

const int kCircleSegments = 32;

// Unit circle, counter-clockwise from the positive x axis; the last point
// repeats the first so outlines and bands close.
struct UnitCircle
{
    bool  dirty = true;   // not yet computed
    float cosines[kCircleSegments + 1];
    float sines[kCircleSegments + 1];

    void Fill()
    {
        if (!dirty)
            return;
        for (int i = 0; i <= kCircleSegments; ++i) {
            // In single precision, as the angle always was: the vertices of
            // every shape depend on it.
            const float angle = float(i + i) * 3.1415927f * 0.03125f;
            cosines[i] = std::cos(angle);
            sines[i] = std::sin(angle);
        }
        dirty = false;
    }
};

UnitCircle g_circleTable;
UnitCircle g_ringTable;

} // namespace

void DrawCircle(float radius, bool filled)
{
    g_circleTable.Fill();
    glBindTexture(GL_TEXTURE_2D, 0);   // no image: the current colour only
    if (filled) {
        glBegin(GL_TRIANGLE_FAN);
        glVertex2f(0.0f, 0.0f);
    } else {
        glBegin(GL_LINE_LOOP);
    }
    for (int i = 0; i <= kCircleSegments; ++i)
        glVertex2f(radius * g_circleTable.cosines[i], radius * g_circleTable.sines[i]);
    glEnd();
}

void DrawRing(float radius, float width)
{
    g_ringTable.Fill();
    glBindTexture(GL_TEXTURE_2D, 0);
    const float outer = radius + width;
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = 0; i <= kCircleSegments; ++i) {
        glVertex2f(radius * g_ringTable.cosines[i], radius * g_ringTable.sines[i]);
        glVertex2f(outer * g_ringTable.cosines[i], outer * g_ringTable.sines[i]);
    }
    glEnd();
}
