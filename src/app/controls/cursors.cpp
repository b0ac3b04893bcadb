#include "cursors.h"

#include "resource_image.h"
#include "screen_scale.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

struct CursorResource {
    const char* file;
    int hotX, hotY;
};

// Hot spots are part of each cursor's design, so they live beside its name.
const std::map<QString, CursorResource>& cursorResources()
{
    static const std::map<QString, CursorResource> resources{
        {"spray", {":/cursors/spray.png", 0, 18}},  {"pencil", {":/cursors/pencil.png", 0, 0}},
        {"fill", {":/cursors/fill.png", 4, 32}},    {"square", {":/cursors/square.png", 0, 0}},
        {"circle", {":/cursors/circle.png", 0, 0}}, {"normal", {":/cursors/normal.png", 0, 0}},
        {"line", {":/cursors/line.png", 0, 0}},
    };
    return resources;
}

// Each cursor is made once for each scale it is shown at: the drawing area
// is given its cursor at every mouse move.
struct RegisteredCursor {
    CursorDesign design;
    std::map<double, QCursor> shown;
};

std::map<int, RegisteredCursor>& registeredCursors()
{
    static std::map<int, RegisteredCursor> cursors;
    return cursors;
}

// The cursor in its three colours, black, white and clear, each design
// pixel a block of screen pixels at the scale. The window system wants the
// hot spot on the image: a hot spot just below the last row (the paint
// bucket's) gets clear rows added.
QImage threeColourLook(const QImage& design, QPoint hotSpot, double scale)
{
    const int width = std::max(int(std::ceil(design.width() * scale - 1e-9)), hotSpot.x() + 1);
    const int height = std::max(int(std::ceil(design.height() * scale - 1e-9)), hotSpot.y() + 1);
    QImage look(width, height, QImage::Format_ARGB32);
    look.fill(Qt::transparent);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const QPoint from(int(x / scale), int(y / scale));
            if (!design.valid(from))
                continue;
            const QRgb pixel = design.pixel(from);
            if (qAlpha(pixel) >= 128)
                look.setPixel(x, y, qGray(pixel) < 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    return look;
}

// X11's own kind of cursor: bit 1 (drawn black) marks a black pixel in one
// bitmap, an opaque one in the other.
QCursor bitmapCursor(const QImage& look, int hotX, int hotY)
{
    QImage black(look.size(), QImage::Format_Mono), opaque(look.size(), QImage::Format_Mono);
    for (QImage* bits : {&black, &opaque}) {
        bits->setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        bits->fill(0);
    }
    for (int y = 0; y < look.height(); ++y)
        for (int x = 0; x < look.width(); ++x) {
            const QRgb pixel = look.pixel(x, y);
            if (qAlpha(pixel) == 0)
                continue;
            opaque.setPixel(x, y, 1);
            black.setPixel(x, y, qRed(pixel) == 0 ? 1 : 0);
        }
    return QCursor(QBitmap::fromImage(black), QBitmap::fromImage(opaque), hotX, hotY);
}

// Qt's Wayland plugin sends a cursor's pixmap to the compositor and nothing
// else: a cursor made of two bitmaps has none, and would show as nothing.
bool showsOnlyPixmapCursors() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

} // namespace

CursorDesign loadCursorResource(const QString& name)
{
    const auto found = cursorResources().find(name.toLower());
    if (found == cursorResources().end())
        return {};
    const CursorResource& resource = found->second;
    return {resourceImage(resource.file, "PNG").convertToFormat(QImage::Format_ARGB32),
            QPoint(resource.hotX, resource.hotY)};
}

QCursor CursorDesign::atScale(double scale, double desktopScale) const
{
    if (look.isNull())
        return QCursor(Qt::ArrowCursor);
    const QPoint hot(int(std::floor((hotSpot.x() + 0.5) * scale)), int(std::floor((hotSpot.y() + 0.5) * scale)));
    const QImage shown = threeColourLook(look, hot, scale);
    if (showsOnlyPixmapCursors()) {
        // The image in the screen's pixels; its hot spot in the desktop's.
        QPixmap pixmap = QPixmap::fromImage(shown);
        pixmap.setDevicePixelRatio(desktopScale);
        return QCursor(pixmap, int(hot.x() / desktopScale), int(hot.y() / desktopScale));
    }
    return bitmapCursor(shown, hot.x(), hot.y());
}

void registerCursor(int number, const CursorDesign& cursor) { registeredCursors()[number] = {cursor, {}}; }

void applyCursorNumber(QWidget& widget, int number)
{
    const auto found = registeredCursors().find(number);
    if (number == 0 || found == registeredCursors().end()) {
        widget.unsetCursor();
        return;
    }
    RegisteredCursor& cursor = found->second;
    const double scale = widget.devicePixelRatioF();
    auto shown = cursor.shown.find(scale);
    if (shown == cursor.shown.end()) {
        const QScreen* screen = widget.screen();
        shown = cursor.shown.emplace(scale, cursor.design.atScale(scale, screen ? desktopScale(*screen) : 1)).first;
    }
    widget.setCursor(shown->second);
}
