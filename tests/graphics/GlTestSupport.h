#ifndef VESK_TESTS_GRAPHICS_GLTESTSUPPORT_H
#define VESK_TESTS_GRAPHICS_GLTESTSUPPORT_H

// A real 1024x768 OpenGL window with the game's projection, feedback
// capture, and image files made by hand for the sprite list.

#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Opens the window once per process; each test starts with the identity
// model-view matrix, texturing on, blending off, colour white, black screen.
class GlWindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }

    static SDL_Surface* s_screen;
};

// A vertex as GL_3D_COLOR_TEXTURE feedback reports it (window coordinates).
struct FeedbackVertex
{
    float x, y, z, r, g, b, a, s, t, p, q;
};
struct FeedbackPrimitive
{
    bool line;   // else a polygon
    std::vector<FeedbackVertex> vertices;
};
std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()>& draw);

GLint BoundTexture();

struct Rgba
{
    uint8_t r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};
std::ostream& operator<<(std::ostream& out, const Rgba& c);

// A texture's level 0, rows from its first.
std::vector<Rgba> ReadTexture(GLuint texture, int* width, int* height);

// Image files; pixel functions take (x, y) with y downwards.
using PixelFunction = std::function<Rgba(int x, int y)>;
bool WriteBmp24(const std::string& path, int w, int h, const PixelFunction& pixel);   // alpha dropped
bool WritePngRgba(const std::string& path, int w, int h, const PixelFunction& pixel);
// Paletted PNG whose palette entry 0 is marked fully transparent.
bool WritePngKeyed(const std::string& path, int w, int h, const std::vector<Rgba>& palette,
                   const std::function<int(int x, int y)>& index);

// A scratch folder, removed with its contents at the end.
struct TempDir
{
    TempDir();
    ~TempDir();
    std::string File(const std::string& name) const { return path + "/" + name; }
    void Write(const std::string& name, const std::string& bytes) const;
    std::string path;
};

#endif
