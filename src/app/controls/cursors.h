// The program's cursors by number: 0 is the default (the cursor of whatever
// the control lies on), 1 to 7 the tool cursors loaded at start-up.
#pragma once

#include <QCursor>
#include <QString>

class QWidget;

// Loads one of the program's own cursors by name, whatever its case
// ("Spray", "pencil"); an unknown name gives the arrow.
QCursor loadCursorResource(const QString& name);

void registerCursor(int number, const QCursor& cursor);
// Shows cursor number on the widget; 0 lets it show its parent's cursor.
void applyCursorNumber(QWidget& widget, int number);
