// The tool buttons choose the tool; the drawing area shows its cursor from
// the next move over it.
#include "brisko_drawu.h"
#include "gesture_driver.h"
#include "window_test.h"

#include <QtTest>

namespace {

struct Flags {
    bool pen, line, fill, spray, rect, ellipse, outline;
    bool operator==(const Flags&) const = default;
};

Flags flagsOf(const TDrawForm& form)
{
    return {form.PenTool,  form.LineTool,    form.FillTool,    form.SprayTool,
            form.RectTool, form.EllipseTool, form.OutlineShape};
}

} // namespace

Q_DECLARE_METATYPE(Flags)

class ToolsTest : public WindowTest {
    Q_OBJECT

private slots:
    void eachButtonChoosesOneTool_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Flags>("flags");
        QTest::addColumn<int>("cursor");
        //                                                   pen    line   fill   spray  rect   ellipse outline
        QTest::newRow("Filled Rectangle")
            << "SpeedButton8" << Flags{false, false, false, false, true, false, false} << 4;
        QTest::newRow("Filled Elipse") << "SpeedButton11" << Flags{false, false, false, false, false, true, false} << 5;
        QTest::newRow("Rectangle") << "SpeedButton12" << Flags{false, false, false, false, true, false, true} << 4;
        QTest::newRow("Elipse") << "SpeedButton13" << Flags{false, false, false, false, false, true, true} << 5;
        QTest::newRow("Pen") << "SpeedButton5" << Flags{true, false, false, false, false, false, false} << 2;
        QTest::newRow("Draw Line") << "LineBtn" << Flags{false, true, false, false, false, false, false} << 7;
        QTest::newRow("Fill") << "SpeedButton6" << Flags{false, false, true, false, false, false, false} << 3;
        QTest::newRow("Spray") << "SprayBtn" << Flags{false, false, false, true, false, false, false} << 1;
        QTest::newRow("pen size display") << "pensizeBtn" << Flags{true, false, false, false, false, false, false} << 2;
    }
    void eachButtonChoosesOneTool()
    {
        QFETCH(QString, button);
        QFETCH(Flags, flags);
        QFETCH(int, cursor);
        const std::map<QString, TSpeedButton*> buttons{
            {"SpeedButton8", form().SpeedButton8},   {"SpeedButton11", form().SpeedButton11},
            {"SpeedButton12", form().SpeedButton12}, {"SpeedButton13", form().SpeedButton13},
            {"SpeedButton5", form().SpeedButton5},   {"LineBtn", form().LineBtn},
            {"SpeedButton6", form().SpeedButton6},   {"SprayBtn", form().SprayBtn},
            {"pensizeBtn", form().pensizeBtn}};
        // Start from another tool with the outline flag set, so every flag must be cleared.
        QTest::mouseClick(form().SpeedButton13, Qt::LeftButton);
        move(form(), 5, 5, Qt::NoButton);
        const int cursorBefore = form().Image1->cursorNumber();
        QTest::mouseClick(buttons.at(button), Qt::LeftButton);
        QVERIFY(flagsOf(form()) == flags);
        QCOMPARE(form().Image1->cursorNumber(), cursorBefore); // no change until the pointer moves over the picture
        move(form(), 5, 5, Qt::NoButton);
        QCOMPARE(form().Image1->cursorNumber(), cursor);
        QTest::mouseClick(buttons.at(button), Qt::LeftButton); // twice is the same as once
        QVERIFY(flagsOf(form()) == flags);
    }

    void toolButtonsLeaveColoursSizeAndGestureAlone()
    {
        form().PenColor = 0x123456;
        form().PenSize = 7;
        press(form(), Qt::LeftButton, 10, 10);
        form().ShiftHeld = true;
        QTest::mouseClick(form().SprayBtn, Qt::LeftButton);
        QVERIFY(form().Drawing && form().ShiftHeld);
        QCOMPARE(form().PenColor, TColor(0x123456));
        QCOMPARE(form().PenSize, 7);
    }
};

QTEST_MAIN(ToolsTest)
#include "tools_test.moc"
