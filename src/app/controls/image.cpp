#include "image.h"

#include "area_scaling.h"
#include "cursors.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdint>

TImage::TImage(QWidget* parent) : QWidget(parent)
{
    // Repaints come from the canvas's changed rectangles; nothing else needs redrawing.
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    canvas.OnChange = [this](const TRect& rect) { repaintRect(rect); };
}

TCanvas& TImage::Canvas()
{
    if (picture.isEmpty())
        Assign(TPicture(width(), height()));
    return canvas;
}

void TImage::Assign(const TPicture& other)
{
    picture = other;
    pictureReplaced();
}

void TImage::Assign(TPicture&& other)
{
    picture = std::move(other);
    pictureReplaced();
}

// The canvas never changes a table, so it is turned into Qt's form once
// here rather than at every repaint of a stroke.
void TImage::pictureReplaced()
{
    shownTable.clear();
    if (picture.bitsPerPixel() == 8)
        for (const TColor colour : picture.colourTable())
            shownTable.append(qRgb(int(colour & 0xFF), int(colour >> 8 & 0xFF), int(colour >> 16 & 0xFF)));
    update();
}

void TImage::setCursorNumber(int number)
{
    cursor = number;
    applyCursorNumber(*this, number);
}

// Scaled, a screen pixel on the border of a changed pixel mixes it with its
// neighbour: the repaint takes in one pixel more on every side.
void TImage::repaintRect(const TRect& rect)
{
    const int margin = devicePixelRatioF() == 1 ? 0 : 1;
    update(QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top)
               .adjusted(-margin, -margin, margin, margin));
}

// Only the parts that changed are painted: a frame over the whole picture
// repaints its sides, not its inside.
void TImage::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (devicePixelRatioF() == 1)
        paintUnscaled(painter, event->region());
    else
        paintScaled(painter, event->region());
}

void TImage::paintUnscaled(QPainter& painter, const QRegion& dirty)
{
    if (picture.isEmpty())
        return;
    // The picture's rows are shared, not copied: both use 4-byte aligned rows.
    const bool indexed = picture.bitsPerPixel() == 8;
    QImage view(picture.row(0), picture.Width(), picture.Height(), picture.stride(),
                indexed ? QImage::Format_Indexed8 : QImage::Format_BGR888);
    if (indexed)
        view.setColorTable(shownTable);
    for (const QRect& part : dirty) {
        const QRect area = part & view.rect();
        if (!area.isEmpty())
            painter.drawImage(area.topLeft(), view, area);
    }
}

// Drawn in the screen's own pixels, each the average of the picture pixels
// it covers, from the picture's exact place on the screen: the pixel under
// the pointer is the one the mouse handlers are told of. Each part is drawn
// in bands of a few rows, so that a large repaint needs no screen-sized
// image: a band is still in the cache when it is copied to the screen, and
// is too low for Qt to hand the copy to other threads, which costs more than
// it saves for the narrow parts a drag repaints.
void TImage::paintScaled(QPainter& painter, const QRegion& dirty)
{
    if (picture.isEmpty())
        return;
    const QTransform toScreen = painter.deviceTransform();
    const QRect screenArea = toScreen.mapRect(QRectF(rect())).toAlignedRect();
    const double scale = devicePixelRatioF();
    const double alignment = pointerAlignment(scale);
    const QPointF origin = toScreen.map(QPointF(0, 0)) - QPointF(alignment, alignment);
    const ScreenPlace place{origin.x(), origin.y(), scale, screenArea, picture.Width(), picture.Height()};
    if (!(place == samplesPlace)) {
        samplesPlace = place;
        columnSamples = areaSamples(origin.x(), place.scale, screenArea.left(), screenArea.width(), picture.Width());
        rowSamples = areaSamples(origin.y(), place.scale, screenArea.top(), screenArea.height(), picture.Height());
    }
    const bool indexed = picture.bitsPerPixel() == 8;
    pictureColours.resize(std::size_t(picture.Width()));
    const auto pictureRow = [&](int y, int from, int to) {
        const std::uint8_t* stored = picture.row(y);
        std::uint32_t* colours = pictureColours.data();
        if (indexed) {
            for (int x = from; x < to; ++x)
                colours[x] = shownTable[stored[x]];
        } else {
            for (int x = from; x < to; ++x)
                colours[x] = 0xFF000000u | std::uint32_t(stored[3 * x + 2]) << 16
                    | std::uint32_t(stored[3 * x + 1]) << 8 | stored[3 * x];
        }
        return colours + from;
    };
    const std::span<const AreaSample> allColumns(columnSamples), allRows(rowSamples);
    for (const QRect& part : dirty) {
        const QRect area = toScreen.mapRect(QRectF(part & rect())).toAlignedRect() & screenArea;
        if (area.isEmpty())
            continue;
        const auto columns =
            allColumns.subspan(std::size_t(area.left() - screenArea.left()), std::size_t(area.width()));
        bandColours.resize(std::max(bandColours.size(), std::size_t(area.width()) * bandRows));
        for (int top = area.top(); top <= area.bottom(); top += bandRows) {
            const QRect band(area.left(), top, area.width(), std::min(bandRows, area.bottom() + 1 - top));
            QImage shown(reinterpret_cast<uchar*>(bandColours.data()), band.width(), band.height(),
                         qsizetype(band.width()) * 4, QImage::Format_RGB32);
            drawAreaScaled(pictureRow, columns,
                           allRows.subspan(std::size_t(top - screenArea.top()), std::size_t(band.height())), shown);
            drawAtScreenPixel(painter, band.topLeft(), shown);
        }
    }
}

void TImage::mousePressEvent(QMouseEvent* event)
{
    releaseLostButtons(event);
    if (callMouseHandler(OnMouseDown, event))
        buttonsDown |= event->button();
}

void TImage::mouseMoveEvent(QMouseEvent* event)
{
    releaseLostButtons(event);
    if (OnMouseMove) {
        const QPoint position = pixelAt(event->position());
        OnMouseMove(shiftStateOf(event->modifiers()), position.x(), position.y());
    }
}

void TImage::mouseReleaseEvent(QMouseEvent* event)
{
    buttonsDown &= ~event->button();
    callMouseHandler(OnMouseUp, event);
}

// A button pressed on the picture can come up where the picture is not told:
// a popup or another window took the mouse meanwhile. The next event that
// reaches the picture shows which buttons are still down, and the release
// that went astray is reported first, there, so that no gesture stays open
// with no button held.
void TImage::releaseLostButtons(QMouseEvent* event)
{
    const Qt::MouseButtons lost = buttonsDown & ~event->buttons();
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        if (!(lost & button))
            continue;
        buttonsDown &= ~button;
        if (OnMouseUp) {
            const QPoint position = pixelAt(event->position());
            OnMouseUp(*mouseButtonOf(button), shiftStateOf(event->modifiers()), position.x(), position.y());
        }
    }
}
