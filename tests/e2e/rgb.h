// A screen colour, 8 bits a channel.
#pragma once

#include <ostream>

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;

    bool operator==(const Rgb&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, Rgb colour)
{
    return out << "(" << colour.red << "," << colour.green << "," << colour.blue << ")";
}

namespace colours {
constexpr Rgb black{0, 0, 0};
constexpr Rgb white{255, 255, 255};
} // namespace colours
