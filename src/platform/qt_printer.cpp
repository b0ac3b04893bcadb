#include "qt_printer.h"

#include <QFontMetrics>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <stdexcept>
#include <utility>

namespace {

const char* const notValid = "Printer selected is not valid";

// The picture's rows shared, not copied: both keep them top row first, each
// padded to four bytes.
QImage imageOf(const TPicture& picture)
{
    const bool indexed = picture.bitsPerPixel() == 8;
    QImage image(picture.row(0), picture.Width(), picture.Height(), picture.stride(),
                 indexed ? QImage::Format_Indexed8 : QImage::Format_BGR888);
    if (indexed) {
        QList<QRgb> table;
        for (const TColor colour : picture.colourTable())
            table.push_back(qRgb(int(colour & 0xFF), int(colour >> 8 & 0xFF), int(colour >> 16 & 0xFF)));
        image.setColorTable(table);
    }
    return image;
}

} // namespace

QtPrinter::QtPrinter() = default;
QtPrinter::~QtPrinter() = default;

Printer::Resolution QtPrinter::resolution()
{
    // Asked each time: the family may have set a printer up since the last print.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        throw std::runtime_error("There is no default printer currently selected");
    abort();
    printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (!printer->isValid())
        throw std::runtime_error(notValid);
    // Qt would pick A4 even for a Letter printer.
    printer->setPageSize(info.defaultPageSize());
    return {printer->logicalDpiX(), printer->logicalDpiY()};
}

void QtPrinter::setLandscape()
{
    if (!printerInUse().setPageOrientation(QPageLayout::Landscape))
        throw std::runtime_error("Operation not supported on selected printer");
}

void QtPrinter::beginDocument()
{
    QPrinter& target = printerInUse();
    if (!target.isValid() || target.printerState() == QPrinter::Error)
        throw std::runtime_error(notValid);
    page.clear();
    begun = true;
}

int QtPrinter::pageWidth() { return documentBegun().width(); }

void QtPrinter::setFont(const QFont& newFont, const QColor& newColour)
{
    font = newFont;
    colour = newColour;
}

int QtPrinter::textWidth(const QString& text) { return QFontMetrics(font, &documentBegun()).horizontalAdvance(text); }

void QtPrinter::textOut(int left, int top, const QString& text)
{
    documentBegun();
    page.push_back([font = font, colour = colour, left, top, text](QPainter& painter) {
        painter.setFont(font);
        painter.setPen(colour);
        painter.drawText(left, top + painter.fontMetrics().ascent(), text);
    });
}

void QtPrinter::stretchBitmap(const QRect& destination, const TPicture& bitmap)
{
    documentBegun();
    page.push_back(
        [destination, bitmap](QPainter& painter) { painter.drawImage(QRectF(destination), imageOf(bitmap)); });
}

void QtPrinter::endDocument()
{
    QPrinter& target = documentBegun();
    const auto steps = std::exchange(page, {});
    begun = false;
    QPainter painter;
    if (!painter.begin(&target))
        throw std::runtime_error(notValid);
    // Without it Qt's PDF output keeps the picture as JPEG, which smears a
    // child's flat colours at every edge.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);
    for (const auto& step : steps)
        step(painter);
    if (!painter.end())
        throw std::runtime_error(notValid);
}

void QtPrinter::abort()
{
    page.clear();
    begun = false;
}

QPrinter& QtPrinter::printerInUse()
{
    if (!printer)
        throw std::runtime_error(notValid);
    return *printer;
}

QPrinter& QtPrinter::documentBegun()
{
    if (!begun)
        throw std::runtime_error(notValid);
    return printerInUse();
}
