// A square shape control: a one-pixel outline in its pen colour around a
// fill in its brush colour. The colour swatches are shapes.
#pragma once

#include "events.h"

#include <QColor>
#include <QWidget>

class TShape : public QWidget {
public:
    explicit TShape(QWidget* parent);

    QColor brushColor() const { return brush; }
    void setBrushColor(const QColor& colour);
    QColor penColor() const { return pen; }
    void setPenColor(const QColor& colour);

    TMouseEvent OnMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QColor brush = Qt::white;
    QColor pen = Qt::black;
};
