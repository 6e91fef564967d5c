#ifndef VESK_ENGINE_CGAMEENGINE_H
#define VESK_ENGINE_CGAMEENGINE_H

#include "engine/CEngineSettings.h"
#include "world/CGameWorld.h"
#include <SDL.h>
#include <string>

// The program's hold on the platform: SDL, the audio device, the icon, the
// OpenGL window, the shared resources and the main loop. One per process.
class CGameEngine
{
public:
    static CGameEngine* GetInstance();

    // Phases
    bool Init(const CEngineSettings& settings);
    void Run();
    void Shutdown();
    void Quit();   // the only call the world makes

    // What went wrong in the last failed Init, for the one-line start-up error.
    const std::string& GetInitError() const { return m_InitError; }

    // Loop steps (public so tests can drive them)
    void HandleEvent(const SDL_Event& event);
    void RenderFrame();
    void OnKey(SDLKey sym, SDLMod mod, bool pressed);
    void OnMouseMove(Uint16 x, Uint16 y);
    void OnMouseButton(Uint8 button, bool pressed, Uint16 x, Uint16 y);

    // Set-up steps
    bool InitMixer();
    void CloseMixer();
    bool LoadIcon();
    void FreeIcon();
    bool SetVideoMode();
    void SetupProjection();
    void LoadResources();
    void UnloadResources();

    // The icon surface while the engine holds one, else null; for tests.
    const SDL_Surface* GetIcon() const { return m_IconInitialized ? m_Icon : nullptr; }

    ~CGameEngine();
    CGameEngine(const CGameEngine&) = delete;
    CGameEngine& operator=(const CGameEngine&) = delete;

private:
    CGameEngine();

    bool SetInitError(const std::string& text);   // always false, for "return SetInitError(...)"

    bool            m_SDLInitialized;
    bool            m_SDLMixerInitialized;
    bool            m_IconInitialized;
    CEngineSettings m_Settings;
    SDL_Surface*    m_Screen;
    SDL_Surface*    m_Icon;
    Uint32          m_VideoFlags;
    bool            m_Running;
    bool            m_Active;
    Uint32          m_LastTicks;
    CGameWorld      m_GameWorld;
    std::string     m_InitError;
};

#endif
