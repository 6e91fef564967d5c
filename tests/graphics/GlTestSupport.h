#ifndef VESK_TESTS_GRAPHICS_GLTESTSUPPORT_H
#define VESK_TESTS_GRAPHICS_GLTESTSUPPORT_H

// A real 1024x768 OpenGL window with the game's projection, OpenGL feedback
// capture, and hand-made image files for the sprite list.

#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Opens the window once per test process; every test starts with the
// identity model-view matrix, texturing on, blending off, colour white.
class GlWindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    static SDL_Surface* s_screen;
};

// One vertex as feedback mode reports it: window position, colour, texture.
struct FeedbackVertex
{
    float x, y, z;
    float r, g, b, a;
    float s, t;
};

struct FeedbackPrimitive
{
    enum Kind { Polygon, Line, Point } kind;
    std::vector<FeedbackVertex> vertices;
};

// Runs `draw` in GL_3D_COLOR_TEXTURE feedback mode and returns what it emitted.
std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()>& draw);

GLint BoundTexture();

struct Rgba
{
    uint8_t r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};
std::ostream& operator<<(std::ostream& out, const Rgba& c);

// Reads a square texture's level 0 back, rows from its first.
std::vector<Rgba> ReadTexture(GLuint texture, int* width, int* height);

// Image files. Pixel functions take (x, y) with y downwards from the top row.
using PixelFunction = std::function<Rgba(int x, int y)>;
bool WriteBmp24(const std::string& path, int w, int h, const PixelFunction& pixel);   // alpha ignored
bool WritePngRgba(const std::string& path, int w, int h, const PixelFunction& pixel);
// Paletted PNG whose palette entry `transparentIndex` is marked fully transparent.
bool WritePngPalette(const std::string& path, int w, int h, const std::vector<Rgba>& palette,
                     int transparentIndex, const std::function<int(int x, int y)>& index);

// A scratch folder removed with everything in it when the object goes.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    void Write(const std::string& name, const std::string& bytes) const;

private:
    std::string m_path;
};

#endif
