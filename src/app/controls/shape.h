// A square shape control: a one-pixel outline in its pen colour around a
// fill in its brush colour. The colour swatches are shapes.
#pragma once

#include "events.h"

#include <QColor>
#include <QWidget>

class TShape : public QWidget {
public:
    explicit TShape(QWidget* parent);

    QColor brushColour() const { return brush; }
    void setBrushColour(const QColor& colour);
    QColor penColour() const { return pen; }
    void setPenColour(const QColor& colour);

    TMouseEvent OnMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QColor brush = Qt::white;
    QColor pen = Qt::black;
};
