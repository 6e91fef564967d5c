#include "engine/CEngineSettings.h"

#include <cstring>

CEngineSettings CEngineSettings::DefaultSettings()
{
    CEngineSettings settings;
    settings.m_Width = 1024;
    settings.m_Height = 768;
    settings.m_BitsPerPixel = 32;
    settings.m_Fullscreen = false;
    settings.m_IconFile = "Vesk.bmp";
    settings.m_Caption = "Vesk";
    return settings;
}

bool CEngineSettings::IsFullscreenOption(const char* arg)
{
    // Whole-string comparison: "-fullscreen=1" or "-fullscreenX" must not match.
    return arg != nullptr && std::strcmp(arg, "-fullscreen") == 0;
}

void CEngineSettings::ScanCommandLine(int argc, const char* const* argv)
{
    if (argv == nullptr)
        return;
    for (int i = 0; i < argc; ++i)
        if (IsFullscreenOption(argv[i]))
            m_Fullscreen = true;
}
