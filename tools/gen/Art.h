#ifndef GEN_ART_H_INCLUDED
#define GEN_ART_H_INCLUDED

#include <cstdint>
#include <vector>

namespace gen {

// One straight (not premultiplied) RGBA pixel.
struct Rgba { uint8_t r = 0, g = 0, b = 0, a = 0; };

// An RGBA picture, its pixels row after row from the top, as the files store them.
struct Image { int width, height; std::vector<Rgba> pixels; };

enum Metal { METAL_SILVER, METAL_GOLD };

// Token and board sizes the pictures are made for: the board draws a cell
// as a disc of radius 60 and rings tokens at radii 25 and 44 around it.
constexpr int TOKEN_SIZE = 46;
constexpr float TOKEN_RADIUS = 22.0f;
constexpr int BACKGROUND_WIDTH = 1024;
constexpr int BACKGROUND_HEIGHT = 768;

// A shaded metal token, TOKEN_SIZE pixels square, a disc of TOKEN_RADIUS
// around the middle with soft (partly transparent) edges. Gold carries a
// raised hexagon, Silver a raised ring, so the sides differ in shape as well
// as colour. Lit from the front. Outside the disc alpha is 0 and the colour
// is the rim's, so filtering never pulls in a dark fringe.
Image PaintToken(Metal metal);

// The 1024 by 768 backdrop: a calm slate-teal field, lighter in the middle
// where the board lies, with a faint triangle lattice whose corners meet
// the cell centres of the board.
Image PaintBackground();

// The program's icon: a gold token in front of a silver one, on a
// transparent square of `size` pixels (32 for the window icon).
Image PaintIcon(int size);

// The same two tokens for a web app's maskable icon: opaque to the edges,
// everything that matters inside the middle circle of 80 % of `size`.
Image PaintMaskableIcon(int size);

} // namespace gen

#endif
