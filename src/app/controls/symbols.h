// Pictures that stand in for the symbol-font captions of some buttons.
#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

enum class Symbol {
    None,
    Close,        // a cross
    Undo,         // an arrow curving back to the left
    TriangleUp,   // bigger
    TriangleDown, // smaller
    Dot,          // a round dot: the pen-size display
};

// Draws the symbol centred in box at the size a symbol font of the given
// character height would give it.
void paintSymbol(QPainter& painter, Symbol symbol, const QRectF& box, double pixelSize, const QColor& colour,
                 bool bold);
