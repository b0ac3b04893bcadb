// The twenty colour swatches of the left column.
#pragma once

#include "surface.h"

#include <array>

struct Swatch {
    int number;    // Shape2 to Shape21
    int left, top; // on Panel1
    TColor colour;
};

// In stacking order, bottom first: row by row, the left column first. The
// colours are the surface's, which the save's colour table holds exactly.
inline constexpr std::array<Swatch, 20> swatches = [] {
    constexpr struct {
        int number, left, top;
    } places[] = {
        {3, 0, 0},    {2, 36, 0},    {4, 0, 37},    {5, 36, 37},   {6, 0, 72},    {7, 36, 72},   {8, 0, 108},
        {9, 36, 108}, {10, 0, 144},  {11, 36, 144}, {12, 0, 180},  {13, 36, 180}, {14, 0, 216},  {15, 36, 216},
        {16, 0, 252}, {17, 36, 252}, {18, 0, 288},  {19, 36, 288}, {20, 0, 324},  {21, 36, 324},
    };
    std::array<Swatch, 20> placed{};
    for (std::size_t index = 0; index < placed.size(); ++index)
        placed[index] = {places[index].number, places[index].left, places[index].top, swatchColours[index]};
    return placed;
}();
