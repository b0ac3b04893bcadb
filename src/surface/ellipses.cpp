#include "raster.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <vector>

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

// The same root by Newton's method, kept inside the bisection's bracket: a
// few steps instead of fifty. Not a number when it does not settle.
double ellipseRootByNewton(double r0, double z0, double z1, double g)
{
    const double n0 = r0 * z0;
    double low = z1 - 1;
    double high = g < 0 ? 0 : std::sqrt(n0 * n0 + z1 * z1) - 1;
    // The step from 0; the sum falls and bends upwards, so from the left of
    // the root the steps approach it without passing it.
    double s = g / (2 * (z0 * z0 / r0 + z1 * z1));
    for (int i = 0; i < 100; ++i) {
        if (!(s > low && s < high))
            s = (low + high) / 2;
        const double inverse0 = 1 / (s + r0), inverse1 = 1 / (s + 1);
        const double ratio0 = n0 * inverse0, ratio1 = z1 * inverse1;
        const double square0 = ratio0 * ratio0, square1 = ratio1 * ratio1;
        const double value = square0 + square1 - 1;
        if (value > 0)
            low = s;
        else if (value < 0)
            high = s;
        else
            return s;
        const double step = value / (2 * (square0 * inverse0 + square1 * inverse1));
        // Below this the steps are rounding noise.
        if (std::abs(step) <= 1e-14 * (std::abs(s) + r0))
            return s + step;
        s += step;
    }
    return std::numeric_limits<double>::quiet_NaN();
}

// The sign of signedDistance(a, b, x, y) - threshold, with the root found
// by Newton's method. A distance too close to the threshold for the two
// roots' rounding to be sure of the side (or a root that did not settle)
// is left to the bisection, so the answer is always the bisection's.
int compareDistance(double a, double b, double x, double y, double threshold)
{
    if (x > 0 && y > 0) {
        const double inside = (x / a) * (x / a) + (y / b) * (y / b) - 1;
        if (inside != 0) {
            const double r0 = (a / b) * (a / b);
            const double s = ellipseRootByNewton(r0, x / a, y / b, inside);
            const double dx = r0 * x / (s + r0) - x, dy = y / (s + 1) - y;
            const double size = std::sqrt(dx * dx + dy * dy);
            const double distance = inside < 0 ? -size : size;
            // Both roots lie within rounding of the true one, and the two
            // distances far closer than this to each other: rounding's effect
            // grows with the axes, and near the long axis as y shrinks.
            const double doubt = 1e-11 * (a + x + y + a * a / b + a * a / y);
            if (distance > threshold + doubt)
                return 1;
            if (distance < threshold - doubt)
                return -1;
        }
    }
    const double distance = signedDistance(a, b, x, y);
    return (distance > threshold) - (distance < threshold);
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

    EllipseRow row(std::int64_t y)
    {
        EllipseRow result;
        // Pixels rightStart + j lie right of the centre, leftStart - j left of
        // it, at the same distance; they are one pixel when the centre is one.
        const std::int64_t rightStart = raster::floorDiv(centreX, 2);
        const std::int64_t leftStart = raster::floorDiv(centreX - 1, 2);
        const std::int64_t offset = raster::doubledCentre(int(y)) - centreY;
        const auto [inner, outer] = reachAt(std::abs(offset), offset < 0);
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
    // Where a row's pixels, counted outwards from the centre column, leave
    // the brush's inside (inner) and the pen (outer).
    struct Reach {
        std::int64_t inner, outer;
    };

    // A row's reach depends only on its height above or below the centre, in
    // doubled units. Rows are asked for from the top down: the reaches
    // found above the centre serve the rows below it.
    Reach reachAt(std::int64_t height, bool above)
    {
        if (!above && height <= keptFrom) {
            const auto index = std::size_t((keptFrom - height) / 2);
            if (index < kept.size())
                return kept[index];
        }
        const Reach reach = reachFromScratch(double(height));
        if (above) {
            if (kept.empty())
                keptFrom = height;
            kept.push_back(reach);
        }
        return reach;
    }

    Reach reachFromScratch(double fy)
    {
        const std::int64_t rightStart = raster::floorDiv(centreX, 2);
        const auto compareAt = [&](std::int64_t j, double threshold) {
            const double fx = double(2 * (rightStart + j) + 1 - centreX);
            return radiusX >= radiusY ? compareDistance(radiusX, radiusY, fx, fy, threshold)
                                      : compareDistance(radiusY, radiusX, fy, fx, threshold);
        };
        // Along a row the signed distance only grows away from the centre,
        // and where it crosses the thresholds moves little from row to row.
        const std::int64_t limit = std::int64_t(radiusX) / 2 + width + 2;
        previous.inner = firstFrom(previous.inner, limit, [&](std::int64_t j) { return compareAt(j, -width) > 0; });
        previous.outer = firstFrom(previous.outer, limit, [&](std::int64_t j) { return compareAt(j, width) >= 0; });
        return previous;
    }

    // The first j in 0..limit where a condition that stays true once true
    // holds (at limit it is taken to hold), searched outwards from a guess.
    template <typename Condition>
    static std::int64_t firstFrom(std::int64_t guess, std::int64_t limit, Condition condition)
    {
        const auto holds = [&](std::int64_t j) { return j >= limit || condition(j); };
        // The condition fails at low (or low is -1) and holds at high.
        std::int64_t low, high;
        std::int64_t step = 1;
        guess = std::clamp<std::int64_t>(guess, 0, limit);
        if (holds(guess)) {
            high = guess;
            low = guess - 1;
            while (low >= 0 && holds(low)) {
                high = low;
                low = high - (step *= 2);
            }
            low = std::max<std::int64_t>(low, -1);
        } else {
            low = guess;
            high = std::min(guess + 1, limit);
            while (!holds(high)) {
                low = high;
                high = std::min(low + (step *= 2), limit);
            }
        }
        while (high - low > 1) {
            const std::int64_t middle = low + (high - low) / 2;
            if (holds(middle))
                high = middle;
            else
                low = middle;
        }
        return high;
    }

    int width;                     // also the path's reach, in doubled units
    std::int64_t centreX, centreY; // doubled coordinates
    double radiusX, radiusY;
    Reach previous{0, 0};    // the last row worked out, where the next one starts looking
    std::vector<Reach> kept; // for heights keptFrom, keptFrom - 2, ...
    std::int64_t keptFrom = 0;
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

    // Equal rays keep the whole outline.
    bool whole() const { return sweep == 0; }
    bool contains(std::int64_t x, std::int64_t y) const
    {
        return whole() || normalised(angleOf(x, y) - start) <= sweep;
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
void paintEllipse(Shape& shape, const TRect& box, Plotter& pen, Plotter* brush, const ArcRange* arc)
{
    const std::int64_t first = std::max<std::int64_t>(shape.firstRow(box.Top), 0);
    const std::int64_t last = std::min<std::int64_t>(shape.lastRow(box.Bottom), pen.height() - 1);
    for (std::int64_t y = first; y <= last; ++y) {
        const EllipseRow row = shape.row(y);
        for (int i = 0; i < row.penCount; ++i) {
            if (!arc || arc->whole()) {
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
    const auto paint = [&](auto&& shape) {
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
