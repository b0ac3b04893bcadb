#include "shape.h"

#include <QMouseEvent>
#include <QPainter>

TShape::TShape(QWidget* parent) : QWidget(parent) {}

void TShape::setBrushColour(const QColor& colour)
{
    brush = colour;
    update();
}

void TShape::setPenColour(const QColor& colour)
{
    pen = colour;
    update();
}

void TShape::paintEvent(QPaintEvent*)
{
    // A square as large as fits, centred.
    const int side = std::min(width(), height());
    const QRect square((width() - side) / 2, (height() - side) / 2, side, side);
    QPainter painter(this);
    painter.fillRect(square, brush);
    painter.setPen(pen);
    painter.drawRect(square.adjusted(0, 0, -1, -1));
}

void TShape::mousePressEvent(QMouseEvent* event) { callMouseHandler(OnMouseDown, event); }
