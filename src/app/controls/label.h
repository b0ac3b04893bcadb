// A transparent text label; the swatch captions pass their presses on.
#pragma once

#include "events.h"

#include <QColor>
#include <QWidget>

class TLabel : public QWidget {
public:
    TLabel(QWidget* parent, const QString& text, const QFont& font, Qt::Alignment alignment);

    QString text() const { return caption; }
    QColor textColor() const { return colour; }
    void setTextColor(const QColor& newColour);
    void setWordWrap(bool wrap) { wordWrap = wrap; }
    // Widens the label to its text, as labels do unless told otherwise; a
    // substitute font may be wider than the one the layout was made with.
    void fitWidthToText();

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
