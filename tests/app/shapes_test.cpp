// Rectangles and ellipses dragged out with a dotted frame that erases itself.
#include "band.h"
#include "brisko_drawu.h"
#include "gesture_driver.h"
#include "window_test.h"

#include <QtTest>

namespace {

constexpr TColor red = 0x0000FF, green = 0x00FF00;

bool sameRect(const TRect& a, const TRect& b)
{
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

struct Pixel {
    int x, y;
    TColor colour;
};
using Pixels = std::vector<Pixel>;
using Tool = TSpeedButton* TDrawForm::*;

} // namespace

Q_DECLARE_METATYPE(Pixels)
Q_DECLARE_METATYPE(Tool)

class ShapesTest : public WindowTest {
    Q_OBJECT

private slots:
    void shiftMakesASquareHangingDownFromThePressRow_data()
    {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QRect>("frame"); // left, top, right, bottom as x, y, width, height are not used
        QTest::newRow("down right") << QPoint(130, 150) << true << QRect(QPoint(100, 100), QPoint(130, 130));
        QTest::newRow("down left") << QPoint(70, 150) << true << QRect(QPoint(70, 100), QPoint(100, 130));
        QTest::newRow("up: not square") << QPoint(130, 60) << true << QRect(QPoint(100, 60), QPoint(130, 100));
        QTest::newRow("no shift, up left") << QPoint(50, 40) << false << QRect(QPoint(50, 40), QPoint(100, 100));
        QTest::newRow("level") << QPoint(120, 100) << true << QRect(QPoint(100, 100), QPoint(120, 120));
    }
    void shiftMakesASquareHangingDownFromThePressRow()
    {
        QFETCH(QPoint, pointer);
        QFETCH(bool, shift);
        QFETCH(QRect, frame);
        const TRect expected{frame.left(), frame.top(), frame.right(), frame.bottom()};
        QVERIFY(sameRect(bandRectFor(100, 100, pointer.x(), pointer.y(), shift), expected));

        QTest::mouseClick(form().SpeedButton8, Qt::LeftButton);
        const Qt::KeyboardModifiers keys = shift ? Qt::ShiftModifier : Qt::NoModifier;
        press(form(), Qt::LeftButton, 100, 100, {}, keys);
        move(form(), pointer.x() + 7, pointer.y() + 3, Qt::LeftButton, keys);
        move(form(), pointer.x(), pointer.y(), Qt::LeftButton, keys);
        QVERIFY(sameRect(form().BandRect, expected));
        QCOMPARE(form().ShiftHeld, shift);
    }

    void frameFollowsShiftPressedOrLetGoDuringTheDrag()
    {
        QTest::mouseClick(form().SpeedButton11, Qt::LeftButton);
        press(form(), Qt::LeftButton, 100, 100);
        move(form(), 130, 150, Qt::LeftButton, Qt::ShiftModifier);
        QVERIFY(sameRect(form().BandRect, {100, 100, 130, 130}));
        move(form(), 130, 150);
        QVERIFY(sameRect(form().BandRect, {100, 100, 130, 150}));
        QVERIFY(!form().ShiftHeld);
    }

    void theFrameErasesItselfAndLeavesOnlyTheShape()
    {
        QTest::mouseClick(form().SpeedButton12, Qt::LeftButton); // outlined rectangle
        form().Image1->Canvas().SetPixel(150, 120, red);
        const TPicture before = form().Image1->Picture();
        press(form(), Qt::LeftButton, 100, 100);
        for (int step = 1; step <= 20; ++step)
            move(form(), 100 + 7 * step, 100 + 5 * step);
        // Only the current frame differs from the picture before the press.
        TPicture framed = before;
        TCanvas(framed).DrawFocusRect(form().BandRect);
        QCOMPARE_PICTURES(form().Image1->Picture(), framed);
        move(form(), 200, 160);
        release(form(), Qt::LeftButton, 200, 160);
        TPicture expected = before;
        TCanvas canvas(expected);
        canvas.Pen.Width = 2;
        form().DrawOutlineRect(canvas, 100, 100, 200, 160);
        QCOMPARE_PICTURES(form().Image1->Picture(), expected);
        QVERIFY(!form().BandActive);
        QCOMPARE_PICTURES(form().Image3->Picture(), before); // the snapshot has no frame in it
    }

    // One shape dragged out with each tool: an outline in the pressing
    // button's colour round the other one, or round an inside left alone.
    void eachToolDrawsItsOutlineRoundItsInside_data()
    {
        QTest::addColumn<Tool>("tool");
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<Pixels>("pixels");
        QTest::addColumn<int>("penWidthAfter"); // 0: not looked at
        // Red pen and green fill; the hollow shapes' insides hold a red pixel at (150, 50).
        Pixels frames; // two nested one-pixel frames, the outer one from 10 to 20
        for (int y = 5; y < 25; ++y)
            for (int x = 5; x < 25; ++x) {
                const bool column = (x == 10 || x == 11 || x == 19 || x == 20) && y >= 10 && y <= 19;
                const bool row = (y == 10 || y == 11 || y == 19 || y == 20) && x >= 10 && x <= 19;
                frames.push_back({x, y, column || row ? red : clWhite});
            }
        QTest::newRow("outlined rectangle: nested one-pixel frames")
            << &TDrawForm::SpeedButton12 << int(Qt::LeftButton) << QPoint(10, 10) << QPoint(20, 20) << frames << 1;
        QTest::newRow("filled rectangle, left button")
            << &TDrawForm::SpeedButton8 << int(Qt::LeftButton) << QPoint(10, 10) << QPoint(60, 60)
            << Pixels{{10, 35, red}, {35, 35, green}} << 0;
        QTest::newRow("filled ellipse, right button")
            << &TDrawForm::SpeedButton11 << int(Qt::RightButton) << QPoint(100, 10) << QPoint(200, 90)
            << Pixels{{100, 50, green}, {150, 50, red}, {101, 12, clWhite}} << 0; // left end; middle; outside
        QTest::newRow("hollow ellipse") << &TDrawForm::SpeedButton13 << int(Qt::LeftButton) << QPoint(100, 10)
                                        << QPoint(200, 90)
                                        << Pixels{{150, 50, red}, {140, 40, clWhite}, {100, 50, red}, {150, 10, red}}
                                        << 0;
    }
    void eachToolDrawsItsOutlineRoundItsInside()
    {
        QFETCH(Tool, tool);
        QFETCH(int, button);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(Pixels, pixels);
        QFETCH(int, penWidthAfter);
        form().PenColor = red;
        form().FillColor = green;
        form().Image1->Canvas().SetPixel(150, 50, red);
        QTest::mouseClick(form().*tool, Qt::LeftButton);
        const auto mouseButton = Qt::MouseButton(button);
        drag(form(), mouseButton, from.x(), from.y(), to.x(), to.y());
        for (const Pixel& pixel : pixels)
            QCOMPARE(form().Image1->Picture().pixel(pixel.x, pixel.y), pixel.colour);
        if (penWidthAfter)
            QCOMPARE(form().Image1->Canvas().Pen.Width, penWidthAfter);
    }

    // The press alone counts as a change to the picture, as every tool's does.
    void pressAndReleaseWithoutAMoveDrawNothingYetMarkThePicture()
    {
        for (TSpeedButton* tool :
             {form().SpeedButton8, form().SpeedButton11, form().SpeedButton12, form().SpeedButton13}) {
            QTest::mouseClick(tool, Qt::LeftButton);
            form().Modified = false;
            form().UndoBtn->setEnabled(false);
            press(form(), Qt::LeftButton, 40, 40);
            QVERIFY(form().Modified && form().UndoBtn->isEnabled());
            QVERIFY(form().BandActive);
            QVERIFY(sameRect(form().BandRect, {40, 40, 40, 40}));
            release(form(), Qt::LeftButton, 40, 40);
            QVERIFY(!form().BandActive && form().Modified);
            QCOMPARE_PICTURES(form().Image1->Picture(), whitePicture());
        }
    }

    void aReleaseAboveOrLeftMovesOnlyTopAndLeft()
    {
        QTest::mouseClick(form().SpeedButton8, Qt::LeftButton);
        press(form(), Qt::LeftButton, 100, 100);
        move(form(), 150, 160);
        release(form(), Qt::LeftButton, 80, 70);
        QVERIFY(sameRect(form().BandRect, {80, 70, 150, 160}));
        QCOMPARE(form().Image1->Picture().pixel(80, 120), clBlack);  // left side moved out to the release
        QCOMPARE(form().Image1->Picture().pixel(149, 120), clBlack); // right side where the last move put it
    }

    void aToolClickMidDragKeepsTheGestureAndTheLaterStepsReadTheNewFlags()
    {
        QTest::mouseClick(form().SpeedButton8, Qt::LeftButton);
        press(form(), Qt::RightButton, 100, 100);
        move(form(), 150, 140, Qt::RightButton);
        const TRect frame = form().BandRect;
        form().SpeedButton5Click(form().SpeedButton5); // as the click would, with the mouse elsewhere
        QVERIFY(form().Drawing && form().BandActive && sameRect(form().BandRect, frame));
        QVERIFY(form().PenTool && !form().RectTool);
        release(form(), Qt::RightButton, 150, 140);
        // The frame is removed, nothing is drawn and the frame stays marked as open.
        QCOMPARE_PICTURES(form().Image1->Picture(), whitePicture());
        QVERIFY(form().BandActive);
        QCOMPARE(form().Image1->Canvas().Pen.Color, form().FillColor);
    }
};

QTEST_MAIN(ShapesTest)
#include "shapes_test.moc"
