// A transparent text label; the swatch captions pass their presses on.
#pragma once

#include "events.h"

#include <QColor>
#include <QWidget>

class TLabel : public QWidget {
public:
    TLabel(QWidget* parent, const QString& text, const QFont& font, Qt::Alignment alignment);

    QString text() const { return caption; }
    void setText(const QString& text);
    QColor textColour() const { return colour; }
    void setTextColour(const QColor& newColour);
    void setWordWrap(bool wrap) { wordWrap = wrap; }
    // A substitute font may be wider than the one the layout was made with:
    // the label keeps its box and takes a narrower face of the font, then a
    // smaller size, until its text fits.
    void fitTextToBox();
    // For a file name, which has to be shown whole: the text breaks into
    // lines at spaces, and anywhere in a word too long for a line, in the
    // largest size down from the font's own that lets it fit in the box.
    void wrapTextIntoBox();

    TMouseEvent OnMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString caption;
    Qt::Alignment alignment;
    QColor colour;
    bool wordWrap = false;
    bool wrapAnywhere = false;
    int fullPixelSize = 0; // the font's own, which wrapTextIntoBox starts from
};
