#include "area_scaling.h"

#include <algorithm>
#include <cmath>

namespace {

// a and b mixed, b weighing weight / 256, channel by channel; exact at 0.
std::uint32_t mixed(std::uint32_t a, std::uint32_t b, std::uint32_t weight)
{
    const std::uint32_t keep = 256 - weight;
    const std::uint32_t redBlue = ((a & 0xFF00FF) * keep + (b & 0xFF00FF) * weight) >> 8 & 0xFF00FF;
    const std::uint32_t alphaGreen = ((a >> 8 & 0xFF00FF) * keep + (b >> 8 & 0xFF00FF) * weight) & 0xFF00FF00;
    return redBlue | alphaGreen;
}

void scaleRow(const std::uint32_t* source, const std::vector<AreaSample>& columns, std::uint32_t* row)
{
    for (std::size_t x = 0; x < columns.size(); ++x) {
        const AreaSample sample = columns[x];
        row[x] = sample.nextWeight == 0
            ? source[sample.first]
            : mixed(source[sample.first], source[sample.first + 1], std::uint32_t(sample.nextWeight));
    }
}

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

void drawAreaScaled(const SourceRow& source, int width, int height, QPointF origin, double scale, const QRect& area,
                    QImage& target)
{
    if (width <= 0 || height <= 0 || area.isEmpty())
        return;
    const std::vector<AreaSample> columns = areaSamples(origin.x(), scale, area.left(), area.width(), width);
    const std::vector<AreaSample> rows = areaSamples(origin.y(), scale, area.top(), area.height(), height);
    // The last two source rows scaled to the screen's width: rows go down,
    // so each source row is scaled once.
    std::vector<std::uint32_t> scaled[2] = {std::vector<std::uint32_t>(columns.size()),
                                            std::vector<std::uint32_t>(columns.size())};
    int scaledFrom[2] = {-1, -1};
    int lastUsed = 0;
    const auto scaledRow = [&](int y) {
        if (scaledFrom[lastUsed] != y) {
            lastUsed = 1 - lastUsed; // the other holds y, or is the older one
            if (scaledFrom[lastUsed] != y) {
                scaleRow(source(y), columns, scaled[lastUsed].data());
                scaledFrom[lastUsed] = y;
            }
        }
        return scaled[lastUsed].data();
    };
    for (int y = 0; y < area.height(); ++y) {
        const AreaSample sample = rows[std::size_t(y)];
        auto* line = reinterpret_cast<std::uint32_t*>(target.scanLine(y));
        const std::uint32_t* first = scaledRow(sample.first);
        if (sample.nextWeight == 0) {
            std::copy(first, first + columns.size(), line);
            continue;
        }
        const std::uint32_t* next = scaledRow(sample.first + 1);
        for (std::size_t x = 0; x < columns.size(); ++x)
            line[x] = mixed(first[x], next[x], std::uint32_t(sample.nextWeight));
    }
}

QImage areaScaled(const QImage& image, double scale)
{
    const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRect area(0, 0, int(std::ceil(image.width() * scale - 1e-9)), int(std::ceil(image.height() * scale - 1e-9)));
    QImage scaled(area.size(), QImage::Format_ARGB32_Premultiplied);
    drawAreaScaled([&](int y) { return reinterpret_cast<const std::uint32_t*>(source.constScanLine(y)); },
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
