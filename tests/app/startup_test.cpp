// The main window right after start-up, the display mode it asks for at
// start and at the end, its help button, and the default error handler.
#include "Confirm.h"
#include "application.h"
#include "brisko_drawu.h"
#include "colours.h"
#include "controls/cursors.h"
#include "gesture_driver.h"
#include "window_test.h"

#include <QtTest>

#include <memory>

class StartupTest : public WindowTest {
    Q_OBJECT

private slots:
    void startsWithAWhitePictureThePenAndNothingToUndo()
    {
        const TPicture& picture = form().Image1->Picture();
        QCOMPARE(picture.Width(), 721);
        QCOMPARE(picture.Height(), 489);
        QCOMPARE(picture.bitsPerPixel(), 24);
        QCOMPARE_PICTURES(picture, whitePicture());
        QVERIFY(form().PenTool);
        QVERIFY(!form().LineTool && !form().FillTool && !form().SprayTool && !form().RectTool && !form().EllipseTool);
        QVERIFY(!form().OutlineShape && !form().Drawing && !form().BandActive && !form().ShiftHeld);
        QCOMPARE(form().PenColor, clBlack);
        QCOMPARE(form().FillColor, clWhite);
        QCOMPARE(form().SprayColor, clBlack);
        QCOMPARE(form().PenSize, 2);
        QVERIFY(!form().Modified);
        QVERIFY(!form().UndoBtn->isEnabled());
        QVERIFY(form().Edit1->text().isEmpty());
        QCOMPARE(form().Edit1->maxLength(), 50);
        QCOMPARE(form().Image3->geometry(), form().Image1->geometry());
    }

    void captionsContrastWithTheirSwatches()
    {
        QCOMPARE(form().Label3->textColour(), QColor(Qt::white)); // "Pen" on black
        QCOMPARE(form().Label2->textColour(), QColor(Qt::black)); // "Fill" on white
        QCOMPARE(form().buttonBG->brushColour(), QColor(Qt::white));
        QCOMPARE(form().FG->brushColour(), QColor(Qt::black));
        QCOMPARE(form().BG->brushColour(), QColor(Qt::white));
        QCOMPARE(captionColourOn(clGray), clWhite); // only the exact middle grey
        QCOMPARE(captionColourOn(clSilver), TColor(0x3F3F3F));
        QCOMPARE(captionColourOn(0x7F7F7F), clGray);
    }

    // A refused switch changes nothing, and the saved mode is still asked for at the end.
    void asksForTheModeAtStartAndTheSavedModeAtTheEnd_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("depth");
        QTest::addColumn<bool>("refused");
        QTest::newRow("already 800 x 600 x 32") << 800 << 600 << 32 << false;
        QTest::newRow("1024 x 768 x 16") << 1024 << 768 << 16 << false;
        QTest::newRow("1280 x 1024 x 32, refused") << 1280 << 1024 << 32 << true;
    }
    void asksForTheModeAtStartAndTheSavedModeAtTheEnd()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, depth);
        QFETCH(bool, refused);
        FakePlatform fake;
        fake.display = FakeDisplayMode(width, height, depth);
        fake.display.refuses = refused;
        auto form = std::make_unique<TDrawForm>(fake.platform);
        QCOMPARE(form->OldScreenWidth, width);
        QCOMPARE(form->OldScreenHeight, height);
        QCOMPARE(form->OldBitsPerPixel, depth);
        QCOMPARE(fake.display.requests.size(), std::size_t(1));
        QCOMPARE(fake.display.requests[0], std::make_tuple(800, 600, 32));
        form.reset();
        QCOMPARE(fake.display.requests.size(), std::size_t(2));
        QCOMPARE(fake.display.requests[1], std::make_tuple(width, height, depth));
        QVERIFY(fake.dialogs.boxes.empty());
    }

    void closeButtonKeepsOnePixelFromTheRightEdge()
    {
        form().show();
        for (const int width : {800, 1024, 907, 640}) {
            form().resize(width, 600);
            QCOMPARE(form().SpeedButton1->geometry().right(), width - 2);
            QCOMPARE(form().Panel2->width(), width);
        }
        QCOMPARE(form().UndoBtn->x(), 681); // the others keep their places
    }

    void theTitleCaptionFitsItsBox()
    {
        QCOMPARE(form().Label5->geometry(), QRect(372, 20, 27, 16));
        QVERIFY(form().Label5->fontMetrics().horizontalAdvance("Title") <= 27);
        QVERIFY(form().Label5->font().pixelSize() >= 11); // still a caption a child can read
        QVERIFY(form().Label5->font().bold());
    }

    void windowAndPanelsShowTheArrowAndTheDrawingAreaNothingOfItsOwn()
    {
        const QImage arrow = loadCursorResource("Normal").atScale(1).bitmap().toImage();
        QVERIFY(!arrow.isNull());
        for (QWidget* widget : std::initializer_list<QWidget*>{&form(), form().Panel1, form().Panel2, form().Panel3}) {
            QVERIFY(widget->testAttribute(Qt::WA_SetCursor));
            QCOMPARE(widget->cursor().bitmap().toImage(), arrow);
        }
        QCOMPARE(form().Image1->cursorNumber(), 0);
        QVERIFY(!form().Image1->testAttribute(Qt::WA_SetCursor));
        QVERIFY(!form().NewBtn->testAttribute(Qt::WA_SetCursor)); // buttons show their panel's cursor
    }

    void helpOpensThePageFromTheCurrentDirectory()
    {
        QTest::mouseClick(form().SpeedButton7, Qt::LeftButton);
        QCOMPARE(fake().documents.opened, std::vector<QString>{"Scribbo_Help.htm"});
        QVERIFY(fake().dialogs.boxes.empty());
    }

    // At once when there is no page or no opener, or later, when the
    // opener that started reports that it failed.
    void helpThatFailsShowsTheErrorAndChangesNothing_data()
    {
        QTest::addColumn<bool>("openerStarts");
        QTest::newRow("no page or no opener") << false;
        QTest::newRow("the opener fails later") << true;
    }
    void helpThatFailsShowsTheErrorAndChangesNothing()
    {
        QFETCH(bool, openerStarts);
        fake().documents.succeeds = openerStarts;
        QTest::mouseClick(form().SpeedButton7, Qt::LeftButton);
        if (openerStarts) {
            QVERIFY(fake().dialogs.boxes.empty());
            QCOMPARE(fake().documents.lateFailures.size(), std::size_t(1));
            fake().documents.lateFailures[0]();
        }
        QCOMPARE(fake().dialogs.boxes.size(), std::size_t(1));
        const MessageBoxRequest& box = fake().dialogs.boxes[0];
        QCOMPARE(box.text, QString("Failed to execute Scribbo_Help.htm"));
        QCOMPARE(box.caption, QString("Error"));
        QCOMPARE(box.icon, MessageIcon::Error);
        QCOMPARE(box.buttons.size(), std::size_t(1));
        QCOMPARE(box.buttons[0].caption, QString("OK"));
        QVERIFY(!form().Modified && form().PenTool && !form().UndoBtn->isEnabled());
    }

    void titleIsTheProgramNameWithoutDirectoryOrExtension()
    {
        QCOMPARE(applicationTitle("/usr/local/bin/scribbo"), QString("scribbo"));
        QCOMPARE(applicationTitle("C:/Programs/DRAW.EXE"), QString("Draw"));
        QCOMPARE(applicationTitle("/opt/Paint.Box/kIDs.paint.exe"), QString("kids"));
        QCOMPARE(applicationTitle("/opt/.hidden"), QString(""));
    }

    void errorsGetAFullStopWhenTheyEndInALetter()
    {
        QCOMPARE(withFullStop("Stream write error"), QString("Stream write error."));
        QCOMPARE(withFullStop("Out of memory."), QString("Out of memory."));
        QCOMPARE(withFullStop("Is it?"), QString("Is it?.")); // '?' sorts after '.'
        QCOMPARE(withFullStop("Done!"), QString("Done!"));    // '!' sorts before it
        QCOMPARE(withFullStop("Cannot create file \"a\". (13)"), QString("Cannot create file \"a\". (13)"));
        QCOMPARE(withFullStop(""), QString(""));
    }

    void handlerErrorsAreShownAndTheProgramGoesOn()
    {
        FakeDialogs dialogs;
        bool after = false;
        runGuarded(dialogs, [] { throw ScribboError("Bitmap image is not valid"); });
        runGuarded(dialogs, [] { throw std::bad_alloc(); });
        runGuarded(dialogs, [&] { after = true; });
        QVERIFY(after);
        QCOMPARE(dialogs.boxes.size(), std::size_t(2));
        QCOMPARE(dialogs.boxes[0].text, QString("Bitmap image is not valid."));
        QCOMPARE(dialogs.boxes[0].caption, applicationTitle(QCoreApplication::applicationFilePath()));
        QCOMPARE(dialogs.boxes[0].icon, MessageIcon::Error);
        QCOMPARE(dialogs.boxes[1].text, QString("Out of memory."));
    }

    // A dialog is made at its first use, once; one that could not be made is
    // tried again at the next.
    void aDialogIsMadeWhenFirstUsedAndKept()
    {
        FakePlatform fake;
        TDrawForm form(fake.platform);
        MadeOnFirstUse<TConfirmBox> box;
        int attempts = 0;
        box.makeWith([&]() -> TConfirmBox* {
            if (++attempts == 1)
                throw ScribboError("Out of system resources");
            return new TConfirmBox(&form, fake.dialogs);
        });
        QCOMPARE(attempts, 0);
        QVERIFY_THROWS_EXCEPTION(ScribboError, box.get());
        QVERIFY(box.get() && box.get()->parent() == &form);
        QCOMPARE(attempts, 2);
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
