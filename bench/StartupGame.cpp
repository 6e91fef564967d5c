// The game's start-up up to its first buffer swap: the same settings and Init
// as vesk, the world's Reset and one frame. Prints "swapped" when the swap is
// done, then shuts down like the game.

#include "engine/CEngineSettings.h"
#include "engine/CGameEngine.h"

#include <GL/gl.h>
#include <cstdio>

int main(int argc, char* argv[])
{
    CEngineSettings settings = CEngineSettings::DefaultSettings();
    settings.ScanCommandLine(argc, argv);

    CGameEngine* engine = CGameEngine::GetInstance();
    const bool started = engine->Init(settings);
    if (started)
    {
        engine->GetWorld().Reset();
        engine->RenderFrame();
        glFinish();
        std::printf("swapped\n");
        std::fflush(stdout);
    }
    engine->Shutdown();
    if (!started)
    {
        std::fprintf(stderr, "vesk-startup-game: %s\n", engine->GetInitError().c_str());
        return 1;
    }
    return 0;
}
