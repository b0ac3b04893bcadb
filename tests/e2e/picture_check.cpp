#include "picture_check.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>

namespace {

constexpr std::size_t reportedPixels = 10;

double distanceToSegment(scribbo::Point point, scribbo::Point from, scribbo::Point to)
{
    const double dx = to.x - from.x, dy = to.y - from.y;
    const double lengthSquared = dx * dx + dy * dy;
    double along = 0;
    if (lengthSquared > 0)
        along = std::clamp(((point.x - from.x) * dx + (point.y - from.y) * dy) / lengthSquared, 0.0, 1.0);
    return std::hypot(point.x - (from.x + along * dx), point.y - (from.y + along * dy));
}

bool isNearAny(scribbo::Point point, const std::vector<Path>& paths, double distance)
{
    return std::any_of(paths.begin(), paths.end(), [&](const Path& path) { return isNear(point, path, distance); });
}

std::string describePixel(scribbo::Point inPicture, std::optional<Rgb> colour)
{
    std::ostringstream text;
    text << "picture (" << inPicture.x << ", " << inPicture.y << ") is ";
    if (colour)
        text << *colour;
    else
        text << "off the screen";
    return text.str();
}

// Calls the check on every pixel of the picture; lists the first few that
// fail it and counts the rest.
std::vector<std::string> listFailing(const std::function<bool(scribbo::Point)>& isRight,
                                     const std::function<std::string(scribbo::Point)>& describe)
{
    std::vector<std::string> lines;
    std::size_t failing = 0;
    for (int y = 0; y < scribbo::pictureHeight; ++y) {
        for (int x = 0; x < scribbo::pictureWidth; ++x) {
            if (isRight({x, y}))
                continue;
            if (++failing <= reportedPixels)
                lines.push_back(describe({x, y}));
        }
    }
    if (failing > reportedPixels)
        lines.push_back("and " + std::to_string(failing - reportedPixels) + " more");
    return lines;
}

} // namespace

std::optional<Rgb> pictureAt(const Screenshot& screenshot, scribbo::Point inPicture)
{
    const scribbo::Point onScreen = scribbo::toScreen(inPicture);
    return screenshot.at(onScreen.x, onScreen.y);
}

bool isNear(scribbo::Point point, const Path& path, double distance)
{
    if (path.size() == 1)
        return distanceToSegment(point, path.front(), path.front()) <= distance;
    for (std::size_t index = 1; index < path.size(); ++index) {
        if (distanceToSegment(point, path[index - 1], path[index]) <= distance)
            return true;
    }
    return false;
}

std::vector<std::string> strayPixels(const Screenshot& screenshot, const std::vector<Path>& paths, double distance)
{
    return listFailing(
        [&](scribbo::Point point) {
            return pictureAt(screenshot, point) == colours::white || isNearAny(point, paths, distance);
        },
        [&](scribbo::Point point) {
            return describePixel(point, pictureAt(screenshot, point)) + ", far from any stroke";
        });
}

std::vector<std::string> changedPixels(const Screenshot& before, const Screenshot& after,
                                       const std::vector<Path>& ignoredPaths, double distance)
{
    return listFailing(
        [&](scribbo::Point point) {
            return pictureAt(before, point) == pictureAt(after, point) || isNearAny(point, ignoredPaths, distance);
        },
        [&](scribbo::Point point) {
            std::ostringstream was;
            if (const std::optional<Rgb> colour = pictureAt(before, point))
                was << *colour;
            return describePixel(point, pictureAt(after, point)) + ", was " + was.str();
        });
}

std::vector<std::string> pixelsNotShowing(const Screenshot& screenshot, const std::vector<scribbo::Point>& inPicture,
                                          Rgb colour)
{
    std::vector<std::string> lines;
    std::size_t failing = 0;
    for (const scribbo::Point point : inPicture) {
        const std::optional<Rgb> seen = pictureAt(screenshot, point);
        if (seen == colour || ++failing > reportedPixels)
            continue;
        std::ostringstream text;
        text << describePixel(point, seen) << ", not " << colour;
        lines.push_back(text.str());
    }
    if (failing > reportedPixels)
        lines.push_back("and " + std::to_string(failing - reportedPixels) + " more");
    return lines;
}

std::vector<std::string> differencesFromPicture(const Screenshot& screenshot, const std::vector<Rgb>& expected)
{
    const auto wanted = [&](scribbo::Point point) {
        return expected.at(std::size_t(point.y * scribbo::pictureWidth + point.x));
    };
    return listFailing([&](scribbo::Point point) { return pictureAt(screenshot, point) == wanted(point); },
                       [&](scribbo::Point point) {
                           std::ostringstream text;
                           text << describePixel(point, pictureAt(screenshot, point)) << ", not " << wanted(point);
                           return text.str();
                       });
}
