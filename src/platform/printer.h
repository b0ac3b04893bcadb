// The system's default printer, one document of one page at a time, drawn in
// printer pixels from the top-left corner of the page's printable area.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <span>

class Printer {
public:
    struct Resolution {
        int dotsPerInchAcross;
        int dotsPerInchDown;
    };

    virtual ~Printer() = default;

    // Every operation but abort throws std::runtime_error with the message a
    // user is shown when the printer cannot do it.

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
    // A device-independent bitmap of the source's size, its information
    // header with its colour table and its pixel rows bottom row first, each
    // padded to four bytes, stretched over the destination. The bitmap goes
    // to the printer at its own size, without loss; the printer scales it.
    virtual void stretchBitmap(const QRect& destination, QSize source, std::span<const std::uint8_t> header,
                               std::span<const std::uint8_t> rows) = 0;
    // Ends the page and the document, which then goes to the printer.
    virtual void endDocument() = 0;
    // Abandons the document begun, if any: nothing of it is printed, and the
    // next document can begin.
    virtual void abort() = 0;
};
