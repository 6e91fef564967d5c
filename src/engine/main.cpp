#include "engine/CEngineSettings.h"
#include "engine/CGameEngine.h"
#include "windows/Windows.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    CEngineSettings settings = CEngineSettings::DefaultSettings();
    settings.ScanCommandLine(argc, argv);

    CGameEngine* engine = CGameEngine::GetInstance();
    const bool started = engine->Init(settings);
    if (started)
        engine->Run();
    engine->Shutdown();

    // A start that failed must not look like success: one line saying why.
    if (!started)
    {
        const std::string& reason = engine->GetInitError();
        const char* why = reason.empty() ? "start-up failed" : reason.c_str();
        std::fprintf(stderr, "vesk: %s\n", why);
        windows::ShowStartFailure(why);
        return 1;
    }
    return 0;
}
