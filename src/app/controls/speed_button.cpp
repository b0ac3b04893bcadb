#include "speed_button.h"

#include "area_scaling.h"

#include <QPainter>

namespace {

// A disabled glyph keeps only its shape, etched into the face.
QImage etched(const QImage& glyph, const QColor& colour)
{
    QImage shape = glyph;
    for (int y = 0; y < shape.height(); ++y)
        for (int x = 0; x < shape.width(); ++x)
            if (qAlpha(shape.pixel(x, y)) > 0 && qGray(shape.pixel(x, y)) < 192)
                shape.setPixel(x, y, colour.rgb());
            else
                shape.setPixel(x, y, qRgba(0, 0, 0, 0));
    return shape;
}

} // namespace

QImage withSeeThroughBackground(QImage glyph)
{
    glyph = glyph.convertToFormat(QImage::Format_ARGB32);
    if (glyph.isNull())
        return glyph;
    const QRgb background = glyph.pixel(0, glyph.height() - 1);
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x)
            if (glyph.pixel(x, y) == background)
                glyph.setPixel(x, y, qRgba(0, 0, 0, 0));
    return glyph;
}

TSpeedButton::TSpeedButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus); // only the title box takes the keyboard
}

void TSpeedButton::setGlyph(const QImage& image)
{
    glyph = withSeeThroughBackground(image);
    update();
}

void TSpeedButton::setCaption(const QString& text, const QFont& captionFont, const QColor& captionColour)
{
    setText(text);
    setFont(captionFont);
    colour = captionColour;
    update();
}

void TSpeedButton::setSymbol(Symbol newSymbol, double pixelSize, const QColor& captionColour, bool isBold)
{
    symbol = newSymbol;
    symbolSize = pixelSize;
    symbolPoints = pixelSize * 72 / 96;
    colour = captionColour;
    bold = isBold;
    update();
}

void TSpeedButton::setCaptionColour(const QColor& captionColour)
{
    colour = captionColour;
    update();
}

void TSpeedButton::setCaptionPointSize(double points)
{
    symbolPoints = points;
    symbolSize = points * 96 / 72;
    update();
}

void TSpeedButton::enterEvent(QEnterEvent* event)
{
    hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TSpeedButton::leaveEvent(QEvent* event)
{
    hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintFrame(painter);
    const QPointF shift = isDown() ? QPointF(1, 1) : QPointF(0, 0);
    const QRectF box = QRectF(rect()).translated(shift);
    if (isEnabled()) {
        paintFace(painter, box, colour);
        return;
    }
    // Disabled: the caption etched in, a white copy one pixel down and right.
    paintFace(painter, box.translated(1, 1), Qt::white);
    paintFace(painter, box, QColor(128, 128, 128));
}

void TSpeedButton::paintFrame(QPainter& painter) const
{
    if (!isEnabled() || (!hovered && !isDown()))
        return;
    const QColor light(255, 255, 255), dark(128, 128, 128);
    const QRect edge = rect(); // right() and bottom() are the last pixel column and row
    painter.setPen(isDown() ? dark : light);
    painter.drawLine(edge.topLeft(), edge.topRight());
    painter.drawLine(edge.topLeft(), edge.bottomLeft());
    painter.setPen(isDown() ? light : dark);
    painter.drawLine(edge.bottomLeft(), edge.bottomRight());
    painter.drawLine(edge.topRight(), edge.bottomRight());
}

void TSpeedButton::paintFace(QPainter& painter, const QRectF& box, const QColor& faceColour) const
{
    if (!glyph.isNull()) {
        const QImage image = isEnabled() ? glyph : etched(glyph, faceColour);
        const QPointF corner(box.x() + (box.width() - image.width()) / 2,
                             box.y() + (box.height() - image.height()) / 2);
        const double scale = devicePixelRatioF();
        if (scale == 1)
            painter.drawImage(corner.toPoint(), image);
        else
            drawAtScreenPixel(painter, painter.deviceTransform().map(QPointF(corner.toPoint())).toPoint(),
                              areaScaled(image, scale));
    } else if (symbol != Symbol::None) {
        paintSymbol(painter, symbol, box, symbolSize, faceColour, bold);
    } else {
        painter.setPen(faceColour);
        painter.setFont(font());
        painter.drawText(box, Qt::AlignCenter, text());
    }
}
