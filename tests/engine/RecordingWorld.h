#ifndef VESK_TESTS_ENGINE_RECORDINGWORLD_H
#define VESK_TESTS_ENGINE_RECORDINGWORLD_H

// A stand-in for the game world that records every call the engine makes, so
// the engine, SDL and OpenGL can be tested for real. Tests link it instead of
// the world library; it defines the engine-facing operations of CGameWorld.

#include <SDL.h>
#include <functional>
#include <string>
#include <vector>

class CGameEngine;

namespace recording {

struct Call
{
    std::string what;     // "Reset", "Key 97 1 1", "Move 10 20", "Button 1 1 5 6", "Update", "Draw"
    Uint32 elapsed = 0;   // Update's argument
    Uint32 ticks = 0;     // SDL_GetTicks() when the call arrived
};

// What the stand-in does besides recording; all off by default.
struct Behaviour
{
    int quitOnKey = -1;         // calls the engine's Quit() on this key press
    int quitOnButton = -1;      // ... on this button press
    int quitAfterUpdates = -1;  // ... on the n-th Update
    Uint32 drawDelayMs = 0;     // Draw takes this long
    std::function<void()> onUpdate;
    std::function<void(int x)> onMouseMove;
};

extern std::vector<Call> calls;
extern Behaviour behave;
extern CGameEngine* constructedWith;

void Clear();
std::vector<std::string> Names();                 // the calls in order, frames included
size_t Find(const std::string& what);             // index in the calls, or their count

} // namespace recording

#endif
