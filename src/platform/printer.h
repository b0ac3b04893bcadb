// The system's default printer, one document of one page at a time, drawn in
// printer pixels from the top-left corner of the page's printable area.
#pragma once

#include "surface.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class Printer {
public:
    struct Resolution {
        int dotsPerInchAcross;
        int dotsPerInchDown;
    };

    virtual ~Printer() = default;

    // Operations throw std::runtime_error with the message a user is shown
    // when the printer cannot do them; setFont and abort cannot fail.

    // The default printer's pixels per inch. "There is no default printer
    // currently selected", or "Printer selected is not valid" when it cannot
    // be reached.
    virtual Resolution resolution() = 0;
    // The pages that follow are landscape. "Operation not supported on
    // selected printer".
    virtual void setLandscape() = 0;
    // Begins one document and its page. "Printer selected is not valid".
    virtual void beginDocument() = 0;
    // The width of the printable area of the page, in printer pixels.
    virtual int pageWidth() = 0;
    // Text that follows is measured and drawn in this font, its point size
    // taken at the printer's resolution, in this colour on white.
    virtual void setFont(const QFont& font, const QColor& colour) = 0;
    virtual int textWidth(const QString& text) = 0;
    virtual void textOut(int left, int top, const QString& text) = 0;
    // The whole picture stretched over the destination. It goes to the
    // printer at its own size and in its own format (8 bits per pixel with its
    // colour table, or 24), without loss; the printer scales it. The printer
    // keeps a copy until the document ends: std::bad_alloc without room for it.
    virtual void stretchBitmap(const QRect& destination, const TPicture& bitmap) = 0;
    // Ends the page and the document, which then goes to the printer.
    virtual void endDocument() = 0;
    // Abandons the document begun, if any: nothing of it is printed, and the
    // next document can begin.
    virtual void abort() = 0;
};
