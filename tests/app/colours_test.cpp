// The swatches, the colour chooser behind the pen and fill swatches, and
// the pen size.
#include "brisko_drawu.h"
#include "colours.h"
#include "gesture_driver.h"
#include "window_test.h"

#include <QtTest>

namespace {

void pressOn(QWidget* widget, Qt::MouseButton button)
{
    QTest::mousePress(widget, button, {}, QPoint(10, 10));
    QTest::mouseRelease(widget, button, {}, QPoint(10, 10));
}

ColourChoice accept(TColor colour) { return {toQColor(colour), QList<QColor>(16, Qt::white)}; }

// Each swatch by its number, row by row from Shape3 at the top left, and
// the colour the palette gives it (0x00BBGGRR): red, pale pink, blue, sky
// blue, purple, fuchsia, green, lime, navy, aqua, yellow, pale yellow,
// black, white, grey, silver, maroon, pink, teal and orange.
constexpr std::pair<int, TColor> paletteColours[] = {
    {3, 0x0000FF},  {2, 0xE1E1FF},  {4, 0xFF0000},  {5, 0xF0CAA6},  {6, 0x800080},  {7, 0xFF00FF},  {8, 0x008000},
    {9, 0x00FF00},  {10, 0x800000}, {11, 0xFFFF00}, {12, 0x00FFFF}, {13, 0xCAFFFF}, {14, 0x000000}, {15, 0xFFFFFF},
    {16, 0x808080}, {17, 0xC0C0C0}, {18, 0x000080}, {19, 0xC080FF}, {20, 0x808000}, {21, 0x0080FF}};

} // namespace

class ColoursTest : public WindowTest {
    Q_OBJECT

private slots:
    void everySwatchGivesItsOwnColourToTheLeftAndRightButtons()
    {
        for (const auto& [number, colour] : paletteColours) {
            TShape* shape = form().Shape[std::size_t(number)];
            QCOMPARE(shape->brushColour(), toQColor(colour)); // it shows what it gives
            pressOn(shape, Qt::LeftButton);
            QCOMPARE(form().PenColor, colour);
            QCOMPARE(form().FG->brushColour(), toQColor(colour));
            QCOMPARE(form().pensizeBtn->captionColour(), toQColor(colour));
            pressOn(shape, Qt::RightButton);
            QCOMPARE(form().FillColor, colour);
            QCOMPARE(form().BG->brushColour(), toQColor(colour));
            QCOMPARE(form().buttonBG->brushColour(), toQColor(colour));
        }
    }

    void rightButtonOnBlackChangesOnlyTheFill()
    {
        pressOn(form().Shape[3], Qt::LeftButton); // red pen first, so black fill is told apart
        pressOn(form().Shape[14], Qt::RightButton);
        QCOMPARE(form().FillColor, clBlack);
        QCOMPARE(form().BG->brushColour(), QColor(Qt::black));
        QCOMPARE(form().buttonBG->brushColour(), QColor(Qt::black));
        QCOMPARE(form().Label2->textColour(), QColor(Qt::white));
        QCOMPARE(form().PenColor, TColor(0x0000FF));
        QCOMPARE(form().FG->brushColour(), QColor(Qt::red));
        QCOMPARE(form().Label3->textColour(), QColor(0, 255, 255));
        QCOMPARE(form().pensizeBtn->captionColour(), QColor(Qt::red));
    }

    void middleButtonOnASwatchSetsThePen()
    {
        pressOn(form().Shape[8], Qt::MiddleButton);
        QCOMPARE(form().PenColor, TColor(0x008000));
        QCOMPARE(form().FillColor, clWhite);
    }

    void captionsOnGreyStayReadable()
    {
        pressOn(form().Shape[16], Qt::LeftButton); // the middle grey
        QCOMPARE(form().Label3->textColour(), QColor(Qt::white));
        fake().dialogs.colours.push_back(accept(0x7F7F7F));
        pressOn(form().FG, Qt::LeftButton);
        QCOMPARE(form().Label3->textColour(), QColor(128, 128, 128));
        pressOn(form().Shape[17], Qt::RightButton); // silver
        QCOMPARE(form().Label2->textColour(), QColor(63, 63, 63));
    }

    void chooserSetsThePenOrTheFillAndRemembersItsColour()
    {
        QList<QColor> custom(16, Qt::white);
        custom[3] = QColor(1, 2, 3);
        fake().dialogs.colours.push_back(ColourChoice{toQColor(0x3366CC), custom});
        pressOn(form().Label3, Qt::RightButton); // the caption opens the pen's chooser too
        QCOMPARE(fake().dialogs.colourRequests.size(), std::size_t(1));
        QCOMPARE(fake().dialogs.colourRequests[0].colour, QColor(Qt::black)); // black at first
        QCOMPARE(form().PenColor, TColor(0x3366CC));
        QCOMPARE(form().pensizeBtn->captionColour(), toQColor(0x3366CC));
        // The fill swatch opens on the colour last accepted, with the custom colours kept.
        fake().dialogs.colours.push_back(accept(0x00FF00));
        pressOn(form().BG, Qt::LeftButton);
        QCOMPARE(fake().dialogs.colourRequests[1].colour, toQColor(0x3366CC));
        QCOMPARE(fake().dialogs.colourRequests[1].customColours, custom);
        QCOMPARE(form().FillColor, TColor(0x00FF00));
        QCOMPARE(form().buttonBG->brushColour(), QColor(Qt::green));
        QCOMPARE(form().pensizeBtn->captionColour(), toQColor(0x3366CC));
        pressOn(form().Label2, Qt::LeftButton);
        QCOMPARE(fake().dialogs.colourRequests[2].colour, QColor(Qt::green));
    }

    void cancelInTheChooserChangesNothing()
    {
        fake().dialogs.colours.push_back(accept(0x0000FF));
        pressOn(form().FG, Qt::LeftButton);
        fake().dialogs.colours.push_back(std::nullopt);
        pressOn(form().BG, Qt::LeftButton);
        fake().dialogs.colours.push_back(std::nullopt);
        pressOn(form().FG, Qt::LeftButton);
        QCOMPARE(form().PenColor, TColor(0x0000FF));
        QCOMPARE(form().FillColor, clWhite);
        QCOMPARE(form().BG->brushColour(), QColor(Qt::white));
        QCOMPARE(form().Label2->textColour(), QColor(Qt::black));
        QCOMPARE(form().Label3->textColour(), QColor(0, 255, 255));
        QCOMPARE(form().ColorDialog1.Color, QColor(Qt::red));
        pressOn(form().BG, Qt::LeftButton);
        QCOMPARE(fake().dialogs.colourRequests.back().colour, QColor(Qt::red));
    }

    void whereSwatchesOverlapTheUpperOneGetsThePress()
    {
        QVERIFY(showOnScreen(form()));
        fake().dialogs.colours.push_back(accept(0x0000FF));
        const QPoint overlap = form().Panel1->mapTo(&form(), QPoint(30, 490)); // FG lies over BG here
        QTest::mouseClick(form().windowHandle(), Qt::LeftButton, {}, overlap);
        QCOMPARE(form().PenColor, TColor(0x0000FF));
        QCOMPARE(form().FillColor, clWhite);
        // Neighbouring swatches overlap; the later one lies on top.
        QTest::mouseClick(form().windowHandle(), Qt::LeftButton, {}, form().Panel1->mapTo(&form(), QPoint(36, 10)));
        QCOMPARE(form().PenColor, TColor(0xE1E1FF)); // pale pink over red
        QTest::mouseClick(form().windowHandle(), Qt::LeftButton, {}, form().Panel1->mapTo(&form(), QPoint(10, 73)));
        QCOMPARE(form().PenColor, TColor(0x800080)); // purple over blue
        // The pen-size display lies over its backdrop.
        form().SpeedButton6Click(nullptr);
        QTest::mouseClick(form().windowHandle(), Qt::LeftButton, {}, form().Panel1->mapTo(&form(), QPoint(20, 410)));
        QVERIFY(form().PenTool && !form().FillTool);
        // The line under the pen size lies over the last row of the buttons
        // above it, row 436: a press there reaches neither of them.
        form().SpeedButton6Click(nullptr);
        form().PenSize = 5;
        for (const int row : {436, 435}) {
            QTest::mouseClick(form().windowHandle(), Qt::LeftButton, {},
                              form().Panel1->mapTo(&form(), QPoint(50, row)));
            QTest::mouseClick(form().windowHandle(), Qt::LeftButton, {},
                              form().Panel1->mapTo(&form(), QPoint(10, row)));
        }
        QCOMPARE(form().PenSize, 4); // only the clicks on row 435 took effect
        QVERIFY(form().PenTool && !form().FillTool);
    }

    // "+" a click on Bigger Pen, "-" one on Smaller Pen: the size stays
    // within 2 and 20, and from the first click on the display shows it.
    void penSizeClicksStayWithinTwoAndTwentyAndShowTheSize_data()
    {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("hint");
        QTest::newRow("none") << "" << 2 << "Pen";
        QTest::newRow("smaller at the start keeps two") << "-" << 2 << "Pen size - 6";
        QTest::newRow("bigger up to twenty") << QString(18, '+') << 20 << "Pen size - 60";
        QTest::newRow("bigger stops at twenty") << QString(19, '+') << 20 << "Pen size - 60";
        QTest::newRow("smaller from twenty") << QString(19, '+') + "-" << 19 << "Pen size - 57";
    }
    void penSizeClicksStayWithinTwoAndTwentyAndShowTheSize()
    {
        QFETCH(QString, clicks);
        QFETCH(int, size);
        QFETCH(QString, hint);
        for (const QChar click : clicks)
            QTest::mouseClick(click == '+' ? form().SpeedButton4 : form().SpeedButton9, Qt::LeftButton);
        QCOMPARE(form().PenSize, size);
        QCOMPARE(form().pensizeBtn->hint(), hint);
        if (!clicks.isEmpty())
            QCOMPARE(form().pensizeBtn->captionPointSize(), 3.0 * size);
    }

    void aSizeClickShowsTheArrowUntilThePointerMoves()
    {
        move(form(), 10, 10, Qt::NoButton);
        QCOMPARE(form().Image1->cursorNumber(), 2);
        QTest::mouseClick(form().SpeedButton4, Qt::LeftButton);
        QCOMPARE(form().Image1->cursorNumber(), 0);
        QVERIFY(!form().Image1->testAttribute(Qt::WA_SetCursor)); // showing the window's arrow
        move(form(), 11, 10, Qt::NoButton);
        QCOMPARE(form().Image1->cursorNumber(), 2);
    }

    void newSizeAndColoursApplyToTheNextStroke()
    {
        for (int click = 0; click < 3; ++click)
            QTest::mouseClick(form().SpeedButton4, Qt::LeftButton);
        pressOn(form().Shape[4], Qt::LeftButton); // blue
        drag(form(), Qt::LeftButton, 100, 100, 200, 100);
        for (int y = 95; y <= 105; ++y)
            QCOMPARE(form().Image1->Picture().pixel(150, y), y >= 98 && y <= 102 ? TColor(0xFF0000) : clWhite);
    }
};

QTEST_MAIN(ColoursTest)
#include "colours_test.moc"
