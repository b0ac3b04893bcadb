#include "raster.h"

using raster::Plotter;

namespace {

struct Span {
    std::int64_t from = 0, to = 0; // from <= x < to
    bool empty() const { return from >= to; }
};

// One row of a wide outline around the path through pixel columns
// left..right and rows top..bottom: every pixel whose centre lies closer
// than half the pen width to the path. Corners come out round; the spans
// are returned left to right and do not overlap.
int outlineRow(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, int width, std::int64_t y,
               Span spans[2])
{
    using raster::Int128;
    const std::int64_t x0 = raster::doubledPenPath(int(left), width), x1 = raster::doubledPenPath(int(right), width);
    const std::int64_t y0 = raster::doubledPenPath(int(top), width), y1 = raster::doubledPenPath(int(bottom), width);
    const std::int64_t row = raster::doubledCentre(int(y));
    // Pixels whose centre x satisfies x0 - reach < 2px + 1 < x1 + reach.
    const auto within = [](std::int64_t from, std::int64_t to, std::int64_t reach) {
        return Span{raster::floorDiv(from - reach - 1, 2) + 1, raster::floorDiv(to + reach - 1 + 1, 2)};
    };
    const std::int64_t outside = std::max({y0 - row, row - y1, std::int64_t(0)});
    if (outside >= width)
        return 0;
    if (outside > 0) {
        // Beyond the top or bottom side: the round corners and the side itself.
        const std::int64_t reach = raster::integerSqrt(Int128(width) * width - Int128(outside) * outside - 1) + 1;
        spans[0] = within(x0, x1, reach);
        return 1;
    }
    if (std::min(row - y0, y1 - row) < width) {
        spans[0] = within(x0, x1, width);
        return 1;
    }
    spans[0] = within(x0, x0, width);
    spans[1] = within(x1, x1, width);
    if (spans[1].from <= spans[0].to) {
        spans[0].to = spans[1].to;
        return 1;
    }
    return 2;
}

} // namespace

// The outline runs along columns left and right - 1 and rows top and
// bottom - 1; the brush fills what lies inside it. Each pixel is written
// once, by the pen or by the brush, so not-xor twice restores the picture.
void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    if (right - left < 2 || bottom - top < 2)
        return; // too small to have an outline: draws nothing
    Plotter pen(picture, Pen.Mode, Pen.Color);
    Plotter brush(picture, Pen.Mode, Brush.Color);
    const int width = raster::effectivePenWidth(Pen.Width);
    const std::int64_t reach = width / 2 + 1;
    const std::int64_t firstRow = std::max<std::int64_t>(std::int64_t(top) - reach, 0);
    const std::int64_t lastRow = std::min<std::int64_t>(std::int64_t(bottom) + reach, picture.Height() - 1);
    for (std::int64_t y = firstRow; y <= lastRow; ++y) {
        Span spans[2];
        int count = 0;
        if (width == 1) {
            if (y == top || y == bottom - 1) {
                spans[count++] = {left, right};
            } else if (y > top && y < bottom - 1) {
                spans[count++] = {left, left + 1};
                spans[count++] = {right - 1, right};
            }
        } else {
            count = outlineRow(left, top, std::int64_t(right) - 1, std::int64_t(bottom) - 1, width, y, spans);
        }
        const auto clampX = [&](std::int64_t x) { return int(std::clamp<std::int64_t>(x, -1, picture.Width())); };
        for (int i = 0; i < count; ++i)
            pen.span(int(y), clampX(spans[i].from), clampX(spans[i].to));
        // The brush fills the inside of the path between the pen's spans.
        if (y >= top && y < bottom && count == 2)
            brush.span(int(y), clampX(std::max<std::int64_t>(spans[0].to, left)),
                       clampX(std::min<std::int64_t>(spans[1].from, right)));
    }
    changed(raster::unite(pen.touched(), brush.touched()));
}
