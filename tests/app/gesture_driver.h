// Mouse events for the drawing area, and comparing its pictures, for the app tests.
#pragma once

#include "artifact_path.h"
#include "brisko_drawu.h"
#include "pictures.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <string>

// Shows the window over the offscreen platform's 800 x 600 screen, as a
// child sees it, so that events sent to it find their widget as the mouse's
// do; false if it never became visible.
inline bool showOnScreen(TDrawForm& form)
{
    form.setGeometry(0, 0, 800, 600);
    form.show();
    return QTest::qWaitForWindowExposed(&form);
}

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

// A press, one move and a release: the gesture most tests make.
inline void drag(TDrawForm& form, Qt::MouseButton button, int fromX, int fromY, int toX, int toY)
{
    press(form, button, fromX, fromY);
    move(form, toX, toY, button);
    release(form, button, toX, toY);
}

// Where a mismatch writes its files: beside the test program (some tests
// work in a folder of their own, removed at their end), under the test
// function and its row.
inline std::string pictureFileName()
{
    std::string name = std::string("app.") + QTest::currentTestFunction();
    if (const char* row = QTest::currentDataTag())
        name += std::string("_") + row;
    return artifactPath(name);
}

// Fails the test unless the pictures have the same pixels, naming the
// actual and diff pictures it wrote beside the test program.
#define QCOMPARE_PICTURES(actual, expected)                                                                            \
    do {                                                                                                               \
        const std::string mismatch = describeMismatch(actual, expected, pictureFileName());                            \
        QVERIFY2(mismatch.empty(), mismatch.c_str());                                                                  \
    } while (false)
