#include "WorldDrawSupport.h"

#include "WorldTestSupport.h"

#include "engine/CEngineSettings.h"
#include "engine/CGameEngine.h"
#include "engine/DataFile.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace worldtest {

namespace {

bool WriteSquareBmp(const std::string& path, int side, Uint8 r, Uint8 g, Uint8 b)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, side, side, 24, 0xFF, 0xFF00, 0xFF0000, 0);
    if (!s)
        return false;
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, r, g, b));
    const bool ok = SDL_SaveBMP(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

bool CopyFile(const std::string& from, const std::string& to)
{
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary);
    out << in.rdbuf();
    return in.good() && static_cast<bool>(out);
}

} // namespace

bool StartEngineWindow(const std::string& fontFile, std::string& error)
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::string folder = LoadFourSoundList();
    if (folder.empty()) {
        error = "no scratch folder";
        return false;
    }
    if (!WriteSquareBmp(folder + "/Data/silver.bmp", kSilverSide, 180, 180, 180) ||
        !WriteSquareBmp(folder + "/Data/gold.bmp", kGoldSide, 216, 178, 120) ||
        !WriteSquareBmp(folder + "/Data/back.bmp", kBackgroundSide, 40, 60, 90)) {
        error = "cannot write the sprite images";
        return false;
    }
    // Listed out of size order: the sheet orders them by size.
    if (FILE* f = std::fopen((folder + "/" + HostPath("Data\\sprites.dat")).c_str(), "w")) {
        std::fputs("Data\\back.bmp\nData\\silver.bmp\nData\\gold.bmp\n", f);
        std::fclose(f);
    }
    if (!fontFile.empty() && !CopyFile(fontFile, folder + "/" + HostPath("Data\\36DAYSAG.TTF"))) {
        error = "cannot copy the font " + fontFile;
        return false;
    }

    char previous[4096];
    if (!getcwd(previous, sizeof previous) || chdir(folder.c_str()) != 0) {
        error = "cannot enter the scratch folder";
        return false;
    }
    CEngineSettings settings = CEngineSettings::DefaultSettings();
    settings.m_IconFile.clear();
    CGameEngine* engine = CGameEngine::GetInstance();
    const bool started = engine->Init(settings);
    if (chdir(previous) != 0)
        std::abort();
    if (!started)
        error = engine->GetInitError();
    return started;
}

std::vector<Polygon> Capture(const std::function<void()>& draw)
{
    static std::vector<GLfloat> buffer(1 << 22);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint n = glRenderMode(GL_RENDER);
    EXPECT_GE(n, 0) << "feedback buffer overflow";

    // x y z, r g b a, s t r q
    const int kStride = 11;
    auto vertexAt = [&](int i) {
        const GLfloat* f = &buffer[i];
        return Vertex{ f[0], f[1], f[3], f[4], f[5], f[6], f[7], f[8] };
    };
    std::vector<Polygon> out;
    for (int i = 0; i < n;) {
        const int token = static_cast<int>(buffer[i++]);
        if (token == GL_POLYGON_TOKEN) {
            const int count = static_cast<int>(buffer[i++]);
            Polygon p;
            for (int k = 0; k < count; ++k, i += kStride)
                p.push_back(vertexAt(i));
            out.push_back(p);
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            i += 2 * kStride;
        } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN || token == GL_DRAW_PIXEL_TOKEN ||
                   token == GL_COPY_PIXEL_TOKEN) {
            i += kStride;
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            i += 1;
        } else {
            ADD_FAILURE() << "unknown feedback token " << token;
            break;
        }
    }
    return out;
}

bool IsWhite(const Vertex& v) { return v.r > 0.99f && v.g > 0.99f && v.b > 0.99f && v.a > 0.99f; }

} // namespace worldtest
