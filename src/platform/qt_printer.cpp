#include "qt_printer.h"
#include "printer_on_first_use.h"

#include <QEventLoop>
#include <QFontMetrics>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>
#include <cups/cups.h>

#include <chrono>
#include <exception>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <utility>

namespace {

const char* const notValid = "Printer selected is not valid";

// How long a child waits for the print scheduler before hearing that the
// printer cannot be reached; CUPS itself would wait a minute.
constexpr std::chrono::seconds schedulerGuard{20};

// Runs the work on a thread of its own and gives its result. Meanwhile the
// window goes on painting and a termination signal is heard, but input
// waits, so that nothing else runs while a print is under way. Throws
// "Printer selected is not valid" when the work has not ended within the
// guard, or the event loop was told to end; the thread then ends on its own.
template <typename Work>
auto awaitAside(Work work) -> decltype(work())
{
    using Result = decltype(work());
    struct Outcome {
        std::mutex mutex;
        bool ended = false;
        std::optional<Result> result;
        std::exception_ptr error;
    };
    const auto outcome = std::make_shared<Outcome>();
    std::thread([outcome, work = std::move(work)]() mutable {
        std::optional<Result> result;
        std::exception_ptr error;
        try {
            result.emplace(work());
        } catch (...) {
            error = std::current_exception();
        }
        const std::lock_guard guard(outcome->mutex);
        outcome->result = std::move(result);
        outcome->error = error;
        outcome->ended = true;
    }).detach();
    const auto ended = [&outcome] {
        const std::lock_guard guard(outcome->mutex);
        return outcome->ended;
    };
    QEventLoop loop;
    QTimer poll;
    poll.callOnTimeout(&loop, [&] {
        if (ended())
            loop.quit();
    });
    poll.start(10);
    QTimer::singleShot(schedulerGuard, &loop, &QEventLoop::quit);
    if (!ended())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    const std::lock_guard guard(outcome->mutex);
    if (!outcome->ended)
        throw std::runtime_error(notValid);
    if (outcome->error)
        std::rethrow_exception(outcome->error);
    return std::move(*outcome->result);
}

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
    abort();
    printer.reset();
    // Asked each time: the family may have set a printer up since the last print.
    printer = awaitAside([] {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            throw std::runtime_error("There is no default printer currently selected");
        auto found = std::make_shared<QPrinter>(info, QPrinter::HighResolution);
        if (!found->isValid())
            throw std::runtime_error(notValid);
        // Qt would pick A4 even for a Letter printer.
        found->setPageSize(info.defaultPageSize());
        return found;
    });
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
    documentBegun();
    awaitAside([target = printer, steps = std::exchange(page, {})] {
        QPainter painter;
        if (!painter.begin(target.get()))
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
        // Qt hands the document to CUPS on this thread and does not look at
        // the answer: a queue that refuses the job would lose it silently.
        if (cupsLastError() >= IPP_STATUS_ERROR_BAD_REQUEST)
            throw std::runtime_error(cupsLastErrorString());
        return true;
    });
    begun = false;
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

extern "C" __attribute__((visibility("default"))) Printer* scribboMakePrinter() { return new QtPrinter; }
