// Pictures for the tests and benchmarks, written once: a white one to start
// from, the one comparison of two pictures, and the one way to show where
// they differ.
#pragma once

#include "surface.h"

#include <set>
#include <string>
#include <utility>

// Every pixel white, at 24 bits per pixel; the drawing area's size unless told.
TPicture whitePicture(int width = 721, int height = 489);

// The same size and every pixel the same colour, whatever the depth of each.
bool samePixels(const TPicture& a, const TPicture& b);

// Where the picture has that colour, as (x, y) pairs.
std::set<std::pair<int, int>> pixelsOf(const TPicture& picture, TColor colour);

// Empty when the pictures have the same pixels. Otherwise what differs,
// after writing <name>.actual.ppm and, when the sizes agree, <name>.diff.ppm
// (differing pixels red, the others white) in the current directory, the
// test program's own in CTest.
std::string describeMismatch(const TPicture& actual, const TPicture& expected, const std::string& name);

// The picture as a binary PPM file, which any image viewer opens.
void writePpm(const std::string& path, const TPicture& picture);
