#include "area_scaling.h"

#include <algorithm>
#include <cmath>

namespace {

// Two rows mixed byte by byte, that is channel by channel: each byte
// (a * (256 - weight) + b * weight) >> 8, weight in 0..256, exact where the
// weight is 0. Written as plain loops over bytes for the vectoriser (see
// CMakeLists.txt), which makes them several times faster.
void mixBytes(const std::uint32_t* first, const std::uint32_t* next, const std::uint16_t* weights, std::size_t count,
              std::uint32_t* row)
{
    const auto* a = reinterpret_cast<const std::uint8_t*>(first);
    const auto* b = reinterpret_cast<const std::uint8_t*>(next);
    auto* out = reinterpret_cast<std::uint8_t*>(row);
    for (std::size_t i = 0; i < 4 * count; ++i)
        out[i] = std::uint8_t((a[i] * (256 - weights[i]) + b[i] * weights[i]) >> 8);
}

void mixRows(const std::uint32_t* first, const std::uint32_t* next, std::uint32_t weight, std::size_t count,
             std::uint32_t* row)
{
    const auto* a = reinterpret_cast<const std::uint8_t*>(first);
    const auto* b = reinterpret_cast<const std::uint8_t*>(next);
    auto* out = reinterpret_cast<std::uint8_t*>(row);
    const std::uint16_t keep = std::uint16_t(256 - weight), take = std::uint16_t(weight);
    for (std::size_t i = 0; i < 4 * count; ++i)
        out[i] = std::uint8_t((a[i] * keep + b[i] * take) >> 8);
}

// The columns of a row at the screen's scale. Where a screen pixel mixes
// two columns, both are gathered first and mixed byte by byte after, with
// each column's weight given once for each of a pixel's four bytes; at
// whole-number scales no screen pixel mixes two.
class RowScaler {
public:
    RowScaler(std::span<const AreaSample> columns, int from) : columns(columns), from(from)
    {
        if (std::none_of(columns.begin(), columns.end(), [](const AreaSample& sample) { return sample.nextWeight; }))
            return;
        firsts.resize(columns.size());
        nexts.resize(columns.size());
        weights.resize(4 * columns.size());
        for (std::size_t x = 0; x < columns.size(); ++x)
            std::fill_n(weights.begin() + std::ptrdiff_t(4 * x), 4, std::uint16_t(columns[x].nextWeight));
    }

    // `source` points at source pixel `from`.
    void scale(const std::uint32_t* source, std::uint32_t* row)
    {
        const std::size_t count = columns.size();
        if (weights.empty()) {
            for (std::size_t x = 0; x < count; ++x)
                row[x] = source[columns[x].first - from];
            return;
        }
        for (std::size_t x = 0; x < count; ++x) {
            const AreaSample sample = columns[x];
            const int first = sample.first - from;
            firsts[x] = source[first];
            nexts[x] = source[first + (sample.nextWeight != 0 ? 1 : 0)];
        }
        mixBytes(firsts.data(), nexts.data(), weights.data(), count, row);
    }

private:
    std::span<const AreaSample> columns;
    int from;
    std::vector<std::uint32_t> firsts, nexts;
    std::vector<std::uint16_t> weights;
};

} // namespace

double pointerAlignment(double scale)
{
    if (scale == std::floor(scale))
        return std::floor(scale / 2);
    return (scale - 1) / 2; // the screen pixel whose corner starts the layout pixel's half is the first of it
}

std::vector<AreaSample> areaSamples(double origin, double scale, int start, int count, int length)
{
    std::vector<AreaSample> samples(std::size_t(std::max(count, 0)));
    for (int index = 0; index < count; ++index) {
        // The screen pixel covers [begin, end) in source pixels.
        const double begin = (start + index - origin) / scale;
        const double end = (start + index + 1 - origin) / scale;
        const double first = std::floor(begin);
        AreaSample& sample = samples[std::size_t(index)];
        sample.first = std::clamp(int(first), 0, length - 1);
        if (end > first + 1 && first >= 0 && first + 1 < length)
            sample.nextWeight = int(std::lround((end - (first + 1)) / (end - begin) * 256));
    }
    return samples;
}

void drawAreaScaled(const SourceRow& source, std::span<const AreaSample> columns, std::span<const AreaSample> rows,
                    QImage& target)
{
    if (columns.empty() || rows.empty())
        return;
    // Samples only go right, so the columns read are those from the first
    // sample's to the last one's (and its neighbour when it mixes it in).
    const int from = columns.front().first;
    const int to = columns.back().first + (columns.back().nextWeight != 0 ? 2 : 1);
    RowScaler scaler(columns, from);
    // The last two source rows scaled to the screen's width, each in a buffer
    // of its own or in the target line it was scaled straight into: rows go
    // down, so each source row is scaled once.
    struct ScaledRow {
        int y = -1;
        const std::uint32_t* pixels = nullptr;
    };
    std::vector<std::uint32_t> buffers[2] = {std::vector<std::uint32_t>(columns.size()),
                                             std::vector<std::uint32_t>(columns.size())};
    ScaledRow scaled[2];
    int older = 0;
    const auto scaledRow = [&](int y, std::uint32_t* line) {
        for (int slot = 0; slot < 2; ++slot)
            if (scaled[slot].y == y) {
                older = 1 - slot;
                return scaled[slot].pixels;
            }
        std::uint32_t* pixels = line ? line : buffers[older].data();
        scaler.scale(source(y, from, to), pixels);
        scaled[older] = {y, pixels};
        older = 1 - older;
        return static_cast<const std::uint32_t*>(pixels);
    };
    for (std::size_t y = 0; y < rows.size(); ++y) {
        const AreaSample sample = rows[y];
        auto* line = reinterpret_cast<std::uint32_t*>(target.scanLine(int(y)));
        if (sample.nextWeight == 0) {
            const std::uint32_t* scaledLine = scaledRow(sample.first, line);
            if (scaledLine != line)
                std::copy(scaledLine, scaledLine + columns.size(), line);
            continue;
        }
        const std::uint32_t* first = scaledRow(sample.first, nullptr);
        const std::uint32_t* next = scaledRow(sample.first + 1, nullptr);
        mixRows(first, next, std::uint32_t(sample.nextWeight), columns.size(), line);
    }
}

void drawAreaScaled(const SourceRow& source, int width, int height, QPointF origin, double scale, const QRect& area,
                    QImage& target)
{
    if (width <= 0 || height <= 0 || area.isEmpty())
        return;
    drawAreaScaled(source, areaSamples(origin.x(), scale, area.left(), area.width(), width),
                   areaSamples(origin.y(), scale, area.top(), area.height(), height), target);
}

QImage areaScaled(const QImage& image, double scale)
{
    const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRect area(0, 0, int(std::ceil(image.width() * scale - 1e-9)), int(std::ceil(image.height() * scale - 1e-9)));
    QImage scaled(area.size(), QImage::Format_ARGB32_Premultiplied);
    drawAreaScaled(
        [&](int y, int from, int) { return reinterpret_cast<const std::uint32_t*>(source.constScanLine(y)) + from; },
        source.width(), source.height(), QPointF(0, 0), scale, area, scaled);
    return scaled;
}

void drawAtScreenPixel(QPainter& painter, QPoint screenPixel, const QImage& image)
{
    painter.save();
    painter.setWorldTransform(painter.deviceTransform().inverted(), true);
    painter.drawImage(screenPixel, image);
    painter.restore();
}
