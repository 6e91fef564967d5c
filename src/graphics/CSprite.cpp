#include "graphics/CSprite.h"

#include <SDL_opengl.h>

void CSprite::Draw() const
{
    glBindTexture(GL_TEXTURE_2D, m_texId);
    glBegin(GL_QUADS);
    if (!m_turned) {
        glTexCoord2f(m_u0, m_v1);
        glVertex2f(-m_halfWidth, -m_halfHeight);
        glTexCoord2f(m_u0, m_v0);
        glVertex2f(-m_halfWidth, m_halfHeight);
        glTexCoord2f(m_u1, m_v0);
        glVertex2f(m_halfWidth, m_halfHeight);
        glTexCoord2f(m_u1, m_v1);
        glVertex2f(m_halfWidth, -m_halfHeight);
    } else {
        // The image's left column is the place's top row and its top row the
        // place's right column: turn the coordinates back a quarter.
        glTexCoord2f(m_u0, m_v0);
        glVertex2f(-m_halfWidth, -m_halfHeight);
        glTexCoord2f(m_u1, m_v0);
        glVertex2f(-m_halfWidth, m_halfHeight);
        glTexCoord2f(m_u1, m_v1);
        glVertex2f(m_halfWidth, m_halfHeight);
        glTexCoord2f(m_u0, m_v1);
        glVertex2f(m_halfWidth, -m_halfHeight);
    }
    glEnd();
}
