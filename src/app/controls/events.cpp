#include "events.h"

#include <QMouseEvent>

#include <cmath>

std::optional<TMouseButton> mouseButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return mbLeft;
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return std::nullopt;
    }
}

TShiftState shiftStateOf(Qt::KeyboardModifiers modifiers) { return modifiers & Qt::ShiftModifier ? ssShift : 0; }

QPoint pixelAt(const QPointF& position) { return QPoint(int(std::floor(position.x())), int(std::floor(position.y()))); }

bool callMouseHandler(const TMouseEvent& handler, QMouseEvent* event)
{
    const auto button = mouseButtonOf(event->button());
    if (!button || !handler) {
        event->ignore();
        return false;
    }
    const QPoint position = pixelAt(event->position());
    handler(*button, shiftStateOf(event->modifiers()), position.x(), position.y());
    return true;
}
