// The main window's side of printing: the picture and its title on one
// landscape page of the default printer, once the child has said Yes.
#include "Confirm.h"
#include "brisko_drawu.h"
#include "printed_page.h"

#include <QApplication>

void TDrawForm::wirePrint() { onClick(printbtn, &TDrawForm::printbtnClick); }

void TDrawForm::printbtnClick(QObject*)
{
    if (ConfirmBox->ShowModal() == mrNo)
        return;
    Printer& printer = platform.printer;
    const auto [dpiX, dpiY] = printer.resolution();
    printer.setLandscape();
    printer.beginDocument();
    try {
        QFont font = Edit1->font();
        font.setPointSize(24);
        font.setBold(true);
        font.setItalic(false);
        font.setUnderline(false);
        font.setStrikeOut(false);
        printer.setFont(font, QApplication::palette().color(QPalette::WindowText));
        const QString title = Edit1->text();
        const int pageWidth = printer.pageWidth();
        // The picture's place depends on the resolution alone; the title's
        // needs its width in the printer's font.
        const PrintedPage page = printedPage(dpiX, dpiY, pageWidth, printer.textWidth(title));
        printer.textOut(page.titleLeft, page.titleTop, title);
        StretchBitmapToCanvas(printer, page.picture, Image1->Picture());
        printer.endDocument();
    } catch (...) {
        // A document left begun would hold the printer, and every later
        // print would fail.
        printer.abort();
        throw;
    }
}

void TDrawForm::StretchBitmapToCanvas(Printer& Canvas, const TRect& Rect, const TPicture& Bitmap)
{
    Canvas.stretchBitmap({Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top}, Bitmap);
}
