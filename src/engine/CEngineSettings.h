#ifndef VESK_ENGINE_CENGINESETTINGS_H
#define VESK_ENGINE_CENGINESETTINGS_H

#include <cstdint>
#include <string>

// Start-up settings, filled by the entry point and copied into the engine.
struct CEngineSettings
{
    int32_t     m_Width = 0;
    int32_t     m_Height = 0;
    int32_t     m_BitsPerPixel = 0;
    bool        m_Fullscreen = false;
    std::string m_IconFile;     // empty: no icon
    std::string m_Caption;
};

#endif
