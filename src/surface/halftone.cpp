// The halftone table that saves are written with, the nearest-entry search,
// and the conversion of a whole picture to the table.
#include "surface.h"

#include <array>
#include <iterator>
#include <limits>

namespace {

constexpr int cubeLevels[] = {0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF};

// Greys between the cube's six and the swatches' 0x80 and 0xC0: each stretch
// between those split into equal steps, as many as keep every step near
// 255 / 35, the step if all 36 greys were evenly spaced.
constexpr int fillingGreys[] = {7,   15,  22,  29,  36,  44,  58,  66,  73,  80,  87,  95,  109, 115,
                                122, 136, 145, 161, 169, 176, 184, 198, 211, 219, 226, 233, 240, 248};

constexpr bool onCube(TColor colour)
{
    return (colour & 0xFF) % 0x33 == 0 && (colour >> 8 & 0xFF) % 0x33 == 0 && (colour >> 16 & 0xFF) % 0x33 == 0;
}

constexpr int offCubeSwatchCount()
{
    int count = 0;
    for (TColor colour : swatchColours)
        count += onCube(colour) ? 0 : 1;
    return count;
}
static_assert(216 + offCubeSwatchCount() + int(std::size(fillingGreys)) == 256);

// In order: 0-215 the 6 x 6 x 6 cube of cubeLevels, red changing fastest,
// then green, then blue; 216-227 the twelve swatch colours the cube lacks,
// in swatch order; 228-255 the filling greys, darkest first.
constexpr ColourTable buildHalftone()
{
    ColourTable table{};
    int next = 0;
    for (int blue : cubeLevels)
        for (int green : cubeLevels)
            for (int red : cubeLevels)
                table[next++] = TColor(red) | TColor(green) << 8 | TColor(blue) << 16;
    for (TColor colour : swatchColours)
        if (!onCube(colour))
            table[next++] = colour;
    for (int grey : fillingGreys)
        table[next++] = TColor(grey) * 0x010101;
    return table;
}

constexpr ColourTable halftone = buildHalftone();

int squaredDistance(TColor a, TColor b)
{
    int sum = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int difference = int(a >> shift & 0xFF) - int(b >> shift & 0xFF);
        sum += difference * difference;
    }
    return sum;
}

// The one nearest-entry search, over the listed entries only. Distance and
// index make one key, so the least key is the nearest entry and, of equally
// near ones, the lower index, whatever the order of the list; and the loop
// has no branch to mispredict.
std::uint8_t nearestAmong(const ColourTable& table, TColor colour, const std::uint8_t* candidates, int count)
{
    int bestKey = std::numeric_limits<int>::max();
    for (int i = 0; i < count; ++i) {
        const int key = squaredDistance(colour, table[candidates[i]]) << 8 | candidates[i];
        bestKey = key < bestKey ? key : bestKey;
    }
    return std::uint8_t(bestKey);
}

// The entries of the halftone table that can be nearest to some colour of
// each block of 16 x 16 x 16 colours, worked out once. An entry whose nearest
// point of the block is farther than another entry's farthest point never
// wins there; those at equal distance stay, for the lower index of a tie. A
// block keeps four entries on average, so a photo's worth of colours costs a
// handful of distances each instead of 256.
class HalftoneBlocks {
public:
    HalftoneBlocks()
    {
        // Per channel, block position and entry: the squared distance from
        // the entry's value to the nearest and to the farthest value of the
        // block along that channel.
        std::vector<int> nearest(3 * blocksPerSide * 256), farthest(3 * blocksPerSide * 256);
        for (int channel = 0; channel < 3; ++channel)
            for (int position = 0; position < blocksPerSide; ++position)
                for (int index = 0; index < 256; ++index) {
                    const int low = position * blockSide, high = low + blockSide - 1;
                    const int value = int(halftone[index] >> (8 * channel) & 0xFF);
                    const int near = value < low ? low - value : value > high ? value - high : 0;
                    const int far = value - low > high - value ? value - low : high - value;
                    nearest[(channel * blocksPerSide + position) * 256 + index] = near * near;
                    farthest[(channel * blocksPerSide + position) * 256 + index] = far * far;
                }
        std::array<int, 256> nearSum{};
        for (int block = 0; block < blockCount; ++block) {
            int bound = std::numeric_limits<int>::max();
            for (int index = 0; index < 256; ++index) {
                int farSum = 0;
                nearSum[index] = 0;
                for (int channel = 0; channel < 3; ++channel) {
                    const int row = (channel * blocksPerSide + (block >> (4 * channel) & 0xF)) * 256 + index;
                    nearSum[index] += nearest[row];
                    farSum += farthest[row];
                }
                bound = farSum < bound ? farSum : bound;
            }
            start[block] = std::uint32_t(candidates.size());
            for (int index = 0; index < 256; ++index)
                if (nearSum[index] <= bound)
                    candidates.push_back(std::uint8_t(index));
        }
        start[blockCount] = std::uint32_t(candidates.size());
    }

    std::uint8_t nearest(TColor colour) const
    {
        const int block = int(colour & 0xFF) / blockSide | int(colour >> 8 & 0xFF) / blockSide << 4
            | int(colour >> 16 & 0xFF) / blockSide << 8;
        return nearestAmong(halftone, colour, candidates.data() + start[block], int(start[block + 1] - start[block]));
    }

private:
    static constexpr int blockSide = 16, blocksPerSide = 256 / blockSide,
                         blockCount = blocksPerSide * blocksPerSide * blocksPerSide;
    static_assert(blocksPerSide == 16, "a block's number holds four bits a channel");
    std::array<std::uint32_t, blockCount + 1> start{}; // a block's entries: candidates[start[block], start[block + 1])
    std::vector<std::uint8_t> candidates;
};

// Never destroyed: a picture may still be kept by an exit handler, which
// runs after the static objects made later than its registration are gone.
const HalftoneBlocks& halftoneBlocks()
{
    static const HalftoneBlocks& blocks = *new HalftoneBlocks;
    return blocks;
}

} // namespace

const ColourTable& halftonePalette() { return halftone; }

std::uint8_t nearestPaletteIndex(const ColourTable& table, TColor colour)
{
    static constexpr auto everyIndex = [] {
        std::array<std::uint8_t, 256> indices{};
        for (int i = 0; i < 256; ++i)
            indices[i] = std::uint8_t(i);
        return indices;
    }();
    return nearestAmong(table, colour, everyIndex.data(), 256);
}

TPicture toHalftone(const TPicture& picture)
{
    if (picture.bitsPerPixel() == 8)
        return picture;
    TPicture converted(picture.Width(), picture.Height(), halftone);
    const HalftoneBlocks& blocks = halftoneBlocks();
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* source = picture.row(y);
        std::uint8_t* target = converted.row(y);
        // A drawing is mostly runs of one colour: look each run up once.
        TColor previous = clInvalid;
        std::uint8_t index = 0;
        for (int x = 0; x < picture.Width(); ++x, source += 3) {
            const TColor colour = TColor(source[2]) | TColor(source[1]) << 8 | TColor(source[0]) << 16;
            if (colour != previous)
                index = blocks.nearest(previous = colour);
            target[x] = index;
        }
    }
    return converted;
}
