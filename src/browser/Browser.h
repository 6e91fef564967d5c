#ifndef VESK_BROWSER_BROWSER_H
#define VESK_BROWSER_BROWSER_H

// What only the web build needs, in one place. The browser runs the same
// program through emscripten's SDL 1.2 and its OpenGL emulation on WebGL 1,
// which differ from the desktop where each call below is made. On the
// desktop every call is the desktop's own SDL or OpenGL call, or nothing, so
// the desktop build does exactly what it did before.

#include <SDL.h>
#include <SDL_opengl.h>
#include <cstdint>

namespace browser
{

#ifdef __EMSCRIPTEN__

// The page hands events and shows frames only while the program waits: once a frame it
// waits for the page's next frame (which never comes while the page is hidden).
void EndFrame();
// SDL_WaitEvent does not exist there: sleep in short steps until an event is queued.
void WaitForEvent();
// The page being hidden or shown comes as a window event; the loop knows it as the
// window being minimised or restored.
SDL_Event AsDesktopEvent(const SDL_Event& event);
// SDL_SetVideoMode answers with a surface even without WebGL: null then, with the reason.
SDL_Surface* CheckWindow(SDL_Surface* screen);
// Filling the OpenGL screen surface would call the 2D canvas on a WebGL context.
inline void ClearWindow(SDL_Surface*) {}
// A browser window has no icon of its own; the page has a favicon instead.
constexpr bool kWindowIcon = false;
// The canvas is drawn with OpenGL alone; there is no blitting onto it.
constexpr Uint32 kOpenGlWindow = SDL_OPENGL;
// WebGL 1 takes neither sized nor numbered internal formats, and draws GL_ALPHA black.
void TexImage(int32_t side, int32_t internalFormat, uint32_t format, const void* pixels);
// With texturing on, texture 0 samples an empty unit and draws black: shapes that want
// the current colour alone get a white texel instead.
GLuint NoTexture();
// Loaded images cannot be blitted or locked there, and blits always blend: the atlas
// is composed by copying RGBA bytes, which is what every surface holds there.
constexpr bool kRgbaSurfaces = true;
void ClearSurface(SDL_Surface* surface);
inline int LockSurface(SDL_Surface*) { return 0; }
inline void UnlockSurface(SDL_Surface*) {}
// Browsers start sound only after the first click; sounds due before it are dropped,
// not saved up for that click.
bool SoundsAllowed();

#else

inline void EndFrame() {}
inline void WaitForEvent() { SDL_WaitEvent(nullptr); }
inline const SDL_Event& AsDesktopEvent(const SDL_Event& event) { return event; }
inline SDL_Surface* CheckWindow(SDL_Surface* screen) { return screen; }
inline void ClearWindow(SDL_Surface* screen) { SDL_FillRect(screen, nullptr, SDL_MapRGBA(screen->format, 0, 0, 0, 0)); }
constexpr bool kWindowIcon = true;
constexpr Uint32 kOpenGlWindow = SDL_OPENGLBLIT;
inline void TexImage(int32_t side, int32_t internalFormat, uint32_t format, const void* pixels)
{
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, side, side, 0, format, GL_UNSIGNED_BYTE, pixels);
}
inline GLuint NoTexture() { return 0; }
inline void ClearSurface(SDL_Surface* surface) { SDL_FillRect(surface, nullptr, 0); }
constexpr bool kRgbaSurfaces = false;
inline int LockSurface(SDL_Surface* surface) { return SDL_LockSurface(surface); }
inline void UnlockSurface(SDL_Surface* surface) { SDL_UnlockSurface(surface); }
inline bool SoundsAllowed() { return true; }

#endif

} // namespace browser

#endif
