#include "raster.h"

#include <cstring>

using raster::clipped;
using raster::isEmpty;
using raster::Plotter;

TCanvas::TCanvas(TPicture& picture) : picture(picture) {}

void TCanvas::changed(const TRect& rect) const
{
    if (OnChange && !isEmpty(rect))
        OnChange(rect);
}

void TCanvas::MoveTo(int x, int y)
{
    penX = x;
    penY = y;
}

void TCanvas::LineTo(int x, int y)
{
    Plotter pen(picture, Pen.Mode, Pen.Color);
    if (Pen.Width > 1)
        raster::wideLine(pen, penX, penY, x, y, Pen.Width);
    else
        raster::thinLine(pen, penX, penY, x, y);
    MoveTo(x, y);
    changed(pen.touched());
}

TColor TCanvas::GetPixel(int x, int y) const { return picture.pixel(x, y); }

void TCanvas::SetPixel(int x, int y, TColor colour)
{
    // A pixel write puts the colour whatever the pen mode.
    Plotter writer(picture, pmCopy, colour);
    writer.plot(x, y);
    changed(writer.touched());
}

// A rectangle turned round is empty: FillRect does not put its corners in order.
void TCanvas::FillRect(const TRect& rect)
{
    const TRect area = clipped(rect, picture);
    if (isEmpty(area))
        return;
    Plotter brush(picture, pmCopy, Brush.Color); // the pen mode does not apply to FillRect
    for (int y = area.Top; y < area.Bottom; ++y)
        brush.span(y, area.Left, area.Right);
    changed(brush.touched());
}

// Inverts every other pixel of the frame. The dots sit where x + y is even,
// so the pattern belongs to the picture, not to the rectangle, and each pixel
// of the frame is inverted exactly once: twice restores the picture.
// Each side is reported by itself: the inside does not change, and a frame
// as large as the picture would otherwise repaint all of it.
void TCanvas::DrawFocusRect(const TRect& rect)
{
    const TRect frame = raster::normalised(rect);
    if (isEmpty(frame))
        return;
    const auto [left, top, right, bottom] = frame;
    const auto side = [&](int fromX, int fromY, int toX, int toY) {
        Plotter inverter = Plotter::inverter(picture);
        // Only the part of a side near the picture can matter.
        const int columnTo = raster::clampToPicture(toX, picture.Width());
        const int rowTo = raster::clampToPicture(toY, picture.Height());
        for (int y = raster::clampToPicture(fromY, picture.Height()); y < rowTo; ++y)
            for (int x = raster::clampToPicture(fromX, picture.Width()); x < columnTo; ++x)
                if ((std::int64_t(x) + y) % 2 == 0)
                    inverter.plot(x, y);
        changed(inverter.touched());
    };
    // Top and bottom rows, then the columns between them.
    side(left, top, right, top + 1);
    if (bottom - 1 != top)
        side(left, bottom - 1, right, bottom);
    side(left, top + 1, left + 1, bottom - 1);
    if (right - 1 != left)
        side(right - 1, top + 1, right, bottom - 1);
}

void TCanvas::Draw(int x, int y, const TPicture& source)
{
    if (&source == &picture) {
        const TPicture copy = source; // drawing a picture onto itself reads the old pixels
        Draw(x, y, copy);
        return;
    }
    const TRect area = clipped({x, y, int(std::min<std::int64_t>(std::int64_t(x) + source.Width(), INT32_MAX)),
                                int(std::min<std::int64_t>(std::int64_t(y) + source.Height(), INT32_MAX))},
                               picture);
    if (isEmpty(area) || source.isEmpty())
        return;
    const bool sameBytes = source.bitsPerPixel() == picture.bitsPerPixel()
        && (picture.bitsPerPixel() == 24 || source.colourTable() == picture.colourTable());
    const int bytesPerPixel = picture.bitsPerPixel() / 8;
    for (int row = area.Top; row < area.Bottom; ++row) {
        const int sourceRow = row - y;
        if (sameBytes) {
            std::memcpy(picture.row(row) + std::size_t(area.Left) * bytesPerPixel,
                        source.row(sourceRow) + std::size_t(area.Left - x) * bytesPerPixel,
                        std::size_t(area.Right - area.Left) * bytesPerPixel);
            continue;
        }
        // Neighbouring pixels mostly share a colour; map each run once.
        TColor lastColour = clInvalid;
        std::uint32_t stored = 0;
        for (int column = area.Left; column < area.Right; ++column) {
            const TColor colour = source.pixel(column - x, sourceRow);
            if (colour != lastColour)
                stored = picture.storedValue(lastColour = colour);
            picture.setStoredAt(column, row, stored);
        }
    }
    changed(area);
}
