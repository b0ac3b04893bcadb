// A transparent text label; the swatch captions pass their presses on.
#pragma once

#include "events.h"

#include <QColor>
#include <QWidget>

class TLabel : public QWidget {
public:
    TLabel(QWidget* parent, const QString& text, const QFont& font, Qt::Alignment alignment);

    QColor textColour() const { return colour; }
    void setTextColour(const QColor& newColour);
    void setWordWrap(bool wrap) { wordWrap = wrap; }
    // A substitute font may be wider than the one the layout was made with:
    // the label keeps its box and takes a narrower face of the font, then a
    // smaller size, until its text fits.
    void fitTextToBox();

    TMouseEvent OnMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString caption;
    Qt::Alignment alignment;
    QColor colour;
    bool wordWrap = false;
};
