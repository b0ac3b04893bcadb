// The default printer through Qt Print Support, which hands the document to
// CUPS as PDF.
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

    std::unique_ptr<QPrinter> printer;
    // Qt hands a document to the print queue when its painter ends, and
    // cannot take it back: the page is kept here, as steps to paint, and
    // painted only once it is whole.
    std::vector<std::function<void(QPainter&)>> page;
    bool begun = false;
    QFont font;
    QColor colour;
};
