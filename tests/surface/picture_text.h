// Tiny pictures as ASCII art, for tests that compare exact pixels.
#pragma once

#include "pictures.h"
#include "surface.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

// Picture colours for the art: '.' white, '#' black, 'r' red, 'g' green,
// 'b' blue, 'y' yellow. Rows are separated by newlines; blank lines and
// leading spaces are ignored.
TColor colourOf(char symbol);
char symbolOf(TColor colour);

TPicture pictureFromText(const std::string& art);
std::string textOf(const TPicture& picture);

// The three shapes drawn from one box, by number: 0 Rectangle, 1 Ellipse,
// 2 Arc outlining the whole ellipse.
void drawShape(TCanvas& canvas, int shape, const TRect& box);

// Compares the picture with the art. On a mismatch it writes the actual
// picture and a diff (differing pixels in red) as PPM files next to the
// test binary and names them in the failure message.
::testing::AssertionResult looksLike(const TPicture& picture, const std::string& art);
