#ifndef VESK_GRAPHICS_TEXTURE_H
#define VESK_GRAPHICS_TEXTURE_H

#include <cstdint>

// Uploads a square texture of `side` by `side` texels, rows packed with no
// padding, with the filtering every texture of the game uses (minified
// nearest, magnified linear, wrapped). `format` is the OpenGL pixel format
// of `pixels` (GL_RGBA or GL_ALPHA, unsigned bytes); `internalFormat` what
// the texture keeps. Returns the texture name, or 0 when OpenGL refused it:
// a texture without an image would draw blank as if it were loaded.
uint32_t UploadTexture(int32_t side, int32_t internalFormat, uint32_t format, const void* pixels);

#endif
