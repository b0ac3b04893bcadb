// The program's cursors by number: 0 is the default (the cursor of whatever
// the control lies on), 1 to 7 the tool cursors loaded at start-up.
#pragma once

#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QString>

class QWidget;

// A cursor as designed: its look in black, white and clear, and its hot
// spot, at scale 1.
struct CursorDesign {
    QImage look;
    QPoint hotSpot;

    // The cursor as shown where everything is drawn `scale` times as large:
    // each pixel of the look a block of screen pixels, still black, white or
    // clear, and the hot spot in the middle of its block. Of that scale, the
    // desktop's own part (a Wayland output's) is its to apply to the image.
    QCursor atScale(double scale, double desktopScale = 1) const;
};

// One of the program's own cursors by name, whatever its case ("Spray",
// "pencil"); an unknown name gives an empty design, shown as the arrow.
CursorDesign loadCursorResource(const QString& name);

void registerCursor(int number, const CursorDesign& cursor);
// Shows cursor number on the widget at the widget's scale; 0 lets it show
// its parent's cursor.
void applyCursorNumber(QWidget& widget, int number);
