// The rubber-band frame of the rectangle and ellipse tools.
#pragma once

#include "surface.h"

// The frame from the press point (startX, startY) to the pointer (x, y),
// with Left <= Right and Top <= Bottom. With Shift held it is the square of
// side |x - startX| hanging down from the press row; a pointer above the
// press row overrides that, and the frame then runs from the pointer's row
// down to the press row, as without Shift.
inline TRect bandRectFor(int startX, int startY, int x, int y, bool shiftHeld)
{
    TRect band{startX, startY, x, shiftHeld ? startY + (x < startX ? startX - x : x - startX) : y};
    if (x < startX) {
        band.Left = x;
        band.Right = startX;
    }
    if (y < startY) {
        band.Top = y;
        band.Bottom = startY;
    }
    return band;
}
