#include "engine/CGameEngine.h"

#include "engine/Window.h"

#include "browser/Browser.h"

#include "data/DataFile.h"
#include "graphics/CSpriteSheet.h"
#include "sound/CSoundManager.h"
#include "text/CFontManager.h"

#include <SDL_mixer.h>
#include <GL/gl.h>
#include <cassert>

// windows.h, which OpenGL's header includes there, makes LoadIcon a macro for
// its own function; this file defines and calls the engine's.
#undef LoadIcon

namespace
{
// Audio device: CD-quality stereo, and enough channels that overlapping
// effects never cut each other off.
const int kAudioRate = 44100;
const Uint16 kAudioFormat = AUDIO_S16LSB;
const int kAudioChannels = 2;
const int kAudioChunkFrames = 1024;
const int kMixingChannels = 64;

const int kIconSide = 32;

const char* const kFontFile = "Data\\36DAYSAG.TTF";
const float kFontSize = 40.0f;

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}
}

CGameEngine* CGameEngine::GetInstance()
{
    static CGameEngine* instance = nullptr;
    if (instance == nullptr)
        instance = new CGameEngine();
    return instance;
}

CGameEngine::CGameEngine()
    : m_SDLInitialized(false),
      m_SDLMixerInitialized(false),
      m_IconInitialized(false),
      m_Settings(),
      m_Screen(nullptr),
      m_Icon(nullptr),
      m_VideoFlags(0),
      m_Running(false),
      m_Active(false),
      m_LastTicks(0),
      m_GameWorld(this)
{
}

CGameEngine::~CGameEngine()
{
    Shutdown();
}

// ---------------------------------------------------------------------------
// Set-up and teardown

bool CGameEngine::SetInitError(const std::string& text)
{
    m_InitError = text;
    return false;
}

bool CGameEngine::Init(const CEngineSettings& settings)
{
    assert(!m_SDLInitialized);
    m_InitError.clear();
    m_Settings = settings;
    m_Active = true;

    if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO) < 0)
    {
        const std::string reason = SDL_GetError();
        // Both subsystems start in one call; find out which one refused so the
        // message names it. The probe leaves nothing running.
        if (SDL_Init(SDL_INIT_VIDEO) == 0)
        {
            SDL_Quit();
            return SetInitError("no audio device: " + reason);
        }
        return SetInitError("cannot start SDL: " + reason);
    }
    m_SDLInitialized = true;

    if (!InitMixer())
        return false;
    if (!m_Settings.m_IconFile.empty() && browser::kWindowIcon && !LoadIcon())
        return false;
    if (!SetVideoMode())
        return false;

    SDL_WM_SetCaption(m_Settings.m_Caption.c_str(), nullptr);

    // Last: the sprite atlas and the font need the OpenGL context, the sounds
    // the audio device.
    LoadResources();
    return true;
}

void CGameEngine::Shutdown()
{
    // Resources first: font textures need the context, samples the device.
    UnloadResources();
    CloseMixer();
    FreeIcon();
    if (m_SDLInitialized)
        SDL_Quit();   // also closes the window and its OpenGL context
    m_SDLInitialized = false;
    m_Screen = nullptr;
}

bool CGameEngine::InitMixer()
{
    assert(!m_SDLMixerInitialized);
    if (Mix_OpenAudio(kAudioRate, kAudioFormat, kAudioChannels, kAudioChunkFrames) < 0)
        return SetInitError(std::string("no audio device: ") + Mix_GetError());
    Mix_AllocateChannels(kMixingChannels);
    m_SDLMixerInitialized = true;
    return true;
}

void CGameEngine::CloseMixer()
{
    if (m_SDLMixerInitialized)
        Mix_CloseAudio();
    m_SDLMixerInitialized = false;
}

bool CGameEngine::LoadIcon()
{
    assert(!m_IconInitialized);
    const std::string& name = m_Settings.m_IconFile;

    SDL_RWops* stream = SDL_RWFromFile(HostPath(name).c_str(), "rb");
    if (stream == nullptr)
        return SetInitError("cannot open the window icon " + Quoted(name) + ": " + SDL_GetError());
    m_Icon = SDL_LoadBMP_RW(stream, 1);
    if (m_Icon == nullptr)
        return SetInitError("cannot read the window icon " + Quoted(name) + ": " + SDL_GetError());

    // The window manager wants a small paletted image; anything else is a
    // broken installation, not something to guess around.
    std::string fault;
    if (m_Icon->w != kIconSide || m_Icon->h != kIconSide)
        fault = "is " + std::to_string(m_Icon->w) + " by " + std::to_string(m_Icon->h) +
                " pixels; it must be 32 by 32";
    else if (m_Icon->format->palette == nullptr)
        fault = "has " + std::to_string(m_Icon->format->BitsPerPixel) +
                " bits per pixel and no palette; it must be a palette image (8 bits per pixel or fewer)";
    if (!fault.empty())
    {
        SDL_FreeSurface(m_Icon);
        m_Icon = nullptr;
        return SetInitError("the window icon " + Quoted(name) + " " + fault);
    }

    // The top-left pixel's palette index is the transparent colour.
    const Uint8 key = static_cast<const Uint8*>(m_Icon->pixels)[0];
    SDL_SetColorKey(m_Icon, SDL_SRCCOLORKEY, key);
    SDL_WM_SetIcon(m_Icon, nullptr);
    m_IconInitialized = true;
    return true;
}

void CGameEngine::FreeIcon()
{
    if (m_IconInitialized)
        SDL_FreeSurface(m_Icon);
    m_IconInitialized = false;
    m_Icon = nullptr;
}

bool CGameEngine::SetVideoMode()
{
    m_VideoFlags = WindowFlags(m_Settings);
    m_Screen = OpenWindow(m_Settings);
    if (m_Screen == nullptr)
    {
        const std::string mode = std::to_string(m_Settings.m_Width) + " by " +
                                 std::to_string(m_Settings.m_Height) + " at " +
                                 std::to_string(m_Settings.m_BitsPerPixel) + " bits per pixel";
        return SetInitError((m_Settings.m_Fullscreen ? "cannot switch to full screen, "
                                                     : "cannot open a window of ") +
                            mode + " with OpenGL: " + SDL_GetError());
    }

    browser::ClearWindow(m_Screen);
    SetupProjection();
    return true;
}

void CGameEngine::SetupProjection()
{
    // One unit per pixel, origin at the bottom-left corner, y upwards.
    const int width = m_Settings.m_Width;
    const int height = m_Settings.m_Height;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// ---------------------------------------------------------------------------
// Shared resources. A missing or broken file leaves its resource empty; the
// game still starts, so no result is examined here.

void CGameEngine::LoadResources()
{
    CSpriteSheet::GetInstance()->Load();
    CFontManager::GetInstance()->Init();
    CSoundManager::GetInstance()->Load();
    CFontManager::GetInstance()->LoadFont(kFontFile, kFontSize);
}

void CGameEngine::UnloadResources()
{
    CSpriteSheet::GetInstance()->Unload();
    CFontManager::GetInstance()->Shutdown();
    CSoundManager::GetInstance()->Unload();
}

// ---------------------------------------------------------------------------
// The main loop

void CGameEngine::Run()
{
    assert(m_SDLInitialized);
    m_Running = true;
    m_LastTicks = SDL_GetTicks();
    m_GameWorld.Reset();

    SDL_Event event;
    while (m_Running)
    {
        // Every queued event goes before the next frame, and a quit request
        // from any of them stops the loop before the one behind it.
        if (SDL_PollEvent(&event)) {
            HandleEvent(browser::AsDesktopEvent(event));
        } else if (m_Active) {
            RenderFrame();
            browser::EndFrame();
        } else {
            browser::WaitForEvent();   // minimised: sleep instead of spinning
        }
    }
}

void CGameEngine::RenderFrame()
{
    // One clock reading ends this interval and starts the next; unsigned
    // subtraction stays right across the counter's wrap.
    const Uint32 now = SDL_GetTicks();
    m_GameWorld.Update(now - m_LastTicks);
    m_GameWorld.Draw();
    SDL_GL_SwapBuffers();
    m_LastTicks = now;
}

void CGameEngine::HandleEvent(const SDL_Event& event)
{
    switch (event.type)
    {
    case SDL_ACTIVEEVENT:
        // Only minimising and restoring matter; focus changes keep the frames going.
        if (event.active.state & SDL_APPACTIVE)
        {
            if (event.active.gain != 0)
            {
                m_Active = true;
                m_LastTicks = SDL_GetTicks();   // the time spent minimised is not game time
            }
            else
            {
                m_Active = false;
            }
        }
        break;
    case SDL_KEYDOWN:
        OnKey(event.key.keysym.sym, static_cast<SDLMod>(event.key.keysym.mod), true);
        break;
    case SDL_KEYUP:
        OnKey(event.key.keysym.sym, static_cast<SDLMod>(event.key.keysym.mod), false);
        break;
    case SDL_MOUSEMOTION:
        OnMouseMove(event.motion.x, event.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
        OnMouseButton(event.button.button, true, event.button.x, event.button.y);
        break;
    case SDL_MOUSEBUTTONUP:
        OnMouseButton(event.button.button, false, event.button.x, event.button.y);
        break;
    case SDL_QUIT:
        m_Running = false;
        break;
    default:
        break;
    }
}

void CGameEngine::Quit()
{
    m_Running = false;
}

void CGameEngine::OnKey(SDLKey sym, SDLMod mod, bool pressed)
{
    m_GameWorld.OnKey(sym, mod, pressed);
}

void CGameEngine::OnMouseMove(Uint16 x, Uint16 y)
{
    m_GameWorld.OnMouseMove(x, y);
}

void CGameEngine::OnMouseButton(Uint8 button, bool pressed, Uint16 x, Uint16 y)
{
    m_GameWorld.OnMouseButton(button, pressed, x, y);
}
