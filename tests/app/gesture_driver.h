// Mouse events for the drawing area, and picture helpers, for the app tests.
#pragma once

#include "brisko_drawu.h"

#include <QApplication>
#include <QMouseEvent>

#include <cstring>
#include <set>
#include <utility>

// Sent straight to the drawing area, with any buttons and keys.
inline void send(TDrawForm& form, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, int x, int y,
                 Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    const QPointF position(x, y);
    QMouseEvent event(type, position, form.Image1->mapToGlobal(position), button, held, keys);
    QApplication::sendEvent(form.Image1, &event);
}

inline void press(TDrawForm& form, Qt::MouseButton button, int x, int y, Qt::MouseButtons held = {},
                  Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    send(form, QEvent::MouseButtonPress, button, held | button, x, y, keys);
}

inline void move(TDrawForm& form, int x, int y, Qt::MouseButtons held = Qt::LeftButton,
                 Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    send(form, QEvent::MouseMove, Qt::NoButton, held, x, y, keys);
}

inline void release(TDrawForm& form, Qt::MouseButton button, int x, int y)
{
    send(form, QEvent::MouseButtonRelease, button, Qt::NoButton, x, y);
}

inline TPicture whitePicture()
{
    TPicture picture(721, 489);
    TCanvas(picture).FillRect({0, 0, 721, 489});
    return picture;
}

inline bool samePixels(const TPicture& a, const TPicture& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.bitsPerPixel() != b.bitsPerPixel())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.row(y), b.row(y), std::size_t(a.Width()) * std::size_t(a.bitsPerPixel() / 8)) != 0)
            return false;
    return true;
}

inline std::set<std::pair<int, int>> pixelsOf(const TPicture& picture, TColor colour)
{
    std::set<std::pair<int, int>> found;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (picture.pixel(x, y) == colour)
                found.insert({x, y});
    return found;
}
