// A picture made smaller by averaging: every pixel of the picture counts
// once, in the one new pixel whose box holds it.
#include "surface.h"

#include <algorithm>

TPicture shrunkPicture(const TPicture& picture, int width, int height)
{
    width = std::min(width, picture.Width());
    height = std::min(height, picture.Height());
    if (width <= 0 || height <= 0)
        return TPicture();
    TPicture shrunk(width, height);
    std::vector<int> targetColumn(std::size_t(picture.Width()));
    for (int x = 0; x < picture.Width(); ++x)
        targetColumn[std::size_t(x)] = int(std::int64_t(x) * width / picture.Width());
    std::vector<std::uint64_t> sums(std::size_t(width) * 3);
    std::vector<std::uint32_t> counts(static_cast<std::size_t>(width));
    int sourceY = 0;
    for (int y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        std::fill(counts.begin(), counts.end(), 0);
        for (const int endY = int(std::int64_t(y + 1) * picture.Height() / height); sourceY < endY; ++sourceY) {
            for (int x = 0; x < picture.Width(); ++x) {
                const TColor colour = picture.pixel(x, sourceY);
                const std::size_t column = std::size_t(targetColumn[std::size_t(x)]);
                for (int channel = 0; channel < 3; ++channel)
                    sums[column * 3 + std::size_t(channel)] += colour >> (8 * channel) & 0xFF;
                ++counts[column];
            }
        }
        for (int x = 0; x < width; ++x) {
            const std::uint64_t count = counts[std::size_t(x)];
            TColor colour = 0;
            for (int channel = 0; channel < 3; ++channel)
                colour |= TColor((sums[std::size_t(x) * 3 + std::size_t(channel)] + count / 2) / count)
                    << (8 * channel);
            shrunk.setStoredAt(x, y, colour);
        }
    }
    return shrunk;
}
