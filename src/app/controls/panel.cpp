#include "panel.h"

#include <QPainter>

TPanel::TPanel(QWidget* parent, const QColor& colour, bool raisedBevel)
    : QWidget(parent), colour(colour), raised(raisedBevel)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPanel::setCaption(const QString& text, const QFont& font, const QColor& textColour)
{
    caption = text;
    captionColour = textColour;
    setFont(font);
    update();
}

void TPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), colour);
    if (raised) {
        const QRect edge = rect(); // right() and bottom() are the last pixel column and row
        painter.setPen(Qt::white);
        painter.drawLine(edge.topLeft(), edge.topRight());
        painter.drawLine(edge.topLeft(), edge.bottomLeft());
        painter.setPen(QColor(128, 128, 128));
        painter.drawLine(edge.bottomLeft(), edge.bottomRight());
        painter.drawLine(edge.topRight(), edge.bottomRight());
    }
    if (!caption.isEmpty()) {
        painter.setPen(captionColour);
        painter.drawText(rect(), Qt::AlignCenter, caption);
    }
}
