#include "label.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>

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

void TLabel::setText(const QString& text)
{
    caption = text;
    if (wrapAnywhere)
        wrapTextIntoBox();
    update();
}

namespace {

QTextOption wrappingAnywhere(Qt::Alignment alignment)
{
    QTextOption option(alignment | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

qreal wrappedHeight(const QString& text, const QFont& font, qreal width)
{
    QTextLayout layout(text, font);
    layout.setTextOption(wrappingAnywhere(Qt::AlignLeft));
    layout.beginLayout();
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        height += line.height();
    }
    layout.endLayout();
    return height;
}

} // namespace

void TLabel::wrapTextIntoBox()
{
    if (!wrapAnywhere)
        fullPixelSize = font().pixelSize();
    wrapAnywhere = true;
    QFont smaller = font();
    smaller.setPixelSize(fullPixelSize);
    constexpr int smallest = 8;
    while (smaller.pixelSize() > smallest && wrappedHeight(caption, smaller, width()) > height())
        smaller.setPixelSize(smaller.pixelSize() - 1);
    setFont(smaller);
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
    if (wrapAnywhere) {
        painter.drawText(QRectF(rect()), caption, wrappingAnywhere(alignment));
        return;
    }
    // Labels sit at the top of their box, as captions do.
    painter.drawText(rect(), int(alignment | Qt::AlignTop) | (wordWrap ? Qt::TextWordWrap : 0), caption);
}

void TLabel::mousePressEvent(QMouseEvent* event) { callMouseHandler(OnMouseDown, event); }
