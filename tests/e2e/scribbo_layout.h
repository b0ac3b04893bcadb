// Where Scribbo's parts are on an 800 x 600 screen and which colours they
// show when it starts, in screen coordinates (the window covers the screen
// from (0, 0)).
#pragma once

#include "rgb.h"

#include <string>
#include <vector>

namespace scribbo {

struct Point {
    int x = 0;
    int y = 0;
};

// Inclusive pixel ranges.
struct Area {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool contains(Point point) const
    {
        return point.x >= left && point.x <= right && point.y >= top && point.y <= bottom;
    }
    int pixelCount() const { return (right - left + 1) * (bottom - top + 1); }
    bool operator==(const Area&) const = default;
};

// What an area must show: the colour on every pixel, or somewhere in it
// (text and glyphs, whose exact pixels depend on fonts).
struct ColourArea {
    std::string name;
    Area area;
    Rgb colour;
    enum class Coverage { EveryPixel, SomePixel } coverage = Coverage::EveryPixel;
};

constexpr Rgb windowGrey{128, 128, 128};
constexpr Rgb barBlue{0, 128, 192};
constexpr Rgb captionYellow{255, 255, 225};
constexpr Rgb columnCream{255, 251, 240};

// The drawing area; picture coordinates are screen coordinates less its corner.
constexpr Area picture{77, 56, 797, 544};
constexpr int pictureWidth = picture.right - picture.left + 1;
constexpr int pictureHeight = picture.bottom - picture.top + 1;

// Where to click: the middle of each button.
namespace buttons {
constexpr Point newPicture{26, 26};
constexpr Point load{81, 26};
constexpr Point save{138, 26};
constexpr Point print{193, 26};
constexpr Point undo{707, 26};
constexpr Point close{772, 26};
constexpr Point biggerPen{58, 458};
constexpr Point smallerPen{58, 482};
constexpr Point filledRectangle{102, 574};
constexpr Point filledEllipse{146, 574};
constexpr Point rectangle{190, 574};
constexpr Point ellipse{234, 574};
constexpr Point pen{278, 574};
constexpr Point line{323, 574};
constexpr Point fill{368, 574};
constexpr Point spray{413, 574};
constexpr Point help{774, 574};
} // namespace buttons

// The help button, 45 x 45: it has no tooltip, and draws a thin frame while
// the pointer is over it with no mouse button held.
constexpr Area helpButton{752, 552, 796, 596};
// Not on any control: the window's grey between the drawing area and the tool bar.
constexpr Point restingPlace{437, 546};

inline Point toScreen(Point inPicture) { return {inPicture.x + picture.left, inPicture.y + picture.top}; }

// The twenty colour swatches row by row, left then right, each as the part
// that no neighbour overlaps.
std::vector<ColourArea> swatches();
// The middle of a swatch, to click on; index as in swatches().
Point swatchMiddle(int index);
// Everything the window shows at start, the whole drawing area included.
std::vector<ColourArea> startLayout();
// The help button's frame, corners left out: light top and left edges, dark
// bottom and right ones.
std::vector<ColourArea> helpButtonFrame();
// The same edges when the pointer is elsewhere: the tool bar's blue.
std::vector<ColourArea> helpButtonWithoutFrame();
// A few single pixels that are all right only once the whole window is
// mapped and painted: the drawing area, both bars, the swatches, the left
// column.
std::vector<ColourArea> paintedSignals();

} // namespace scribbo
