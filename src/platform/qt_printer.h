// The default printer through Qt Print Support, which hands the document to
// CUPS as PDF. What asks the print scheduler (finding the printer, handing
// it the document) runs on a thread of its own: a scheduler that does not
// answer leaves the window painting and a termination heard, and after a
// while it is an error like a printer that cannot be reached.
#pragma once

#include "printer.h"

#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPrinter;

class QtPrinter : public Printer {
public:
    QtPrinter();
    ~QtPrinter() override;

    Resolution resolution() override;
    void setLandscape() override;
    void beginDocument() override;
    int pageWidth() override;
    void setFont(const QFont& font, const QColor& colour) override;
    int textWidth(const QString& text) override;
    void textOut(int left, int top, const QString& text) override;
    void stretchBitmap(const QRect& destination, const TPicture& bitmap) override;
    void endDocument() override;
    void abort() override;

private:
    QPrinter& printerInUse();
    QPrinter& documentBegun();

    // Shared with a thread that may go on after it was given up on.
    std::shared_ptr<QPrinter> printer;
    // Qt hands a document to the print queue when its painter ends, and
    // cannot take it back: the page is kept here, as steps to paint, and
    // painted only once it is whole.
    std::vector<std::function<void(QPainter&)>> page;
    bool begun = false;
    QFont font;
    QColor colour;
};
