// Run-length compressed bitmaps, 8 and 4 bits per pixel: counted runs of one
// byte, escapes for the end of a row or the picture, jumps ahead, and runs of
// literal pixels.
#include "bitmap_reader.h"

#include <algorithm>
#include <cstring>

void readRunLengths(const std::uint8_t* data, std::size_t size, int bitsPerPixel, TPicture& picture)
{
    const int width = picture.Width(), height = picture.Height();
    const bool fourBits = bitsPerPixel == 4;
    std::size_t at = 0;
    auto need = [&](std::size_t count, const char* reason) {
        if (size - at < count)
            refuseAsNotValid(reason);
    };
    // x stops at the width, so pixels past the row's end cost nothing; y
    // counts up from the bottom row.
    int x = 0, y = 0;
    while (y < height) {
        need(2, "run-length data that ends before the picture does");
        const int count = data[at], code = data[at + 1];
        at += 2;
        std::uint8_t* row = picture.row(height - 1 - y);
        const int end = std::min(width, x + (count > 0 ? count : code));
        if (count > 0) { // a run of one byte: one index, or two taking turns
            if (fourBits)
                for (int i = x; i < end; ++i)
                    row[i] = std::uint8_t((i - x) % 2 ? code & 0xF : code >> 4);
            else
                std::memset(row + x, code, std::size_t(end - x));
            x = end;
        } else if (code == 0) { // end of the row
            x = 0;
            ++y;
        } else if (code == 1) { // end of the picture
            return;
        } else if (code == 2) { // a jump right and up
            need(2, "a run-length jump cut short");
            x = std::min(width, x + data[at]);
            y += data[at + 1];
            at += 2;
        } else { // code literal pixels, padded to a whole number of 16-bit words
            const std::size_t bytes = fourBits ? (std::size_t(code) + 1) / 2 : std::size_t(code);
            need((bytes + 1) / 2 * 2, "run-length literal pixels cut short");
            const std::uint8_t* literal = data + at;
            if (fourBits)
                for (int i = x; i < end; ++i)
                    row[i] = std::uint8_t((i - x) % 2 ? literal[(i - x) / 2] & 0xF : literal[(i - x) / 2] >> 4);
            else
                std::memcpy(row + x, literal, std::size_t(end - x));
            x = end;
            at += (bytes + 1) / 2 * 2;
        }
    }
}
