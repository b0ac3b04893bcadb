#include "bevel.h"

#include <QPainter>

TBevel::TBevel(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents); // a line only: clicks go to what lies under it
}

void TBevel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(0, height() - 2, width() - 1, height() - 2);
    painter.setPen(Qt::white);
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
}
