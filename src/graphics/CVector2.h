#ifndef VESK_GRAPHICS_CVECTOR2_H
#define VESK_GRAPHICS_CVECTOR2_H

// A position in drawing units.
class CVector2
{
public:
    CVector2() : x(0), y(0) {}
    CVector2(float px, float py) : x(px), y(py) {}
    CVector2(const CVector2& other) = default;
    CVector2& operator=(const CVector2& other) = default;

    float x;
    float y;
};

#endif
