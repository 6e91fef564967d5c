#ifndef VESK_WINDOWS_WINDOWS_H
#define VESK_WINDOWS_WINDOWS_H

// What only the Windows build needs, in one place; the other pieces are the
// program's icon and version (vesk.rc), IMG_Load on libpng (include/SDL_image.h,
// PngImage.h) and the build's own flags (Platform.cmake). Elsewhere every call
// here does nothing, so the other builds do exactly what they did before.

namespace windows
{

#ifdef _WIN32

// The game is a windowed program there: what it prints goes to stderr.txt beside
// it (SDL's start-up code), unseen, and not even that under Program Files.
// A failed start's one line ("vesk: " and why) is also shown in a message box.
void ShowStartFailure(const char* why);

#else

inline void ShowStartFailure(const char*) {}

#endif

} // namespace windows

#endif
