// The image control: shows its picture unscaled from its top-left corner,
// reports the mouse in picture coordinates and shows a cursor by number.
#pragma once

#include "events.h"
#include "surface.h"

#include <QList>
#include <QRgb>
#include <QWidget>

class QPainter;

class TImage : public QWidget {
public:
    explicit TImage(QWidget* parent);

    const TPicture& Picture() const { return picture; }
    // The picture's canvas; a control with no picture first gets a new one
    // of its own size.
    TCanvas& Canvas();
    // Replaces the whole picture (size, format and pixels) with a copy.
    void Assign(const TPicture& other);
    void Assign(TPicture&& other); // the same, when the other picture is not needed after

    int cursorNumber() const { return cursor; }
    void setCursorNumber(int number);

    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void repaintRect(const TRect& rect);
    void paintUnscaled(QPainter& painter, const QRect& dirty);
    void paintScaled(QPainter& painter, const QRect& dirty);
    void pictureReplaced();
    void releaseLostButtons(QMouseEvent* event);

    TPicture picture;
    TCanvas canvas{picture};
    QList<QRgb> shownTable; // an 8-bit picture's table as Qt shows it; set when the picture is replaced
    int cursor = 0;
    Qt::MouseButtons buttonsDown; // pressed on the picture and not yet released
};
