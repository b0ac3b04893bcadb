// The drawing area on a screen the layout is scaled up to fill: a drag
// repaints only what changed, and the screen then shows exactly the picture
// at that scale.
#include "brisko_drawu.h"
#include "controls/area_scaling.h"
#include "doubles.h"
#include "gesture_driver.h"
#include "offscreen_screen.h"
#include "screen_scale.h"

#include <QtTest>

#include <cmath>

namespace {

// Where the drawing area lies on the screen, leaving out the screen pixels
// it shares with the controls around it, and where the picture shown in it
// begins.
QRect drawingAreaOnScreen(TDrawForm& form, QPointF& origin)
{
    const double scale = form.devicePixelRatioF();
    const QRectF area(QPointF(form.Image1->mapTo(&form, QPoint(0, 0))) * scale, QSizeF(form.Image1->size()) * scale);
    origin = area.topLeft() - QPointF(pointerAlignment(scale), pointerAlignment(scale));
    return QRect(int(std::ceil(area.left())), int(std::ceil(area.top())), int(std::floor(area.width())) - 1,
                 int(std::floor(area.height())) - 1);
}

QImage shownDrawingArea(TDrawForm& form)
{
    QPointF origin;
    const QImage screen = form.screen()->grabWindow(0).toImage(); // the window's own grab stops at its size unscaled
    return screen.copy(drawingAreaOnScreen(form, origin)).convertToFormat(QImage::Format_RGB32);
}

// What the screen must show of the picture there, worked out afresh.
QImage expectedDrawingArea(TDrawForm& form)
{
    const TPicture& picture = form.Image1->Picture();
    const QImage colours =
        QImage(picture.row(0), picture.Width(), picture.Height(), picture.stride(), QImage::Format_BGR888)
            .convertToFormat(QImage::Format_RGB32);
    QPointF origin;
    const QRect area = drawingAreaOnScreen(form, origin);
    QImage expected(area.size(), QImage::Format_RGB32);
    drawAreaScaled(
        [&](int y, int from, int) { return reinterpret_cast<const std::uint32_t*>(colours.constScanLine(y)) + from; },
        picture.Width(), picture.Height(), origin, form.devicePixelRatioF(), area, expected);
    return expected;
}

} // namespace

class ScaledViewTest : public QObject {
    Q_OBJECT

private slots:
    // Each window scales the screen; the next one starts from the desktop's own scale.
    void cleanup() { setScreenScale(*QGuiApplication::primaryScreen(), 1); }

    void aDragLeavesThePictureOnTheScreenAtItsScale_data()
    {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<double>("scale");
        QTest::newRow("1440 x 1080") << QSize(1440, 1080) << 1.8;
        QTest::newRow("1024 x 768") << QSize(1024, 768) << 1.28;
        QTest::newRow("1600 x 1200") << QSize(1600, 1200) << 2.0;
        QTest::newRow("800 x 600") << QSize(800, 600) << 1.0;
    }
    void aDragLeavesThePictureOnTheScreenAtItsScale()
    {
        QFETCH(QSize, display);
        QFETCH(double, scale);
        FakePlatform fake;
        fake.display.width = display.width();
        fake.display.height = display.height();
        fake.display.refuses = scale != 1; // the display mode stays, and the layout is scaled to fill it
        TDrawForm form(fake.platform);
        form.showOnPrimaryScreen();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(std::abs(form.devicePixelRatioF() - scale) < 1e-4); // Qt keeps the factor in single precision
        // A filled ellipse with a wide pen, then a frame still being dragged
        // over it, out past the picture's edges and back.
        form.SpeedButton11Click(nullptr);
        while (form.PenSize < 20)
            form.SpeedButton4Click(nullptr);
        const auto paint = [] { QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest); };
        press(form, Qt::LeftButton, 31, 47);
        for (const QPoint point : {QPoint(400, 300), QPoint(401, 301), QPoint(250, 450)}) {
            move(form, point.x(), point.y());
            paint();
        }
        release(form, Qt::LeftButton, 250, 450);
        paint();
        press(form, Qt::RightButton, 600, 30);
        for (const QPoint point : {QPoint(720, 488), QPoint(5, 3), QPoint(-40, 600), QPoint(97, 211)}) {
            move(form, point.x(), point.y(), Qt::RightButton);
            paint();
        }
        QVERIFY(shownDrawingArea(form) == expectedDrawingArea(form));
    }
};

int main(int argc, char* argv[])
{
    const OffscreenScreen screen(1920, 1200);
    QApplication application(argc, argv);
    ScaledViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "scaled_view_test.moc"
