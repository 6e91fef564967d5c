#include "graphics/Shapes.h"

#include "browser/Browser.h"

#include <SDL_opengl.h>
#include <cmath>

namespace {

const int kCircleSegments = 32;

// Unit circle, counter-clockwise from the positive x axis, computed on first
// use; the last point repeats the first so outlines and bands close. Discs
// and rings share it: their vertices are the same either way.
struct UnitCircle
{
    float cosines[kCircleSegments + 1];
    float sines[kCircleSegments + 1];

    UnitCircle()
    {
        for (int i = 0; i <= kCircleSegments; ++i) {
            // In single precision, as the angle always was: the vertices of
            // every shape depend on it.
            const float angle = float(i + i) * 3.1415927f * 0.03125f;
            cosines[i] = std::cos(angle);
            sines[i] = std::sin(angle);
        }
    }
};

const UnitCircle& Circle()
{
    static const UnitCircle circle;
    return circle;
}

} // namespace

void DrawCircle(float radius, bool filled)
{
    const UnitCircle& unit = Circle();
    glBindTexture(GL_TEXTURE_2D, browser::NoTexture());   // no image: the current colour only
    if (filled) {
        glBegin(GL_TRIANGLE_FAN);
        glVertex2f(0.0f, 0.0f);
    } else {
        glBegin(GL_LINE_LOOP);
    }
    for (int i = 0; i <= kCircleSegments; ++i)
        glVertex2f(radius * unit.cosines[i], radius * unit.sines[i]);
    glEnd();
}

void DrawRing(float radius, float width)
{
    const UnitCircle& unit = Circle();
    glBindTexture(GL_TEXTURE_2D, browser::NoTexture());
    const float outer = radius + width;
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = 0; i <= kCircleSegments; ++i) {
        glVertex2f(radius * unit.cosines[i], radius * unit.sines[i]);
        glVertex2f(outer * unit.cosines[i], outer * unit.sines[i]);
    }
    glEnd();
}
