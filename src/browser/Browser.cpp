#include "browser/Browser.h"

#include <emscripten.h>

#include <cstring>
#include <vector>

namespace
{

EM_ASYNC_JS(void, WaitForAnimationFrame, (), {
    await new Promise(function(resolve) { requestAnimationFrame(resolve); });
});

EM_JS(int, HasWebGl, (), {
    return Module['ctx'] ? 1 : 0;
});

// emscripten's SDL_SetError does nothing; SDL_GetError reads this pointer.
EM_JS(void, SetSdlError, (const char* text), {
    SDL.errorMessage = text;
});

EM_JS(int, AudioRunning, (), {
    return SDL.audioContext && SDL.audioContext.state == 'running' ? 1 : 0;
});

const char kNoWebGl[] = "this browser offers no WebGL";

} // namespace

namespace browser
{

void EndFrame()
{
    WaitForAnimationFrame();
}

void WaitForEvent()
{
    while (!SDL_PollEvent(nullptr))
        emscripten_sleep(50);
}

SDL_Event AsDesktopEvent(const SDL_Event& event)
{
    if (event.type != SDL_WINDOWEVENT ||
        (event.window.event != SDL_WINDOWEVENT_SHOWN && event.window.event != SDL_WINDOWEVENT_HIDDEN))
        return event;
    SDL_Event active;
    std::memset(&active, 0, sizeof active);
    active.type = SDL_ACTIVEEVENT;
    active.active.gain = event.window.event == SDL_WINDOWEVENT_SHOWN ? 1 : 0;
    active.active.state = SDL_APPACTIVE;
    return active;
}

SDL_Surface* CheckWindow(SDL_Surface* screen)
{
    if (screen && HasWebGl())
        return screen;
    SetSdlError(kNoWebGl);
    return nullptr;
}

void TexImage(int32_t side, int32_t, uint32_t format, const void* pixels)
{
    if (format != GL_ALPHA) {
        glTexImage2D(GL_TEXTURE_2D, 0, format, side, side, 0, format, GL_UNSIGNED_BYTE, pixels);
        return;
    }
    // White with the coverage as alpha draws in the caller's colour, as GL_ALPHA does.
    const size_t count = size_t(side) * size_t(side);
    const unsigned char* alpha = static_cast<const unsigned char*>(pixels);
    std::vector<unsigned char> texels(count * 2, 255);
    for (size_t i = 0; i < count; ++i)
        texels[i * 2 + 1] = alpha[i];
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE_ALPHA, side, side, 0, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE,
                 texels.data());
}

GLuint NoTexture()
{
    static GLuint white = 0;
    if (white == 0) {
        const unsigned char texel[4] = { 255, 255, 255, 255 };
        glGenTextures(1, &white);
        glBindTexture(GL_TEXTURE_2D, white);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    }
    return white;
}

void ClearSurface(SDL_Surface* surface)
{
    std::memset(surface->pixels, 0, size_t(surface->pitch) * size_t(surface->h));
}

bool SoundsAllowed()
{
    return AudioRunning() != 0;
}

} // namespace browser
