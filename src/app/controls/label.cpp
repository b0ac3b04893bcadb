#include "label.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

TLabel::TLabel(QWidget* parent, const QString& text, const QFont& font, Qt::Alignment alignment)
    : QWidget(parent), caption(text), alignment(alignment), colour(QApplication::palette().color(QPalette::WindowText))
{
    setFont(font);
}

void TLabel::setTextColor(const QColor& newColour)
{
    colour = newColour;
    update();
}

void TLabel::fitWidthToText() { resize(std::max(width(), fontMetrics().horizontalAdvance(caption)), height()); }

void TLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(colour);
    painter.setFont(font());
    // Labels sit at the top of their box, as captions do.
    painter.drawText(rect(), int(alignment | Qt::AlignTop) | (wordWrap ? Qt::TextWordWrap : 0), caption);
}

void TLabel::mousePressEvent(QMouseEvent* event) { callMouseHandler(OnMouseDown, event); }
