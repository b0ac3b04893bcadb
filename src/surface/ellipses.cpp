#include "raster.h"

#include <cmath>
#include <numbers>
#include <optional>

using raster::Int128;
using raster::Plotter;
using raster::Span;

namespace {

// What one row of an ellipse paints: up to two pen spans, left to right and
// apart, and the brush span between them.
struct EllipseRow {
    Span pen[2];
    int penCount = 0;
    Span brush;
};

// The one-pixel outline. S is the set of pixels whose centres lie inside the
// ellipse inscribed in the box; the outline is the pixels of S with a
// neighbour above, below, left or right outside S, which makes an unbroken
// thin curve, and the brush fills the rest of S.
class ThinEllipse {
public:
    ThinEllipse(int left, int top, int right, int bottom)
        : centreX(std::int64_t(left) + right), centreY(std::int64_t(top) + bottom), radiusX(std::int64_t(right) - left),
          radiusY(std::int64_t(bottom) - top)
    {
    }

    std::optional<Span> inside(std::int64_t y) const
    {
        const std::int64_t dy = raster::doubledCentre(int(y)) - centreY;
        const Int128 ry2 = Int128(radiusY) * radiusY;
        if (Int128(dy) * dy >= ry2)
            return std::nullopt;
        // dx² ry² < rx² (ry² - dy²), for the largest |dx| of a pixel centre.
        const Int128 bound = Int128(radiusX) * radiusX * (ry2 - Int128(dy) * dy);
        const std::int64_t reach = raster::integerSqrt((bound - 1) / ry2);
        // Pixel centres 2x + 1 within centreX - reach .. centreX + reach.
        const Span span{raster::floorDiv(centreX - reach, 2), raster::floorDiv(centreX - 1 + reach, 2) + 1};
        if (span.empty())
            return std::nullopt;
        return span;
    }

    EllipseRow row(std::int64_t y) const
    {
        EllipseRow result;
        const auto here = inside(y);
        if (!here)
            return result;
        const auto above = inside(y - 1), below = inside(y + 1);
        Span inner{here->from + 1, here->to - 1};
        if (above && below) {
            inner.from = std::max({inner.from, above->from, below->from});
            inner.to = std::min({inner.to, above->to, below->to});
        }
        if (!above || !below || inner.from >= inner.to) {
            result.pen[result.penCount++] = *here;
            return result;
        }
        result.pen[result.penCount++] = {here->from, inner.from};
        result.pen[result.penCount++] = {inner.to, here->to};
        result.brush = inner;
        return result;
    }

    std::int64_t firstRow(std::int64_t top) const { return top; }
    std::int64_t lastRow(std::int64_t bottom) const { return bottom - 1; }
    double doubledCentreX() const { return double(centreX); }
    double doubledCentreY() const { return double(centreY); }

private:
    std::int64_t centreX, centreY, radiusX, radiusY; // doubled coordinates
};

// Bisection for the root s of (n0 / (s + r0))² + (z1 / (s + 1))² = 1, the
// step in the distance from a point to an ellipse below.
double ellipseRoot(double r0, double z0, double z1, double g)
{
    const double n0 = r0 * z0;
    double low = z1 - 1;
    double high = g < 0 ? 0 : std::hypot(n0, z1) - 1;
    double s = 0;
    for (int i = 0; i < 200; ++i) {
        s = (low + high) / 2;
        if (s == low || s == high)
            break;
        const double ratio0 = n0 / (s + r0), ratio1 = z1 / (s + 1);
        const double value = ratio0 * ratio0 + ratio1 * ratio1 - 1;
        if (value > 0)
            low = s;
        else if (value < 0)
            high = s;
        else
            break;
    }
    return s;
}

// Distance from (x, y), x and y >= 0, to the ellipse with semi-axes a >= b,
// negative inside. (Closest point by the method of Lagrange multipliers.)
double signedDistance(double a, double b, double x, double y)
{
    const double inside = (x / a) * (x / a) + (y / b) * (y / b) - 1;
    double distance;
    if (y > 0 && x > 0) {
        if (inside == 0)
            return 0;
        const double r0 = (a / b) * (a / b);
        const double s = ellipseRoot(r0, x / a, y / b, inside);
        distance = std::hypot(r0 * x / (s + r0) - x, y / (s + 1) - y);
    } else if (y > 0) {
        distance = std::abs(y - b);
    } else if (a * x < a * a - b * b) {
        const double ratio = a * x / (a * a - b * b);
        distance = std::hypot(a * ratio - x, b * std::sqrt(1 - ratio * ratio));
    } else {
        distance = std::abs(x - a);
    }
    return inside < 0 ? -distance : distance;
}

// A wide outline: every pixel whose centre lies closer than half the pen
// width to the path through the box's outermost pixels; the brush fills
// the path's inside. Rows are worked out on the right half and mirrored, so
// the shape is symmetric whatever the rounding.
class WideEllipse {
public:
    WideEllipse(int left, int top, int right, int bottom, int width)
        : width(width), centreX((raster::doubledPenPath(left, width) + raster::doubledPenPath(right - 1, width)) / 2),
          centreY((raster::doubledPenPath(top, width) + raster::doubledPenPath(bottom - 1, width)) / 2),
          radiusX(double(std::int64_t(right) - 1 - left)), radiusY(double(std::int64_t(bottom) - 1 - top))
    {
    }

    EllipseRow row(std::int64_t y) const
    {
        EllipseRow result;
        const double fy = std::abs(double(raster::doubledCentre(int(y)) - centreY));
        // Pixels rightStart + j lie right of the centre, leftStart - j left of
        // it, at the same distance; they are one pixel when the centre is one.
        const std::int64_t rightStart = raster::floorDiv(centreX, 2);
        const std::int64_t leftStart = raster::floorDiv(centreX - 1, 2);
        const auto distanceAt = [&](std::int64_t j) {
            const double fx = double(2 * (rightStart + j) + 1 - centreX);
            return radiusX >= radiusY ? signedDistance(radiusX, radiusY, fx, fy)
                                      : signedDistance(radiusY, radiusX, fy, fx);
        };
        // Along a row the signed distance only grows away from the centre.
        const std::int64_t limit = std::int64_t(radiusX) / 2 + width + 2;
        const std::int64_t inner = firstWhere(limit, [&](std::int64_t j) { return distanceAt(j) > -width; });
        const std::int64_t outer = firstWhere(limit, [&](std::int64_t j) { return distanceAt(j) >= width; });
        if (outer <= inner)
            return result;
        if (inner == 0) {
            result.pen[result.penCount++] = {leftStart - outer + 1, rightStart + outer};
            return result;
        }
        result.pen[result.penCount++] = {leftStart - outer + 1, leftStart - inner + 1};
        result.pen[result.penCount++] = {rightStart + inner, rightStart + outer};
        result.brush = {leftStart - inner + 1, rightStart + inner};
        return result;
    }

    std::int64_t firstRow(std::int64_t top) const { return top - width / 2 - 1; }
    std::int64_t lastRow(std::int64_t bottom) const { return bottom + width / 2; }
    double doubledCentreX() const { return double(centreX); }
    double doubledCentreY() const { return double(centreY); }

private:
    // The first j in 0..limit where a condition that stays true once true holds.
    template <typename Condition>
    static std::int64_t firstWhere(std::int64_t limit, Condition condition)
    {
        std::int64_t low = 0, high = limit;
        while (low < high) {
            const std::int64_t middle = low + (high - low) / 2;
            if (condition(middle))
                high = middle;
            else
                low = middle + 1;
        }
        return low;
    }

    int width;                     // also the path's reach, in doubled units
    std::int64_t centreX, centreY; // doubled coordinates
    double radiusX, radiusY;
};

// A thin box has no inside: its outline is the rectangle's band along its
// one column or row, centred on the path the way the wide ellipse centres it.
class ThinBoxBand {
public:
    ThinBoxBand(const TRect& box, int width)
        : box(box), width(width),
          centreX((raster::doubledPenPath(box.Left, width) + raster::doubledPenPath(box.Right - 1, width)) / 2),
          centreY((raster::doubledPenPath(box.Top, width) + raster::doubledPenPath(box.Bottom - 1, width)) / 2)
    {
    }

    EllipseRow row(std::int64_t y) const
    {
        EllipseRow result;
        result.penCount = raster::outlineRow(box.Left, box.Top, std::int64_t(box.Right) - 1,
                                             std::int64_t(box.Bottom) - 1, width, y, result.pen);
        return result;
    }

    std::int64_t firstRow(std::int64_t top) const { return top - width / 2 - 1; }
    std::int64_t lastRow(std::int64_t bottom) const { return bottom + width / 2 + 1; }
    double doubledCentreX() const { return double(centreX); }
    double doubledCentreY() const { return double(centreY); }

private:
    TRect box;
    int width;
    std::int64_t centreX, centreY; // doubled coordinates
};

// Arc keeps the outline pixels counter-clockwise (as seen on the screen)
// from the ray towards the start point to the ray towards the end point.
class ArcRange {
public:
    ArcRange(double centreX, double centreY, int xs, int ys, int xe, int ye)
        : centreX(centreX), centreY(centreY), start(angleOf(xs, ys)), sweep(normalised(angleOf(xe, ye) - start))
    {
    }

    bool contains(std::int64_t x, std::int64_t y) const
    {
        return sweep == 0 || normalised(angleOf(x, y) - start) <= sweep;
    }

private:
    double angleOf(std::int64_t x, std::int64_t y) const
    {
        return std::atan2(centreY - (2.0 * double(y) + 1), (2.0 * double(x) + 1) - centreX);
    }
    static double normalised(double angle)
    {
        constexpr double turn = 2 * std::numbers::pi;
        angle = std::fmod(angle, turn);
        return angle < 0 ? angle + turn : angle;
    }

    double centreX, centreY; // doubled coordinates
    double start, sweep;
};

template <typename Shape>
void paintEllipse(const Shape& shape, const TRect& box, Plotter& pen, Plotter* brush, const ArcRange* arc)
{
    const std::int64_t first = std::max<std::int64_t>(shape.firstRow(box.Top), 0);
    const std::int64_t last = std::min<std::int64_t>(shape.lastRow(box.Bottom), pen.height() - 1);
    for (std::int64_t y = first; y <= last; ++y) {
        const EllipseRow row = shape.row(y);
        for (int i = 0; i < row.penCount; ++i) {
            if (!arc) {
                pen.span(y, row.pen[i]);
                continue;
            }
            const int from = std::max(raster::clampToPicture(row.pen[i].from, pen.width()), 0);
            for (int x = from; x < raster::clampToPicture(row.pen[i].to, pen.width()); ++x)
                if (arc->contains(x, y))
                    pen.plot(x, int(y));
        }
        if (brush)
            brush->span(y, row.brush);
    }
}

// Shared by Ellipse and Arc, which take the box's corners in any order.
TRect drawEllipse(TPicture& picture, const TRect& corners, TPenMode mode, TColor penColour, int penWidth,
                  const TColor* brushColour, const int* arcPoints)
{
    const TRect box = raster::normalised(corners);
    const raster::BoxKind kind = raster::kindOf(box);
    if (kind == raster::BoxKind::Nothing)
        return {};
    Plotter pen(picture, mode, penColour);
    std::optional<Plotter> brush;
    if (brushColour)
        brush.emplace(picture, mode, *brushColour);
    penWidth = raster::effectivePenWidth(penWidth);
    const auto paint = [&](const auto& shape) {
        std::optional<ArcRange> arc;
        if (arcPoints)
            arc.emplace(shape.doubledCentreX(), shape.doubledCentreY(), arcPoints[0], arcPoints[1], arcPoints[2],
                        arcPoints[3]);
        paintEllipse(shape, box, pen, brush ? &*brush : nullptr, arc ? &*arc : nullptr);
    };
    // The wide ellipse's distance divides by the semi-axes, zero for a thin box.
    if (kind == raster::BoxKind::Thin)
        paint(ThinBoxBand(box, penWidth));
    else if (penWidth == 1)
        paint(ThinEllipse(box.Left, box.Top, box.Right, box.Bottom));
    else
        paint(WideEllipse(box.Left, box.Top, box.Right, box.Bottom, penWidth));
    return raster::unite(pen.touched(), brush ? brush->touched() : TRect{});
}

} // namespace

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    const TColor brush = Brush.Color;
    changed(drawEllipse(picture, {left, top, right, bottom}, Pen.Mode, Pen.Color, Pen.Width, &brush, nullptr));
}

// Equal start and end rays outline the whole ellipse.
void TCanvas::Arc(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye)
{
    const int points[4] = {xs, ys, xe, ye};
    changed(drawEllipse(picture, {left, top, right, bottom}, Pen.Mode, Pen.Color, Pen.Width, nullptr, points));
}
