// Font loading from arbitrary bytes, through the font manager as the game
// loads "Data\36DAYSAG.TTF": FreeType's parsing plus our own glyph
// packing, texture filling and drawing. Needs an X display (Xvfb) for the
// OpenGL context the texture lives in.
//
// What must hold for every file: no crash, no undefined behaviour, nothing
// leaked; a font that loads has a square power-of-two texture with row 0 and
// column 0 empty, and every byte's quad samples only its own part of it.
#include "FuzzTempFile.h"
#include "text/CFontManager.h"
#include "text/CTextureFont.h"

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const float kSize = 40.0f;   // the game's size

[[noreturn]] void Fail(const char* what, int code = -1)
{
    std::fprintf(stderr, "font: %s (byte %d)\n", what, code);
    std::abort();
}

struct TexRect { float s0, t0, s1, t1; };

// The texture coordinates one byte's quad uses, caught in feedback mode so
// nothing depends on where the pen ends up.
bool CaptureQuad(const CTextureFont& font, int code, TexRect& out)
{
    static std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    const char text[2] = { char(code), 0 };
    font.DrawString(text);
    const GLint n = glRenderMode(GL_RENDER);
    if (n < 0)
        Fail("feedback buffer overflow", code);
    // Polygon tokens: GL_POLYGON_TOKEN, count, then per vertex
    // x y z, r g b a, s t r q.
    bool any = false;
    out = TexRect{ 2, 2, -1, -1 };
    for (GLint i = 0; i < n;) {
        if (buffer[i] != GL_POLYGON_TOKEN)
            Fail("unexpected feedback token", code);
        const int count = int(buffer[i + 1]);
        for (int v = 0; v < count; ++v) {
            const GLfloat* p = &buffer[i + 2 + v * 11];
            out.s0 = std::min(out.s0, p[7]);
            out.s1 = std::max(out.s1, p[7]);
            out.t0 = std::min(out.t0, p[8]);
            out.t1 = std::max(out.t1, p[8]);
            any = true;
        }
        i += 2 + count * 11;
    }
    return any;
}

void CheckFont(const CTextureFont& font)
{
    // Every byte the game could draw, in one string as the HUD does.
    std::vector<char> all;
    for (int c = 1; c < 256; ++c)
        all.push_back(char(c));
    all.push_back(0);
    static std::vector<GLfloat> sink(1 << 16);
    glFeedbackBuffer(GLsizei(sink.size()), GL_2D, sink.data());
    glRenderMode(GL_FEEDBACK);   // nothing to see; spares llvmpipe the rasterising
    font.DrawString(all.data());
    glRenderMode(GL_RENDER);

    GLint texture = 0, width = 0, height = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    if (texture == 0)
        Fail("DrawString bound no texture");
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    if (width <= 0 || width != height || (width & (width - 1)) != 0)
        Fail("texture is not a power-of-two square");

    std::vector<unsigned char> texels(size_t(width) * size_t(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, texels.data());
    for (int i = 0; i < width; ++i)
        if (texels[size_t(i)] != 0 || texels[size_t(i) * size_t(width)] != 0)
            Fail("row 0 or column 0 of the texture is not empty");

    // Quads stay inside the texture and no two glyphs share texels.
    std::vector<TexRect> quads;
    for (int c = 1; c < 256; ++c) {
        TexRect r;
        if (!CaptureQuad(font, c, r))
            continue;
        if (r.s0 < 0 || r.t0 < 0 || r.s1 > 1 || r.t1 > 1)
            Fail("quad samples outside the texture", c);
        const float side = float(width);
        TexRect texel{ r.s0 * side, r.t0 * side, r.s1 * side, r.t1 * side };
        if (texel.s1 - texel.s0 < 0.5f || texel.t1 - texel.t0 < 0.5f)
            continue;   // no coverage of its own
        for (const TexRect& q : quads) {
            // The same glyph mapped from two bytes shares its place exactly.
            const bool same = q.s0 == texel.s0 && q.t0 == texel.t0 && q.s1 == texel.s1 && q.t1 == texel.t1;
            const bool apart = q.s1 <= texel.s0 || texel.s1 <= q.s0 || q.t1 <= texel.t0 || texel.t1 <= q.t0;
            if (!same && !apart)
                Fail("two glyphs overlap in the texture", c);
        }
        quads.push_back(texel);
    }
}

const FuzzTempFile& TempFile()
{
    static const FuzzTempFile file("vesk-fuzz-font");
    return file;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !SDL_SetVideoMode(64, 64, 32, SDL_OPENGL)) {
        std::fprintf(stderr, "font fuzzer: no OpenGL window (run it under xvfb-run): %s\n", SDL_GetError());
        std::exit(1);
    }
    // Room for any glyph a font can describe, so feedback never clips a quad.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1e9, 1e9, -1e9, 1e9, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzTempFile& file = TempFile();
    file.Write(data, size);

    // The game's own manager, emptied again after every input.
    CFontManager& manager = *CFontManager::GetInstance();
    manager.Init();
    CTextureFont* font = manager.LoadFont(file.Path().c_str(), kSize);
    if (font) {
        if (!font->IsLoaded() || manager.GetFont(0) != font)
            Fail("the manager listed a font that did not load");
        CheckFont(*font);
    } else if (manager.GetFont(0) != nullptr) {
        Fail("a failed load took an id");
    }
    manager.Shutdown();
    return 0;
}
