// Reading JPEG pictures, through libjpeg.
#pragma once

#include "surface.h"

#include <cstddef>
#include <cstdint>

// Decodes a JPEG at full scale into a 24-bit picture; throws ScribboError
// with the decoder's own message when the data is not a JPEG it can read.
TPicture decodeJpeg(const std::uint8_t* data, std::size_t size);
