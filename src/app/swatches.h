// The twenty colour swatches of the left column.
#pragma once

#include "surface.h"

#include <array>

struct Swatch {
    int number;    // Shape2 to Shape21
    int left, top; // on Panel1
    TColor colour;
};

// In stacking order, bottom first: row by row, the left column first.
inline constexpr std::array<Swatch, 20> swatches{{
    {3, 0, 0, 0x0000FF},    {2, 36, 0, 0xE1E1FF},    {4, 0, 37, 0xFF0000},   {5, 36, 37, 0xF0CAA6},
    {6, 0, 72, 0x800080},   {7, 36, 72, 0xFF00FF},   {8, 0, 108, 0x008000},  {9, 36, 108, 0x00FF00},
    {10, 0, 144, 0x800000}, {11, 36, 144, 0xFFFF00}, {12, 0, 180, 0x00FFFF}, {13, 36, 180, 0xCAFFFF},
    {14, 0, 216, 0x000000}, {15, 36, 216, 0xFFFFFF}, {16, 0, 252, 0x808080}, {17, 36, 252, 0xC0C0C0},
    {18, 0, 288, 0x000080}, {19, 36, 288, 0xC080FF}, {20, 0, 324, 0x808000}, {21, 36, 324, 0x0080FF},
}};
