#include "qt_printer.h"

#include <QFontMetrics>
#include <QList>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <stdexcept>
#include <utility>

namespace {

const char* const notValid = "Printer selected is not valid";

std::uint32_t littleEndian(std::span<const std::uint8_t> bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[at + std::size_t(i)];
    return value;
}

// The bitmap as an image of its own, top row first as Qt keeps them.
QImage imageOf(QSize source, std::span<const std::uint8_t> header, std::span<const std::uint8_t> rows)
{
    constexpr std::size_t infoHeaderSize = 40;
    if (header.size() < infoHeaderSize)
        throw std::invalid_argument("a device-independent bitmap without its header");
    const bool indexed = littleEndian(header, 14, 2) == 8;
    const qsizetype stride = (qsizetype(source.width()) * (indexed ? 1 : 3) + 3) / 4 * 4;
    const std::size_t colours = indexed ? (littleEndian(header, 32, 4) ? littleEndian(header, 32, 4) : 256) : 0;
    if (colours > 256 || header.size() < infoHeaderSize + 4 * colours
        || rows.size() < std::size_t(stride) * std::size_t(source.height()))
        throw std::invalid_argument("a device-independent bitmap shorter than its size");
    QImage bottomRowFirst(rows.data(), source.width(), source.height(), stride,
                          indexed ? QImage::Format_Indexed8 : QImage::Format_BGR888);
    if (indexed) {
        QList<QRgb> table;
        for (std::size_t entry = infoHeaderSize; entry < infoHeaderSize + 4 * colours; entry += 4)
            table.push_back(qRgb(header[entry + 2], header[entry + 1], header[entry]));
        bottomRowFirst.setColorTable(table);
    }
    return bottomRowFirst.mirrored(false, true);
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

void QtPrinter::stretchBitmap(const QRect& destination, QSize source, std::span<const std::uint8_t> header,
                              std::span<const std::uint8_t> rows)
{
    documentBegun();
    page.push_back([destination, image = imageOf(source, header, rows)](QPainter& painter) {
        painter.drawImage(QRectF(destination), image);
    });
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
