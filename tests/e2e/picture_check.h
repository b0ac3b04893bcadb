// Checks on the drawing area of a screenshot, in picture coordinates.
#pragma once

#include "screenshot.h"
#include "scribbo_layout.h"

#include <string>
#include <vector>

using Path = std::vector<scribbo::Point>;

// The pixel of the picture at a point.
std::optional<Rgb> pictureAt(const Screenshot& screenshot, scribbo::Point inPicture);

// True when the point lies within the distance of the path's segments.
bool isNear(scribbo::Point point, const Path& path, double distance);

// Picture pixels that are not white although no path comes within the
// distance; one line each, at most a few.
std::vector<std::string> strayPixels(const Screenshot& screenshot, const std::vector<Path>& paths, double distance);

// Picture pixels, away from the paths, that differ between two screenshots.
std::vector<std::string> changedPixels(const Screenshot& before, const Screenshot& after,
                                       const std::vector<Path>& ignoredPaths, double distance);

// The listed picture pixels that do not show the colour; one line each.
std::vector<std::string> pixelsNotShowing(const Screenshot& screenshot, const std::vector<scribbo::Point>& inPicture,
                                          Rgb colour);

// Picture pixels that differ from the expected picture, the whole drawing
// area row by row from the top; one line each, at most a few.
std::vector<std::string> differencesFromPicture(const Screenshot& screenshot, const std::vector<Rgb>& expected);
