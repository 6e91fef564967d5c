#include "windows/Windows.h"

#include "windows/PngImage.h"

#include <SDL_image.h>
#include <string>
#include <windows.h>

namespace windows
{

void ShowStartFailure(const char* why)
{
    MessageBoxA(nullptr, ("vesk: " + std::string(why)).c_str(), "Vesk", MB_OK | MB_ICONERROR);
}

} // namespace windows

SDL_Surface* IMG_Load(const char* file)
{
    return windows::LoadPng(file);
}
