#include "bevel.h"

#include <QPainter>

// A bevel does nothing with the mouse, yet where it lies over other
// controls it takes their presses, as any upper control does.
TBevel::TBevel(QWidget* parent) : QWidget(parent) {}

void TBevel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(0, height() - 2, width() - 1, height() - 2);
    painter.setPen(Qt::white);
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
}
