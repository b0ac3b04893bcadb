#include "symbols.h"

#include <QPainter>
#include <QPainterPath>

namespace {

void paintClose(QPainter& painter, QPointF centre, double size, const QColor& colour, bool bold)
{
    const double half = size * 0.3;
    painter.setPen(QPen(colour, std::max(1.5, size * (bold ? 0.16 : 0.1)), Qt::SolidLine, Qt::SquareCap));
    painter.drawLine(centre + QPointF(-half, -half), centre + QPointF(half, half));
    painter.drawLine(centre + QPointF(-half, half), centre + QPointF(half, -half));
}

void paintUndo(QPainter& painter, QPointF centre, double size, const QColor& colour)
{
    // A thick arc over the top, ending in an arrow head that points left and down.
    const double radius = size * 0.24, thickness = size * 0.1;
    painter.setPen(QPen(colour, thickness, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    painter.drawArc(circle, -60 * 16, 220 * 16);
    const QPointF tip = centre + QPointF(-radius * 1.05, radius * 0.55);
    const double head = size * 0.17;
    QPainterPath arrow;
    arrow.moveTo(tip);
    arrow.lineTo(tip + QPointF(-head * 0.75, -head * 1.1));
    arrow.lineTo(tip + QPointF(head * 0.95, -head * 0.95));
    arrow.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(arrow);
}

void paintTriangle(QPainter& painter, QPointF centre, double size, const QColor& colour, bool up)
{
    const double half = size * 0.18, height = size * 0.18;
    const double direction = up ? -1 : 1;
    QPolygonF triangle{centre + QPointF(-half, -direction * height / 2),
                       centre + QPointF(half, -direction * height / 2), centre + QPointF(0, direction * height / 2)};
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(triangle);
}

} // namespace

void paintSymbol(QPainter& painter, Symbol symbol, const QRectF& box, double pixelSize, const QColor& colour, bool bold)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = box.center();
    switch (symbol) {
    case Symbol::Close:
        paintClose(painter, centre, pixelSize, colour, bold);
        break;
    case Symbol::Undo:
        paintUndo(painter, centre, pixelSize, colour);
        break;
    case Symbol::TriangleUp:
    case Symbol::TriangleDown:
        paintTriangle(painter, centre, pixelSize, colour, symbol == Symbol::TriangleUp);
        break;
    case Symbol::Dot: {
        const double radius = std::min(pixelSize * 0.25, std::min(box.width(), box.height()) / 2 - 1);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(centre, radius, radius);
        break;
    }
    case Symbol::None:
        break;
    }
    painter.restore();
}
