#include "graphics/Texture.h"

#include "browser/Browser.h"

#include <SDL_opengl.h>

uint32_t UploadTexture(int32_t side, int32_t internalFormat, uint32_t format, const void* pixels)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    if (texture == 0)
        return 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);

    // One-byte texels make rows of `side` bytes, fewer than the default
    // alignment of 4 for tiny textures.
    GLint oldAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &oldAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int i = 0; i < 8 && glGetError() != GL_NO_ERROR; ++i)
    {
        // drop errors left by others, so the check below is ours
    }
    browser::TexImage(side, internalFormat, format, pixels);
    const GLenum error = glGetError();
    glPixelStorei(GL_UNPACK_ALIGNMENT, oldAlignment);
    if (error != GL_NO_ERROR)
    {
        glDeleteTextures(1, &texture);
        return 0;
    }
    return texture;
}
