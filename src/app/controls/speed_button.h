// A flat push button with a glyph, a text caption or a symbol caption, and a
// hint shown as a tooltip. It paints no face of its own: the panel under it
// shows through, with a thin frame while the mouse is over it.
#pragma once

#include "symbols.h"

#include <QAbstractButton>
#include <QImage>

// The glyph with every pixel of its bottom-left pixel's colour made see-through.
QImage withSeeThroughBackground(QImage glyph);

class TSpeedButton : public QAbstractButton {
public:
    explicit TSpeedButton(QWidget* parent);

    // The colour of the glyph's bottom-left pixel is see-through.
    void setGlyph(const QImage& glyph);
    void setCaption(const QString& text, const QFont& font, const QColor& colour);
    void setSymbol(Symbol symbol, double pixelSize, const QColor& colour, bool bold);
    void setCaptionColour(const QColor& colour);
    // Symbol sizes in points, on the 96 dots per inch the layout assumes.
    void setCaptionPointSize(double points);
    double captionPointSize() const { return symbolPoints; }
    void setHint(const QString& hint) { setToolTip(hint); }
    QString hint() const { return toolTip(); }

    QColor captionColour() const { return colour; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void paintFrame(QPainter& painter) const;
    void paintFace(QPainter& painter, const QRectF& box, const QColor& colour) const;

    QImage glyph;
    Symbol symbol = Symbol::None;
    double symbolSize = 0; // pixels
    double symbolPoints = 0;
    bool bold = false;
    QColor colour;
    bool hovered = false;
};
