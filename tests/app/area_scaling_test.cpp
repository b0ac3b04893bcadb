// The picture at the screen's scale: sharp at whole-number scales, and at
// others a line of one width looks one width wherever it lies, with its
// inside in exactly its colour.
#include "controls/area_scaling.h"

#include <QTest>

#include <cmath>

namespace {

constexpr QRgb white = 0xFFFFFFFF, red = 0xFFFF0000;

// One row of `length` white pixels with the two at `first` red, shown from
// screen position `origin` at the scale.
QImage shownRow(int length, int first, double origin, double scale)
{
    QImage source(length, 1, QImage::Format_ARGB32_Premultiplied);
    source.fill(white);
    source.setPixel(first, 0, red);
    source.setPixel(first + 1, 0, red);
    const QRect area(int(std::floor(origin)), 0, int(std::ceil(length * scale)) + 1, 1);
    QImage shown(area.size(), QImage::Format_ARGB32_Premultiplied);
    drawAreaScaled(
        [&](int, int from, int) { return reinterpret_cast<const std::uint32_t*>(source.constScanLine(0)) + from; },
        length, 1, QPointF(origin, 0), scale, area, shown);
    return shown;
}

} // namespace

class AreaScalingTest : public QObject {
    Q_OBJECT

private slots:
    void aTwoPixelLineKeepsItsWidthAndColourAtEveryPlace_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("origin");
        QTest::newRow("2, whole pixels") << 2.0 << 154.0;
        QTest::newRow("3, whole pixels") << 3.0 << 231.0;
        QTest::newRow("1.8, between pixels") << 1.8 << 138.6;
        QTest::newRow("1.28, between pixels") << 1.28 << 98.56;
        QTest::newRow("3.6, between pixels") << 3.6 << 277.2;
    }

    void aTwoPixelLineKeepsItsWidthAndColourAtEveryPlace()
    {
        QFETCH(double, scale);
        QFETCH(double, origin);
        const bool whole = scale == std::floor(scale);
        for (int first = 2; first < 20; ++first) { // clear of the ends, which the screen extends
            const QImage shown = shownRow(24, first, origin, scale);
            double redness = 0;
            int pure = 0;
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb pixel = shown.pixel(x, 0);
                QCOMPARE(qRed(pixel), 255); // white and red only ever mix in green and blue
                QCOMPARE(qGreen(pixel), qBlue(pixel));
                redness += (255 - qGreen(pixel)) / 255.0;
                pure += pixel == red ? 1 : 0;
                if (whole)
                    QVERIFY2(pixel == red || pixel == white, "mixed at a whole-number scale");
            }
            QVERIFY2(std::abs(redness - 2 * scale) < 0.02, qPrintable(QString("covers %1").arg(redness)));
            QVERIFY(pure >= int(std::floor(2 * scale)) - 1);
        }
    }
};

QTEST_GUILESS_MAIN(AreaScalingTest)
#include "area_scaling_test.moc"
