#include "image.h"

#include "cursors.h"

#include <QMouseEvent>
#include <QPainter>

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

void TImage::repaintRect(const TRect& rect)
{
    update(QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top));
}

void TImage::paintEvent(QPaintEvent* event)
{
    const QRect area = event->rect() & QRect(0, 0, picture.Width(), picture.Height());
    if (area.isEmpty())
        return;
    // The picture's rows are shared, not copied: both use 4-byte aligned rows.
    const bool indexed = picture.bitsPerPixel() == 8;
    QImage view(picture.row(0), picture.Width(), picture.Height(), picture.stride(),
                indexed ? QImage::Format_Indexed8 : QImage::Format_BGR888);
    if (indexed)
        view.setColorTable(shownTable);
    QPainter painter(this);
    painter.drawImage(area.topLeft(), view, area);
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
    if (OnMouseMove)
        OnMouseMove(shiftStateOf(event->modifiers()), event->position().toPoint().x(), event->position().toPoint().y());
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
        if (OnMouseUp)
            OnMouseUp(*mouseButtonOf(button), shiftStateOf(event->modifiers()), event->position().toPoint().x(),
                      event->position().toPoint().y());
    }
}
