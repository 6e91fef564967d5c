#include "GlTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>

SDL_Surface* GlWindowTest::s_screen = nullptr;

void GlWindowTest::SetUpTestSuite()
{
    if (!s_screen && SDL_Init(SDL_INIT_VIDEO) == 0)
        s_screen = SDL_SetVideoMode(1024, 768, 32, SDL_OPENGL);
}

void GlWindowTest::SetUp()
{
    ASSERT_NE(s_screen, nullptr) << "no OpenGL window (is DISPLAY set?): " << SDL_GetError();
    glViewport(0, 0, 1024, 768);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1024, 0, 768, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()>& draw)
{
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint count = glRenderMode(GL_RENDER);
    EXPECT_GE(count, 0) << "feedback buffer overflow";

    std::vector<FeedbackPrimitive> primitives;
    const int kFloats = sizeof(FeedbackVertex) / sizeof(float);
    for (GLint i = 0; i < count;) {
        const GLint token = GLint(buffer[i++]);
        FeedbackPrimitive p{token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN, {}};
        if (!p.line && token != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        const int n = p.line ? 2 : int(buffer[i++]);
        for (int k = 0; k < n; ++k, i += kFloats) {
            FeedbackVertex v;
            std::copy(&buffer[i], &buffer[i] + kFloats, &v.x);
            p.vertices.push_back(v);
        }
        primitives.push_back(p);
    }
    return primitives;
}

GLint BoundTexture()
{
    GLint texture = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    return texture;
}

std::ostream& operator<<(std::ostream& out, const Rgba& c)
{
    return out << "(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ", " << int(c.a) << ")";
}

std::vector<Rgba> ReadTexture(GLuint texture, int* width, int* height)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, height);
    std::vector<Rgba> pixels(size_t(*width) * size_t(*height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!pixels.empty())
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

bool WriteBmp24(const std::string& path, int w, int h, const PixelFunction& pixel)
{
    // Byte order R, G, B in memory on a little-endian host.
    SDL_Surface* surface = SDL_CreateRGBSurface(0, w, h, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0);
    if (!surface)
        return false;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgba c = pixel(x, y);
            Uint8* p = static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * 3;
            p[0] = c.r, p[1] = c.g, p[2] = c.b;
        }
    const bool ok = SDL_SaveBMP(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return ok;
}

namespace {

void PutBig32(std::string& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(char((v >> shift) & 0xFF));
}

void PutChunk(std::string& png, const char* type, const std::string& data)
{
    PutBig32(png, uint32_t(data.size()));
    const std::string typed = std::string(type, 4) + data;
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : typed) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    png += typed;
    PutBig32(png, ~crc);
}

// `rows` already hold each row's filter byte; the zlib stream uses stored blocks.
bool WritePng(const std::string& path, int w, int h, char colourType, const std::string& chunks,
              const std::string& rows)
{
    std::string z("\x78\x01", 2);
    size_t at = 0;
    do {
        const size_t n = std::min<size_t>(65535, rows.size() - at);
        z += {char(at + n == rows.size()), char(n & 0xFF), char(n >> 8), char(~n & 0xFF), char((~n >> 8) & 0xFF)};
        z.append(rows, at, n);
        at += n;
    } while (at < rows.size());
    uint32_t a = 1, b = 0;
    for (unsigned char c : rows)
        a = (a + c) % 65521, b = (b + a) % 65521;
    PutBig32(z, (b << 16) | a);

    std::string png("\x89PNG\r\n\x1a\n", 8), header;
    PutBig32(header, w);
    PutBig32(header, h);
    header += {8, colourType, 0, 0, 0};
    PutChunk(png, "IHDR", header);
    png += chunks;
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", "");
    FILE* f = std::fopen(path.c_str(), "wb");
    const bool ok = f && std::fwrite(png.data(), 1, png.size(), f) == png.size();
    return f && std::fclose(f) == 0 && ok;
}

} // namespace

bool WritePngRgba(const std::string& path, int w, int h, const PixelFunction& pixel)
{
    std::string rows;
    for (int y = 0; y < h; ++y) {
        rows.push_back(0);   // no filter
        for (int x = 0; x < w; ++x) {
            const Rgba c = pixel(x, y);
            rows += {char(c.r), char(c.g), char(c.b), char(c.a)};
        }
    }
    return WritePng(path, w, h, 6, "", rows);
}

bool WritePngKeyed(const std::string& path, int w, int h, const std::vector<Rgba>& palette,
                   const std::function<int(int x, int y)>& index)
{
    std::string plte, trns, chunks, rows;
    for (size_t i = 0; i < palette.size(); ++i) {
        plte += {char(palette[i].r), char(palette[i].g), char(palette[i].b)};
        trns.push_back(i == 0 ? 0 : char(255));
    }
    PutChunk(chunks, "PLTE", plte);
    PutChunk(chunks, "tRNS", trns);
    for (int y = 0; y < h; ++y) {
        rows.push_back(0);
        for (int x = 0; x < w; ++x)
            rows.push_back(char(index(x, y)));
    }
    return WritePng(path, w, h, 3, chunks, rows);
}

TempDir::TempDir()
{
    char pattern[] = "/tmp/vesk-gfx-XXXXXX";
    if (mkdtemp(pattern))
        path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    if (!path.empty())
        std::filesystem::remove_all(path, ignored);
}

void TempDir::Write(const std::string& name, const std::string& bytes) const
{
    FILE* f = std::fopen(File(name).c_str(), "wb");
    ASSERT_NE(f, nullptr) << File(name);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}
