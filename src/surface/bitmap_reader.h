// What the two halves of the bitmap reader share.
#pragma once

#include "surface.h"

#include <cstddef>
#include <cstdint>

inline constexpr const char* streamReadError = "Stream read error";
inline constexpr const char* bitmapNotValid = "Bitmap image is not valid";

[[noreturn]] inline void refuseAsNotValid(const char* reason) { throw BitmapRefused(bitmapNotValid, reason); }

// Fills an 8-bit picture, zeroed, bottom row first, from run-length data of 8 or 4 bits per pixel. Pixels the data
// skips keep index 0, pixels past a row's end are dropped, and data that ends before the end-of-picture code or the
// last row is refused: a file cut short. Time linear in the data and the picture.
void readRunLengths(const std::uint8_t* data, std::size_t size, int bitsPerPixel, TPicture& picture);
