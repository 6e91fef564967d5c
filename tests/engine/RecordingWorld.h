#ifndef VESK_TESTS_ENGINE_RECORDINGWORLD_H
#define VESK_TESTS_ENGINE_RECORDINGWORLD_H

// A stand-in for the game world that records every call the engine makes,
// so the engine, SDL and OpenGL can be tested for real. Tests link it
// instead of the world library; it defines CGameWorld's engine-facing
// operations from the same header.

#include <SDL.h>
#include <functional>
#include <string>
#include <vector>

class CGameEngine;

namespace recording {

enum class Call { Reset, Key, MouseMove, MouseButton, Update, Draw };

struct Entry
{
    Call   call;
    int    a = 0;        // key sym, x, button, elapsed ms
    int    b = 0;        // key mod, y, pressed
    int    c = 0;        // key pressed, button x
    int    d = 0;        // button y
    Uint32 ticks = 0;    // SDL_GetTicks() when the call arrived

    bool operator==(const Entry& o) const
    {
        return call == o.call && a == o.a && b == o.b && c == o.c && d == o.d;
    }
};

Entry Reset();
Entry Key(int sym, int mod, bool pressed);
Entry Move(int x, int y);
Entry Button(int button, bool pressed, int x, int y);

std::string Describe(const Entry& e);
std::string Describe(const std::vector<Entry>& log);

// What the stand-in does besides recording; every field is off by default.
struct Behaviour
{
    int quitOnKey = -1;              // calls the engine's Quit() on this key press
    int quitOnButton = -1;           // ... on this mouse button press
    int quitAfterUpdates = -1;       // ... on the n-th Update from now
    Uint32 drawDelayMs = 0;          // Draw takes this long, like a heavy frame
    std::function<void()> onUpdate;  // runs inside every Update
    std::function<void(int, int)> onMouseMove;   // runs inside every OnMouseMove
};

std::vector<Entry>& Log();
Behaviour& Behave();
CGameEngine* ConstructedWith();      // the pointer the world got at construction
void Clear();                         // forgets the log and the behaviour

} // namespace recording

#endif
