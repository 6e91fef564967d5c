#include "graphics/CSprite.h"

#include <SDL_opengl.h>

void CSprite::Draw() const
{
    // Corners bottom left, top left, top right, bottom right. A turned image's
    // left column is its place's top row and its top row the place's right
    // column: its texture corners turn back a quarter.
    const float x[4] = { -m_halfWidth, -m_halfWidth, m_halfWidth, m_halfWidth };
    const float y[4] = { -m_halfHeight, m_halfHeight, m_halfHeight, -m_halfHeight };
    const float u[4] = { m_u0, m_u0, m_u1, m_u1 };
    const float v[4] = { m_v1, m_v0, m_v0, m_v1 };
    const int first = m_turned ? 1 : 0;
    glBindTexture(GL_TEXTURE_2D, m_texId);
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(u[(i + first) % 4], v[(i + first) % 4]);
        glVertex2f(x[i], y[i]);
    }
    glEnd();
}
