// Pictures and glyphs at the screen's scale. Each screen pixel is the
// average, by area, of the pixels it covers: at whole-number scales every
// pixel becomes a block of whole screen pixels, as sharp as at scale 1; at
// others only the screen pixels on the border of two pixels mix their
// colours, so a line keeps one width along its length and a colour fills
// its inside exactly as drawn.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRect>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// Where a screen pixel's column (or row) takes its colour from: the first
// pixel it covers and how much of the next one it covers too, in 256ths.
// Scales are at least 1, so no screen pixel covers more than two.
struct AreaSample {
    int first = 0;
    int nextWeight = 0;
};

// The samples of the screen pixels start to start + count - 1 along one
// axis, for a row of `length` pixels whose first begins at screen position
// `origin`, each `scale` screen pixels long. Screen pixels beyond either end
// take the end pixel.
std::vector<AreaSample> areaSamples(double origin, double scale, int start, int count, int length);

// How far up and left of its place a picture is shown so that every screen
// pixel shows the picture pixel that a press there reaches. Qt reports the
// pointer in whole pixels of the layout, rounded, so each pixel of the
// layout takes in the screen pixels from half a pixel before it to half a
// pixel after (ties to the later one). At whole-number scales the shift is
// whole screen pixels, and the picture stays sharp; at 1 there is none.
double pointerAlignment(double scale);

// Gives the pixels from..to - 1 of one source row, as premultiplied
// 0xAARRGGBB values (QImage's ARGB32_Premultiplied), the pointer at pixel
// `from`; it stays valid until the next call.
using SourceRow = std::function<const std::uint32_t*(int y, int from, int to)>;

// Fills `target` (ARGB32_Premultiplied or RGB32) with the screen area
// target.rect() moved to `area`'s corner, from a source of width x height
// pixels shown from screen position `origin` at `scale`. Only the source
// pixels that area covers are asked for, each row once.
void drawAreaScaled(const SourceRow& source, int width, int height, QPointF origin, double scale, const QRect& area,
                    QImage& target);
// The same from the area's samples, for a view that repaints parts of
// itself often and works out its samples once.
void drawAreaScaled(const SourceRow& source, std::span<const AreaSample> columns, std::span<const AreaSample> rows,
                    QImage& target);

// A whole image at the scale, as the screen shows it from a whole-pixel
// position: ceil(size * scale) screen pixels.
QImage areaScaled(const QImage& image, double scale);

// Draws an image made of screen pixels with its top-left corner on that
// screen pixel, whatever the painter's scale.
void drawAtScreenPixel(QPainter& painter, QPoint screenPixel, const QImage& image);
