// Colours as the program stores them (0x00BBGGRR) and as Qt shows them.
#pragma once

#include "surface.h"

#include <QColor>

inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor barBlue = 0xC08000;
inline constexpr TColor captionYellow = 0xE1FFFF;
inline constexpr TColor undoBlue = 0x804000;
// The desktop's colour behind the print question. Linux desktops have no
// such colour to read; this is the teal desktops long came with.
inline constexpr TColor clBackground = 0x808000;

inline QColor toQColor(TColor colour)
{
    return QColor(int(colour & 0xFF), int(colour >> 8 & 0xFF), int(colour >> 16 & 0xFF));
}

inline TColor toTColor(const QColor& colour)
{
    return TColor(colour.red()) | TColor(colour.green()) << 8 | TColor(colour.blue()) << 16;
}

// The caption colour that shows on a swatch: each channel turned round, but
// white on the middle grey, where the turned-round colour would hardly show.
inline TColor captionColourOn(TColor swatch) { return swatch == clGray ? clWhite : (swatch ^ 0xFFFFFF); }
