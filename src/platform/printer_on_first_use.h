// The default printer, with the print system loaded when a print is first
// asked for. Qt Print Support and CUPS bring some twenty libraries (CUPS's
// network security and name services among them): loaded at start, they
// cost every start their linking and megabytes of memory for a button most
// sessions never press. They live in a module beside the program instead
// (scribbo-print.so, the QtPrinter).
#pragma once

#include "printer.h"

#include <memory>

class PrinterOnFirstUse : public Printer {
public:
    PrinterOnFirstUse();
    ~PrinterOnFirstUse() override;

    // Each loads the module first, if it is not loaded yet; where it cannot
    // be loaded, the operation fails as for a printer that cannot be
    // reached, and the reason goes to stderr.
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
    Printer& loaded();

    std::unique_ptr<Printer> printer;
};

// The module's one entry point: a new QtPrinter, which the caller owns.
extern "C" Printer* scribboMakePrinter();
