#ifndef VESK_TESTS_WORLD_WORLDDRAWSUPPORT_H
#define VESK_TESTS_WORLD_WORLDDRAWSUPPORT_H

// Drawing tests: the engine's own window and projection on the test run's X
// display, three generated sprites, and capture of what OpenGL was given.

#include <functional>
#include <string>
#include <vector>

namespace worldtest {

// Token pictures of distinct sizes, so every quad tells whose token it is.
const int kSilverSide = 16, kGoldSide = 20, kBackgroundSide = 64;

// Starts the engine (window, projection, audio into nothing, resources) in
// the sound test folder, with the three sprites and, if `fontFile` is not
// empty, that font as the game's font. Returns the engine's error if any.
bool StartEngineWindow(const std::string& fontFile, std::string& error);

struct Vertex { float x, y, r, g, b, a, s, t; };
typedef std::vector<Vertex> Polygon;

// Everything drawn by `draw`, as polygons in window coordinates.
std::vector<Polygon> Capture(const std::function<void()>& draw);

bool IsWhite(const Vertex& v);

} // namespace worldtest

#endif
