#pragma once

// What immediate-mode drawing emits, caught in feedback mode: each primitive in window coordinates with colour and
// texture coordinates (quads as polygons, lines as ends); a full buffer or an unknown token stops the program.

#include <GL/gl.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

struct FeedbackVertex { float x, y, r, g, b, a, s, t; };
inline bool operator==(const FeedbackVertex& a, const FeedbackVertex& b) { return !std::memcmp(&a, &b, sizeof a); }
typedef std::vector<FeedbackVertex> FeedbackPrimitive;

inline std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()>& draw)
{
    static std::vector<GLfloat> buffer(1 << 22);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data()), glRenderMode(GL_FEEDBACK), draw();
    const GLint count = glRenderMode(GL_RENDER);
    if (count < 0) std::fprintf(stderr, "feedback: the buffer is full\n"), std::abort();
    std::vector<FeedbackPrimitive> primitives;
    for (GLint i = 0; i < count;) {
        const GLint token = GLint(buffer[i++]);
        const int vertices = token == GL_POLYGON_TOKEN ? int(buffer[i++])
                           : token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN ? 2 : token == GL_POINT_TOKEN ? 1 : -1;
        if (vertices < 0) std::fprintf(stderr, "feedback: unknown token %d\n", int(token)), std::abort();
        primitives.emplace_back();
        for (int k = 0; k < vertices; ++k, i += 11)   // x y z, r g b a, s t p q
            primitives.back().push_back({buffer[i], buffer[i + 1], buffer[i + 3], buffer[i + 4], buffer[i + 5], buffer[i + 6],
                                         buffer[i + 7], buffer[i + 8]});
    }
    return primitives;
}

// The test process's OpenGL window, opened on first use, one unit a pixel, y up; each call resets matrices, texturing on.
inline bool OpenGlWindow()
{
    static const bool open = SDL_Init(SDL_INIT_VIDEO) == 0 && SDL_SetVideoMode(1024, 768, 32, SDL_OPENGL);
    glMatrixMode(GL_PROJECTION), glLoadIdentity(), glOrtho(0, 1024, 0, 768, -1, 1);
    glMatrixMode(GL_MODELVIEW), glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    return open;
}

