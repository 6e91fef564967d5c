#ifndef VESK_GRAPHICS_SHAPES_H
#define VESK_GRAPHICS_SHAPES_H

// Untextured shapes centred on the current origin, in the caller's colour.
void DrawCircle(float radius, bool filled);
void DrawRing(float radius, float width);   // band from radius to radius + width

#endif
