#include "raster.h"

#include <cstring>
#include <vector>

using raster::Plotter;

namespace {

// A row to scan for pixels to fill, between left and right inclusive,
// reached from the row y - direction.
struct Segment {
    int y, left, right, direction;
};

// Scanline fill without recursion: each run of pixels is painted once and
// the rows above and below it are scanned only where they could go on, so
// the work grows with the area painted. Painting must make a pixel stop
// matching, or the fill would never end. A Match answers whether one pixel
// matches and where a run of matching pixels ends going right (runEnd) or
// left (runStart), which is where the time goes.
template <typename Match, typename Paint>
void scanlineFill(int height, int x, int y, const Match& matches, const Paint& paint)
{
    int left = matches.runStart(x, y), right = matches.runEnd(x, y) - 1;
    paint(y, left, right + 1);
    std::vector<Segment> pending{{y + 1, left, right, 1}, {y - 1, left, right, -1}};
    while (!pending.empty()) {
        const Segment segment = pending.back();
        pending.pop_back();
        if (segment.y < 0 || segment.y >= height)
            continue;
        for (int run = segment.left; run <= segment.right;) {
            if (!matches(run, segment.y)) {
                ++run;
                continue;
            }
            // Only a run at the segment's start can reach further left.
            const int runLeft = run == segment.left ? matches.runStart(run, segment.y) : run;
            const int runRight = matches.runEnd(run, segment.y) - 1;
            paint(segment.y, runLeft, runRight + 1);
            pending.push_back({segment.y + segment.direction, runLeft, runRight, segment.direction});
            // Where the run overhangs the row it came from, that row may go on.
            if (runLeft < segment.left - 1)
                pending.push_back({segment.y - segment.direction, runLeft, segment.left - 2, -segment.direction});
            if (runRight > segment.right + 1)
                pending.push_back({segment.y - segment.direction, segment.right + 2, runRight, -segment.direction});
            run = runRight + 2;
        }
    }
}

// Pixel by pixel: at 8 bits per pixel several table entries may hold the colour.
template <typename Pixelwise>
struct PixelMatch {
    int width;
    Pixelwise pixelMatches;
    bool operator()(int x, int y) const { return pixelMatches(x, y); }
    int runStart(int x, int y) const
    {
        while (x > 0 && pixelMatches(x - 1, y))
            --x;
        return x;
    }
    int runEnd(int x, int y) const
    {
        while (x < width && pixelMatches(x, y))
            ++x;
        return x;
    }
};

// Runs of one colour at 24 bits per pixel, found eight pixels (24 bytes,
// three 64-bit words) at a time.
class TrueColourMatch {
public:
    TrueColourMatch(const TPicture& picture, TColor colour) : picture(picture)
    {
        const std::uint8_t pixel[3] = {std::uint8_t(colour >> 16), std::uint8_t(colour >> 8), std::uint8_t(colour)};
        std::uint8_t pattern[24];
        for (int i = 0; i < 24; ++i)
            pattern[i] = pixel[i % 3];
        std::memcpy(words, pattern, sizeof words);
    }

    bool operator()(int x, int y) const { return std::memcmp(at(x, y), words, 3) == 0; }

    int runStart(int x, int y) const
    {
        while (x >= 8 && sameEight(at(x - 8, y)))
            x -= 8;
        while (x > 0 && (*this)(x - 1, y))
            --x;
        return x;
    }

    int runEnd(int x, int y) const
    {
        while (x + 8 <= picture.Width() && sameEight(at(x, y)))
            x += 8;
        while (x < picture.Width() && (*this)(x, y))
            ++x;
        return x;
    }

private:
    const std::uint8_t* at(int x, int y) const { return picture.row(y) + 3 * std::size_t(x); }
    bool sameEight(const std::uint8_t* pixels) const
    {
        std::uint64_t chunk[3];
        std::memcpy(chunk, pixels, sizeof chunk);
        return ((chunk[0] ^ words[0]) | (chunk[1] ^ words[1]) | (chunk[2] ^ words[2])) == 0;
    }

    const TPicture& picture;
    std::uint64_t words[3];
};

} // namespace

// The fill covers the pixels of the given colour joined to (x, y). The
// brush is copied in whatever the pen mode, as FillRect does.
void TCanvas::FloodFill(int x, int y, TColor colour, TFillStyle)
{
    if (!picture.contains(x, y))
        return;
    Plotter brush(picture, pmCopy, Brush.Color);
    const auto paint = [&](int row, int from, int to) { brush.span(row, from, to); };
    const auto fill = [&](const auto& matches) {
        if (matches(x, y))
            scanlineFill(picture.Height(), x, y, matches, paint);
    };
    const std::uint32_t brushValue = picture.storedValue(Brush.Color);
    if (colour > 0xFFFFFF || picture.colourOfStored(brushValue) == colour)
        return; // no pixel has that colour, or painting it its own colour changes nothing

    if (picture.bitsPerPixel() == 24) {
        fill(TrueColourMatch(picture, colour));
    } else {
        std::array<bool, 256> matching{};
        for (int index = 0; index < 256; ++index)
            matching[index] = picture.colourOfStored(std::uint32_t(index)) == colour;
        const auto sameIndex = [&](int column, int row) { return matching[picture.row(row)[column]]; };
        fill(PixelMatch<decltype(sameIndex)>{picture.Width(), sameIndex});
    }
    changed(brush.touched());
}
