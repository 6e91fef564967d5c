#ifndef VESK_ENGINE_CENGINESETTINGS_H
#define VESK_ENGINE_CENGINESETTINGS_H

#include <cstdint>
#include <string>

// Start-up settings, filled by the entry point and copied into the engine.
// The zero defaults are the engine's "nothing set yet"; the program's own
// values come from DefaultSettings().
struct CEngineSettings
{
    int32_t     m_Width = 0;
    int32_t     m_Height = 0;
    int32_t     m_BitsPerPixel = 0;
    bool        m_Fullscreen = false;
    std::string m_IconFile;     // empty: no icon
    std::string m_Caption;

    // The program's fixed values: the screen layout is built for exactly
    // 1024 by 768, so no option changes the size or the depth.
    static CEngineSettings DefaultSettings();

    // The only option: "-fullscreen" as a whole, case-sensitive argument.
    static bool IsFullscreenOption(const char* arg);

    // Looks at every argument, the program's own path (argument 0) included;
    // anything that is not the option is ignored.
    void ScanCommandLine(int argc, const char* const* argv);
};

#endif
