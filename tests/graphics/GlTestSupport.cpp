#include "GlTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>

SDL_Surface* GlWindowTest::s_screen = nullptr;

void GlWindowTest::SetUpTestSuite()
{
    if (s_screen)
        return;
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    s_screen = SDL_SetVideoMode(1024, 768, 32, SDL_OPENGL);
}

void GlWindowTest::TearDownTestSuite()
{
    // The window stays for the next suite in this process; SDL goes at exit.
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
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint count = glRenderMode(GL_RENDER);
    EXPECT_GE(count, 0) << "feedback buffer overflow";

    std::vector<FeedbackPrimitive> primitives;
    const int kVertexFloats = 3 + 4 + 4;
    auto readVertex = [&](GLint at) {
        const GLfloat* v = &buffer[at];
        return FeedbackVertex{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]};
    };
    GLint i = 0;
    while (i < count) {
        const GLint token = static_cast<GLint>(buffer[i++]);
        FeedbackPrimitive primitive;
        int n = 0;
        if (token == GL_POLYGON_TOKEN) {
            primitive.kind = FeedbackPrimitive::Polygon;
            n = static_cast<int>(buffer[i++]);
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            primitive.kind = FeedbackPrimitive::Line;
            n = 2;
        } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN || token == GL_DRAW_PIXEL_TOKEN
                   || token == GL_COPY_PIXEL_TOKEN) {
            primitive.kind = FeedbackPrimitive::Point;
            n = 1;
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            ++i;
            continue;
        } else {
            ADD_FAILURE() << "unknown feedback token " << token;
            break;
        }
        for (int k = 0; k < n; ++k, i += kVertexFloats)
            primitive.vertices.push_back(readVertex(i));
        primitives.push_back(primitive);
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
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    *width = w;
    *height = h;
    std::vector<Rgba> pixels(size_t(w) * size_t(h));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!pixels.empty())
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

bool WriteBmp24(const std::string& path, int w, int h, const PixelFunction& pixel)
{
    SDL_Surface* surface = SDL_CreateRGBSurface(0, w, h, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0);
    if (!surface)
        return false;
    SDL_LockSurface(surface);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgba c = pixel(x, y);
            const Uint32 value = SDL_MapRGB(surface->format, c.r, c.g, c.b);
            Uint8* p = static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * 3;
            for (int k = 0; k < 3; ++k)
                p[k] = static_cast<Uint8>(value >> (8 * k));   // little-endian byte order of the masks
        }
    SDL_UnlockSurface(surface);
    const bool ok = SDL_SaveBMP(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return ok;
}

namespace {

uint32_t Crc32(const std::string& bytes)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBig32(std::string& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void PutChunk(std::string& png, const char* type, const std::string& data)
{
    PutBig32(png, static_cast<uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    png += typed;
    PutBig32(png, Crc32(typed));
}

// zlib stream of stored (uncompressed) blocks.
std::string StoredZlib(const std::string& raw)
{
    std::string z("\x78\x01", 2);
    size_t at = 0;
    do {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        const bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<char>(n & 0xFF));
        z.push_back(static_cast<char>(n >> 8));
        z.push_back(static_cast<char>(~n & 0xFF));
        z.push_back(static_cast<char>((~n >> 8) & 0xFF));
        z.append(raw, at, n);
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBig32(z, (b << 16) | a);
    return z;
}

bool WritePng(const std::string& path, int w, int h, int colourType, const std::string& extraChunks,
              const std::string& raw)
{
    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    PutBig32(header, w);
    PutBig32(header, h);
    header += std::string("\x08", 1) + static_cast<char>(colourType) + std::string(3, '\0');
    PutChunk(png, "IHDR", header);
    png += extraChunks;
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", "");
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

bool WritePngRgba(const std::string& path, int w, int h, const PixelFunction& pixel)
{
    std::string raw;
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);   // no filter
        for (int x = 0; x < w; ++x) {
            const Rgba c = pixel(x, y);
            raw += {char(c.r), char(c.g), char(c.b), char(c.a)};
        }
    }
    return WritePng(path, w, h, 6, "", raw);
}

bool WritePngPalette(const std::string& path, int w, int h, const std::vector<Rgba>& palette,
                     int transparentIndex, const std::function<int(int x, int y)>& index)
{
    std::string plte, trns;
    for (size_t i = 0; i < palette.size(); ++i) {
        plte += {char(palette[i].r), char(palette[i].g), char(palette[i].b)};
        trns.push_back(int(i) == transparentIndex ? 0 : char(255));
    }
    std::string chunks;
    PutChunk(chunks, "PLTE", plte);
    PutChunk(chunks, "tRNS", trns);
    std::string raw;
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        for (int x = 0; x < w; ++x)
            raw.push_back(static_cast<char>(index(x, y)));
    }
    return WritePng(path, w, h, 3, chunks, raw);
}

TempDir::TempDir()
{
    char pattern[] = "/tmp/vesk-gfx-XXXXXX";
    if (mkdtemp(pattern))
        m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    if (!m_path.empty())
        std::filesystem::remove_all(m_path, ignored);
}

void TempDir::Write(const std::string& name, const std::string& bytes) const
{
    FILE* f = std::fopen(File(name).c_str(), "wb");
    ASSERT_NE(f, nullptr) << File(name);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}
