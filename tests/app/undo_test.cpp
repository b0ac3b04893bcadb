// Undo, New Picture and the "Save Changes?" question on New Picture and on
// closing, as sequences a child goes through on the real window.
#include "gesture_driver.h"
#include "modal_answer.h"
#include "window_test.h"

#include <QtTest>

namespace {

constexpr TColor red = 0x0000FF;

// How the question must look, whichever way it is answered.
void verifySaveChangesQuestion(const MessageBoxRequest& box)
{
    QCOMPARE(box.text, "Save Changes?");
    QCOMPARE(box.caption, "Confirm");
    QCOMPARE(box.icon, MessageIcon::Question);
    QCOMPARE(box.buttons.size(), std::size_t(3));
    const std::vector<std::pair<QString, TModalResult>> expected{{"&Yes", mrYes}, {"&No", mrNo}, {"Cancel", mrCancel}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QCOMPARE(box.buttons[i].caption, expected[i].first);
        QCOMPARE(box.buttons[i].result, expected[i].second);
    }
    QCOMPARE(box.defaultButton, 0);
    QCOMPARE(box.escapeResult, mrCancel);
}

// What New Picture or closing may not touch when the work is kept.
struct Kept {
    explicit Kept(const TDrawForm& form)
        : picture(form.Image1->Picture()), snapshot(form.Image3->Picture()), title(form.Edit1->text()),
          undo(form.UndoBtn->isEnabled()), modified(form.Modified)
    {
    }
    TPicture picture, snapshot;
    QString title;
    bool undo, modified;
};

#define QVERIFY_KEPT(form, kept)                                                                                       \
    do {                                                                                                               \
        QCOMPARE_PICTURES((form).Image1->Picture(), (kept).picture);                                                   \
        QCOMPARE_PICTURES((form).Image3->Picture(), (kept).snapshot);                                                  \
        QCOMPARE((form).Edit1->text(), (kept).title);                                                                  \
        QCOMPARE((form).UndoBtn->isEnabled(), (kept).undo);                                                            \
        QCOMPARE((form).Modified, (kept).modified);                                                                    \
    } while (false)

void verifyWiped(const TDrawForm& form)
{
    QCOMPARE_PICTURES(form.Image1->Picture(), whitePicture());
    QCOMPARE_PICTURES(form.Image3->Picture(), whitePicture());
    QVERIFY(form.Edit1->text().isEmpty());
    QVERIFY(!form.UndoBtn->isEnabled());
    QVERIFY(!form.Modified);
}

} // namespace

class UndoTest : public WindowTest {
    Q_OBJECT

private slots:
    void undoTakesBackTheLastGestureOnceAndOnlyIt()
    {
        QVERIFY(showOnScreen(form()));
        const TPicture blank = form().Image1->Picture();

        drag(form(), Qt::LeftButton, 100, 100, 200, 100); // A
        const TPicture afterA = form().Image1->Picture();
        QTest::mouseClick(form().UndoBtn, Qt::LeftButton);
        QCOMPARE_PICTURES(form().Image1->Picture(), blank);
        QVERIFY(!form().UndoBtn->isEnabled());
        QTest::mouseClick(form().UndoBtn, Qt::LeftButton); // a disabled button: nothing happens
        QCOMPARE_PICTURES(form().Image1->Picture(), blank);

        drag(form(), Qt::LeftButton, 100, 100, 200, 100); // A again, then B: only B goes
        drag(form(), Qt::RightButton, 100, 200, 200, 200);
        QTest::mouseClick(form().UndoBtn, Qt::LeftButton);
        QCOMPARE_PICTURES(form().Image1->Picture(), afterA);
        QVERIFY(form().Modified); // Undo leaves the flag alone

        // A press that draws nothing still takes a snapshot, with any button.
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton}) {
            press(form(), button, 300, 300);
            release(form(), button, 300, 300);
            QVERIFY(form().UndoBtn->isEnabled());
            QTest::mouseClick(form().UndoBtn, Qt::LeftButton);
            QCOMPARE_PICTURES(form().Image1->Picture(), afterA);
        }
    }

    void newPictureWipesAtOnceWhenNothingIsUnsavedAndKeepsColoursAndPen()
    {
        drag(form(), Qt::LeftButton, 100, 100, 200, 100);
        form().Modified = false; // as after a save
        form().Edit1->setText("My cat");
        form().PenColor = red;
        form().PenSize = 7;
        QTest::mouseClick(form().NewBtn, Qt::LeftButton);
        QVERIFY(fake().dialogs.boxes.empty());
        verifyWiped(form());
        QCOMPARE(form().PenColor, red);
        QCOMPARE(form().PenSize, 7);
        QCOMPARE(form().Image1->Canvas().Brush.Color, clWhite);
    }

    // After Yes, the work goes only once the save dialog has written it:
    // cancelling the dialog keeps everything, as Cancel does.
    void newPictureAsksAndGoesOnlyWhenTheWorkIsSavedOrGivenUp()
    {
        drag(form(), Qt::LeftButton, 100, 100, 200, 100);
        form().Edit1->setText("My cat");
        const Kept kept(form());

        fake().dialogs.answers = {mrCancel};
        QTest::mouseClick(form().NewBtn, Qt::LeftButton);
        QCOMPARE(fake().dialogs.boxes.size(), std::size_t(1));
        verifySaveChangesQuestion(fake().dialogs.boxes[0]);
        QVERIFY_KEPT(form(), kept);

        fake().dialogs.answers = {mrYes};
        {
            const auto cancelled = answerModal<TSaveBox>([](TSaveBox& box) { box.SpeedButton2->click(); });
            QTest::mouseClick(form().NewBtn, Qt::LeftButton);
            QVERIFY(cancelled.answered());
        }
        QVERIFY_KEPT(form(), kept);
        QVERIFY(QDir(program().folder.path().c_str()).isEmpty());

        fake().dialogs.answers = {mrYes};
        {
            const auto saved = answerModal<TSaveBox>([](TSaveBox& box) { typeName(box, "cat"); });
            QTest::mouseClick(form().NewBtn, Qt::LeftButton);
            QVERIFY(saved.answered() && !saved.stayedOpen());
        }
        QVERIFY(QFileInfo::exists(program().file("cat.bmp")));
        verifyWiped(form());

        drag(form(), Qt::LeftButton, 100, 100, 200, 100);
        fake().dialogs.answers = {mrNo};
        QTest::mouseClick(form().NewBtn, Qt::LeftButton);
        verifyWiped(form());
        QCOMPARE(fake().dialogs.boxes.size(), std::size_t(4));
    }

    void closingAsksWhileWorkIsUnsavedAndStaysOpenUnlessItIsSavedOrGivenUp()
    {
        QVERIFY(showOnScreen(form()));
        drag(form(), Qt::LeftButton, 100, 100, 200, 100);
        const Kept kept(form());

        // The close button and the window system's request ask the same.
        fake().dialogs.answers = {mrCancel, mrCancel};
        QTest::mouseClick(form().SpeedButton1, Qt::LeftButton);
        form().windowHandle()->close();
        QCOMPARE(fake().dialogs.boxes.size(), std::size_t(2));
        verifySaveChangesQuestion(fake().dialogs.boxes[1]);
        QVERIFY(form().isVisible());
        QVERIFY_KEPT(form(), kept);

        fake().dialogs.answers = {mrYes};
        {
            const auto cancelled = answerModal<TSaveBox>([](TSaveBox& box) { box.SpeedButton2->click(); });
            QTest::mouseClick(form().SpeedButton1, Qt::LeftButton);
            QVERIFY(cancelled.answered());
        }
        QVERIFY(form().isVisible());
        QVERIFY_KEPT(form(), kept);

        fake().dialogs.answers = {mrYes};
        {
            const auto saved = answerModal<TSaveBox>([](TSaveBox& box) { typeName(box, "cat"); });
            QTest::mouseClick(form().SpeedButton1, Qt::LeftButton);
            QVERIFY(saved.answered() && !saved.stayedOpen());
        }
        QVERIFY(!form().isVisible());
        QVERIFY(QFileInfo::exists(program().file("cat.bmp")));
        QVERIFY(!form().Modified); // closing never clears it: the save did

        // After a save, Undo changes the picture but not the flag: no question.
        QVERIFY(showOnScreen(form()));
        QTest::mouseClick(form().UndoBtn, Qt::LeftButton);
        QTest::mouseClick(form().SpeedButton1, Qt::LeftButton);
        QVERIFY(!form().isVisible());

        QVERIFY(showOnScreen(form()));
        drag(form(), Qt::LeftButton, 100, 300, 200, 300);
        fake().dialogs.answers = {mrNo};
        form().windowHandle()->close();
        QVERIFY(!form().isVisible());
        QVERIFY(form().Modified);
        QCOMPARE(fake().dialogs.boxes.size(), std::size_t(5));
    }
};

QTEST_MAIN(UndoTest)
#include "undo_test.moc"
