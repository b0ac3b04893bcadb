// Mouse buttons and shift states as the window's handlers receive them.
#pragma once

#include <QPoint>
#include <Qt>

class QMouseEvent;

#include <functional>
#include <optional>

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// A set of flags, of which the handlers read only ssShift, the one kept.
using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 1u << 0;

// Buttons beyond the three classic ones reach no handler.
std::optional<TMouseButton> mouseButtonOf(Qt::MouseButton button);
TShiftState shiftStateOf(Qt::KeyboardModifiers modifiers);

using TMouseEvent = std::function<void(TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TShiftState shift, int x, int y)>;

// The pixel under a pointer position. Scaled, positions fall between whole
// pixels, and the pixel is the one whose square holds the point.
QPoint pixelAt(const QPointF& position);

// Calls the handler with the event's button, keys and position; a press or
// release that no handler takes goes on to the parent. True when a handler
// took it.
bool callMouseHandler(const TMouseEvent& handler, QMouseEvent* event);
