#include "label.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

TLabel::TLabel(QWidget* parent, const QString& text, const QFont& font, Qt::Alignment alignment)
    : QWidget(parent), caption(text), alignment(alignment), colour(QApplication::palette().color(QPalette::WindowText))
{
    setFont(font);
}

void TLabel::setTextColour(const QColor& newColour)
{
    colour = newColour;
    update();
}

void TLabel::fitTextToBox()
{
    QFont narrower = font();
    const auto fits = [&] { return QFontMetrics(narrower).horizontalAdvance(caption) <= width(); };
    if (fits())
        return;
    narrower.setStretch(QFont::SemiCondensed);
    for (int size = narrower.pixelSize(); !fits() && size > 8; --size)
        narrower.setPixelSize(size - 1);
    setFont(narrower);
}

void TLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(colour);
    painter.setFont(font());
    // Labels sit at the top of their box, as captions do.
    painter.drawText(rect(), int(alignment | Qt::AlignTop) | (wordWrap ? Qt::TextWordWrap : 0), caption);
}

void TLabel::mousePressEvent(QMouseEvent* event) { callMouseHandler(OnMouseDown, event); }
