#include "cursors.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <algorithm>
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

std::map<int, QCursor>& registeredCursors()
{
    static std::map<int, QCursor> cursors;
    return cursors;
}

// The cursor in its three colours, black, white and clear. The window
// system wants the hot spot on the image: a hot spot just below the last
// row (the paint bucket's) gets a clear row added.
QImage threeColourLook(const CursorResource& resource)
{
    const QImage image = QImage(resource.file).convertToFormat(QImage::Format_ARGB32);
    QImage look(std::max(image.width(), resource.hotX + 1), std::max(image.height(), resource.hotY + 1),
                QImage::Format_ARGB32);
    look.fill(Qt::transparent);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
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

QCursor loadCursorResource(const QString& name)
{
    const auto found = cursorResources().find(name.toLower());
    if (found == cursorResources().end())
        return QCursor(Qt::ArrowCursor);
    const CursorResource& resource = found->second;
    const QImage look = threeColourLook(resource);
    if (showsOnlyPixmapCursors())
        return QCursor(QPixmap::fromImage(look), resource.hotX, resource.hotY);
    return bitmapCursor(look, resource.hotX, resource.hotY);
}

void registerCursor(int number, const QCursor& cursor) { registeredCursors()[number] = cursor; }

void applyCursorNumber(QWidget& widget, int number)
{
    const auto found = registeredCursors().find(number);
    if (number == 0 || found == registeredCursors().end())
        widget.unsetCursor();
    else
        widget.setCursor(found->second);
}
