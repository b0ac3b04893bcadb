// Internal to the surface: how the drawing primitives write pixels, and the
// geometry they share.
#pragma once

#include "surface.h"

#include <algorithm>

namespace raster {

using Int128 = __int128;

// A run of pixels in one row, from <= x < to; wide enough for coordinates
// far outside the picture.
struct Span {
    std::int64_t from = 0, to = 0;
    bool empty() const { return from >= to; }
};

// A coordinate pulled into -1..size: anything further out acts the same, and
// the result fits an int.
inline int clampToPicture(std::int64_t coordinate, int size)
{
    return int(std::clamp<std::int64_t>(coordinate, -1, size));
}

// Every pixel a drawing primitive changes goes through a Plotter; only Draw,
// which copies a whole picture with no pen mode, writes its rows itself. A
// Plotter clips silently, applies the raster operation to the stored value
// (a colour at 24 bits per pixel, a table index at 8) and remembers what it
// touched.
class Plotter {
public:
    // Copy puts the colour; not-xor makes a pixel NOT (colour XOR pixel).
    Plotter(TPicture& picture, TPenMode mode, TColor colour);
    // Exclusive-or with all ones: twice restores the picture.
    static Plotter inverter(TPicture& picture);

    void plot(int x, int y);
    void span(int y, int left, int right);         // left <= x < right
    void span(std::int64_t y, const Span& pixels); // clamped first: far-off spans cost nothing
    TRect touched() const;
    int width() const { return picture.Width(); }
    int height() const { return picture.Height(); }

private:
    Plotter(TPicture& picture, bool copy, std::uint32_t value);
    void fillRow(std::uint8_t* start, int count);
    void xorRow(std::uint8_t* start, int count);

    TPicture& picture;
    bool copy;
    std::uint32_t value; // the stored value to copy, or the mask to exclusive-or with
    int minX, minY, maxX, maxY;
};

// Geometry in doubled coordinates: pixel (x, y) covers the square from
// (2x, 2y) to (2x + 2, 2y + 2) and has its centre at (2x + 1, 2y + 1), so
// half-pixel positions stay integers.
inline std::int64_t doubledCentre(int pixel) { return 2 * std::int64_t(pixel) + 1; }

// A wide pen's centre line runs through pixel centres when its width is odd
// and along pixel corners when it is even, which puts the extra row of an
// even pen above a horizontal line and the extra column left of a vertical one.
inline std::int64_t doubledPenPath(int pixel, int penWidth) { return 2 * std::int64_t(pixel) + (penWidth % 2); }

inline std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t quotient = a / b;
    return quotient - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// The largest q with q * q <= n, for n >= 0.
std::int64_t integerSqrt(Int128 n);

// Widths beyond this cover any picture there is; capping them keeps the
// exact arithmetic inside 128 bits.
inline int effectivePenWidth(int width) { return std::clamp(width, 1, 1 << 24); }

// Rectangles are right and bottom exclusive everywhere in the surface.
inline bool isEmpty(const TRect& rect) { return rect.Left >= rect.Right || rect.Top >= rect.Bottom; }

// The same rectangle with its corners in order: Left <= Right, Top <= Bottom.
TRect normalised(TRect rect);

// The part of the rectangle inside the picture; a turned-round one stays empty.
TRect clipped(TRect rect, const TPicture& picture);

// The smallest rectangle holding both; an empty one adds nothing.
inline TRect unite(const TRect& a, const TRect& b)
{
    if (isEmpty(b))
        return a;
    if (isEmpty(a))
        return b;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

// What Rectangle, Ellipse and Arc make of a normalised box. Empty boxes and
// the single pixel draw nothing; a box one pixel wide or high (but not both)
// is thin: it has no inside, and its outline is one band along its column
// or row, which the rectangle's outline gives for a path of zero width.
enum class BoxKind { Nothing, Thin, Ordinary };
BoxKind kindOf(const TRect& box);

// One row of the pen's outline around the path through pixel columns
// left..right and rows top..bottom (both inclusive): every pixel whose
// centre lies closer than half the pen width to the path. Corners come out
// round. Returns how many spans it wrote (0 to 2), left to right and apart.
int outlineRow(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, int width, std::int64_t y,
               Span spans[2]);

// A one-pixel line from (x0, y0) towards (x1, y1), the end pixel left out.
void thinLine(Plotter& out, int x0, int y0, int x1, int y1);
// A line of the given width with round ends, the end included.
void wideLine(Plotter& out, int x0, int y0, int x1, int y1, int width);

} // namespace raster
