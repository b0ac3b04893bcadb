#include "raster.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace raster {
namespace {

// Ties between two pixels go the way the classic platform breaks them: the
// minor coordinate advances at error + bias > 0, with bias 1 in these four
// octants (y grows downwards) and 0 in the other four.
int tieBias(std::int64_t dx, std::int64_t dy)
{
    const std::int64_t width = std::abs(dx);
    const std::int64_t height = std::abs(dy);
    if (dx <= 0 && dy > 0 && width <= height) // mostly down, leaning left
        return 1;
    if (dx < 0 && dy <= 0 && width > height) // mostly left, level or rising
        return 1;
    if (dx < 0 && dy < 0 && width <= height) // mostly up, leaning left
        return 1;
    if (dx > 0 && dy < 0 && width > height) // mostly right, rising
        return 1;
    return 0;
}

// The steps k, 0 <= k < steps, whose coordinate start + direction * k lies in 0..size-1.
std::pair<std::int64_t, std::int64_t> visibleSteps(std::int64_t start, int direction, std::int64_t steps, int size)
{
    if (direction > 0)
        return {std::max<std::int64_t>(0, -start), std::min(steps - 1, size - 1 - start)};
    return {std::max<std::int64_t>(0, start - size + 1), std::min(steps - 1, start)};
}

std::int64_t ceilDiv(Int128 numerator, std::int64_t denominator)
{
    if (numerator <= 0)
        return -std::int64_t(-numerator / denominator);
    return std::int64_t((numerator + denominator - 1) / denominator);
}

} // namespace

void thinLine(Plotter& out, int x0, int y0, int x1, int y1)
{
    const std::int64_t dx = std::int64_t(x1) - x0;
    const std::int64_t dy = std::int64_t(y1) - y0;
    if (dx == 0 && dy == 0)
        return;
    const bool xMajor = std::abs(dx) > std::abs(dy);
    const std::int64_t major = xMajor ? std::abs(dx) : std::abs(dy);
    const std::int64_t minor = xMajor ? std::abs(dy) : std::abs(dx);
    const int majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t majorStart = xMajor ? x0 : y0;
    const std::int64_t minorStart = xMajor ? y0 : x0;
    const int minorSize = xMajor ? out.height() : out.width();
    const int bias = tieBias(dx, dy);

    // Clipping skips straight to the first step inside the picture; the
    // recurrence's state there comes from its closed form
    //   offset(k) = ceil((2 minor k - major + bias) / (2 major)),
    // so clipping never moves a pixel.
    const auto [first, last] = visibleSteps(majorStart, majorStep, major, xMajor ? out.width() : out.height());
    if (first > last)
        return;
    std::int64_t offset = ceilDiv(Int128(2) * minor * first - major + bias, 2 * major);
    std::int64_t error = std::int64_t(Int128(2) * minor * (first + 1) - major - Int128(2) * major * offset);
    for (std::int64_t step = first; step <= last; ++step) {
        const std::int64_t along = majorStart + majorStep * step;
        const std::int64_t across = minorStart + minorStep * offset;
        if (across >= 0 && across < minorSize) {
            if (xMajor)
                out.plot(int(along), int(across));
            else
                out.plot(int(across), int(along));
        }
        if (error + bias > 0) {
            ++offset;
            error += 2 * minor - 2 * major;
        } else {
            error += 2 * minor;
        }
    }
}

namespace {

// The pen's footprint along a segment: every point closer than radius to it,
// in doubled coordinates (see raster.h).
struct Capsule {
    std::int64_t ax, ay, bx, by, radius;

    Int128 lengthSquared() const { return Int128(bx - ax) * (bx - ax) + Int128(by - ay) * (by - ay); }

    // Exact: decides every pixel the same way wherever the line is clipped.
    bool covers(std::int64_t x, std::int64_t y) const
    {
        const Int128 radiusSquared = Int128(radius) * radius;
        const Int128 px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
        const Int128 along = px * dx + py * dy;
        if (along <= 0)
            return px * px + py * py < radiusSquared;
        if (along >= lengthSquared()) {
            const Int128 qx = x - bx, qy = y - by;
            return qx * qx + qy * qy < radiusSquared;
        }
        const Int128 across = dx * py - dy * px;
        return across * across < radiusSquared * lengthSquared();
    }

    // Where the row at doubled height y crosses the capsule: an estimate of
    // the extent in doubled x, which covers() then makes exact.
    bool rowExtent(double y, double& low, double& high) const
    {
        low = HUGE_VAL;
        high = -HUGE_VAL;
        const double r = double(radius);
        for (const auto& [cx, cy] : {std::pair{ax, ay}, std::pair{bx, by}}) {
            const double rise = y - double(cy);
            if (std::abs(rise) < r) {
                const double half = std::sqrt(r * r - rise * rise);
                low = std::min(low, double(cx) - half);
                high = std::max(high, double(cx) + half);
            }
        }
        const double dx = double(bx - ax), dy = double(by - ay), rise = y - double(ay);
        if (dy == 0) {
            if (std::abs(rise) < r) {
                low = std::min(low, double(std::min(ax, bx)));
                high = std::max(high, double(std::max(ax, bx)));
            }
        } else {
            // Between the caps: |cross| < r * length and 0 <= dot <= length².
            const double length = std::hypot(dx, dy);
            double bandLow = double(ax) + (dx * rise - r * length) / dy;
            double bandHigh = double(ax) + (dx * rise + r * length) / dy;
            if (bandLow > bandHigh)
                std::swap(bandLow, bandHigh);
            if (dx != 0) {
                double capLow = double(ax) - dy * rise / dx;
                double capHigh = double(ax) + (length * length - dy * rise) / dx;
                if (capLow > capHigh)
                    std::swap(capLow, capHigh);
                bandLow = std::max(bandLow, capLow);
                bandHigh = std::min(bandHigh, capHigh);
            } else if (dy * rise < 0 || dy * rise > length * length) {
                bandLow = HUGE_VAL;
            }
            if (bandLow <= bandHigh) {
                low = std::min(low, bandLow);
                high = std::max(high, bandHigh);
            }
        }
        return low <= high;
    }
};

// Coordinates this far out would overflow the exact arithmetic; such a
// segment is first cut to the part that can reach the picture.
constexpr std::int64_t safeCoordinate = std::int64_t(1) << 26;

bool clipToReach(int& x0, int& y0, int& x1, int& y1, int width, int height, int margin)
{
    const auto inRange = [](int v) { return std::abs(std::int64_t(v)) <= safeCoordinate; };
    if (inRange(x0) && inRange(y0) && inRange(x1) && inRange(y1))
        return true;
    // Liang-Barsky against the picture grown by the pen's reach.
    const double dx = double(x1) - x0, dy = double(y1) - y0;
    double enter = 0, leave = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {double(x0) + margin, double(width - 1 + margin) - x0, double(y0) + margin,
                         double(height - 1 + margin) - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
    }
    if (enter > leave)
        return false;
    const int newX0 = int(std::lround(x0 + enter * dx)), newY0 = int(std::lround(y0 + enter * dy));
    x1 = int(std::lround(x0 + leave * dx));
    y1 = int(std::lround(y0 + leave * dy));
    x0 = newX0;
    y0 = newY0;
    return true;
}

} // namespace

void wideLine(Plotter& out, int x0, int y0, int x1, int y1, int width)
{
    width = effectivePenWidth(width);
    if (!clipToReach(x0, y0, x1, y1, out.width(), out.height(), width + 2))
        return;
    const Capsule capsule{doubledPenPath(x0, width), doubledPenPath(y0, width), doubledPenPath(x1, width),
                          doubledPenPath(y1, width), width};
    const std::int64_t top = floorDiv(std::min(capsule.ay, capsule.by) - capsule.radius - 1, 2);
    const std::int64_t bottom = floorDiv(std::max(capsule.ay, capsule.by) + capsule.radius - 1, 2) + 1;
    for (std::int64_t y = std::max<std::int64_t>(top, 0); y <= std::min<std::int64_t>(bottom, out.height() - 1); ++y) {
        double low, high;
        if (!capsule.rowExtent(double(doubledCentre(int(y))), low, high))
            continue;
        // One pixel of slack each way, then exact trimming: a convex shape
        // crosses a row in one run, so trimming the ends finds it exactly.
        std::int64_t first = std::max<std::int64_t>(floorDiv(std::int64_t(std::floor(low)) - 1, 2) - 1, 0);
        std::int64_t last = std::min<std::int64_t>(floorDiv(std::int64_t(std::ceil(high)) - 1, 2) + 1, out.width() - 1);
        while (first <= last && !capsule.covers(doubledCentre(int(first)), doubledCentre(int(y))))
            ++first;
        while (last >= first && !capsule.covers(doubledCentre(int(last)), doubledCentre(int(y))))
            --last;
        if (first <= last)
            out.span(int(y), int(first), int(last) + 1);
    }
}

} // namespace raster
