#include "raster.h"

using raster::Plotter;
using raster::Span;

namespace raster {

// With left == right or top == bottom every row has one span: this is the
// band a thin box is outlined with, for Rectangle and Ellipse alike.
int outlineRow(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, int width, std::int64_t y,
               Span spans[2])
{
    const std::int64_t x0 = doubledPenPath(int(left), width), x1 = doubledPenPath(int(right), width);
    const std::int64_t y0 = doubledPenPath(int(top), width), y1 = doubledPenPath(int(bottom), width);
    const std::int64_t row = doubledCentre(int(y));
    // Pixels whose centre x satisfies x0 - reach < 2px + 1 < x1 + reach.
    const auto within = [](std::int64_t from, std::int64_t to, std::int64_t reach) {
        return Span{floorDiv(from - reach - 1, 2) + 1, floorDiv(to + reach - 1 + 1, 2)};
    };
    const std::int64_t outside = std::max({y0 - row, row - y1, std::int64_t(0)});
    if (outside >= width)
        return 0;
    if (outside > 0) {
        // Beyond the top or bottom side: the round corners and the side itself.
        const std::int64_t reach = integerSqrt(Int128(width) * width - Int128(outside) * outside - 1) + 1;
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

} // namespace raster

// The outline runs along columns left and right - 1 and rows top and
// bottom - 1; the brush fills what lies inside it. Each pixel is written
// once, by the pen or by the brush, so not-xor twice restores the picture.
// A thin box's outline is a single band, with nothing inside for the brush.
void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    const TRect box = raster::normalised({left, top, right, bottom});
    if (raster::kindOf(box) == raster::BoxKind::Nothing)
        return;
    Plotter pen(picture, Pen.Mode, Pen.Color);
    Plotter brush(picture, Pen.Mode, Brush.Color);
    const int width = raster::effectivePenWidth(Pen.Width);
    const std::int64_t reach = width / 2 + 1;
    const std::int64_t firstRow = std::max<std::int64_t>(std::int64_t(box.Top) - reach, 0);
    const std::int64_t lastRow = std::min<std::int64_t>(std::int64_t(box.Bottom) + reach, picture.Height() - 1);
    for (std::int64_t y = firstRow; y <= lastRow; ++y) {
        Span spans[2];
        const int count = raster::outlineRow(box.Left, box.Top, std::int64_t(box.Right) - 1,
                                             std::int64_t(box.Bottom) - 1, width, y, spans);
        for (int i = 0; i < count; ++i)
            pen.span(y, spans[i]);
        // The brush fills the inside of the path between the pen's spans.
        if (y >= box.Top && y < box.Bottom && count == 2) {
            const Span inside{std::max<std::int64_t>(spans[0].to, box.Left),
                              std::min<std::int64_t>(spans[1].from, box.Right)};
            brush.span(y, inside);
        }
    }
    changed(raster::unite(pen.touched(), brush.touched()));
}
