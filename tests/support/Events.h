#ifndef VESK_TESTS_SUPPORT_EVENTS_H
#define VESK_TESTS_SUPPORT_EVENTS_H

// Input for the engine's loop, put into SDL's own queue as the X server would.
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>

// An event of type e[0] with up to three fields: a key's symbol and
// modifiers, a motion's x and y, a button's number, x and y, or an
// activation's state and gain.
inline void Push(const std::array<int, 4>& e)
{
    SDL_Event event{};
    event.type = Uint8(e[0]);
    if (e[0] == SDL_KEYDOWN || e[0] == SDL_KEYUP)
        event.key.keysym.sym = SDLKey(e[1]), event.key.keysym.mod = SDLMod(e[2]);
    else if (e[0] == SDL_MOUSEMOTION)
        event.motion.x = Uint16(e[1]), event.motion.y = Uint16(e[2]);
    else if (e[0] == SDL_MOUSEBUTTONDOWN || e[0] == SDL_MOUSEBUTTONUP)
        event.button.button = Uint8(e[1]), event.button.x = Uint16(e[2]), event.button.y = Uint16(e[3]);
    else if (e[0] == SDL_ACTIVEEVENT)
        event.active.state = Uint8(e[1]), event.active.gain = Uint8(e[2]);
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

#endif
