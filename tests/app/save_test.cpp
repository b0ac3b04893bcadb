// The save dialog on the real window and a real folder: the names it
// writes under, the file it writes, and that it never writes over a file,
// never leaves half a file and never loses the picture when it cannot save.
#include "application.h"
#include "file_size_limit.h"
#include "gesture_driver.h"
#include "modal_answer.h"
#include "picture_files.h"
#include "picture_names.h"
#include "window_test.h"

#include <QtTest>

#include <fstream>
#include <optional>

namespace {

constexpr TColor red = 0x0000FF, pink = 0xC080FF;

// A drawing in swatch colours, which a save keeps exactly.
void drawSomething(TDrawForm& form)
{
    form.PenColor = red;
    form.FillColor = pink;
    drag(form, Qt::LeftButton, 100, 100, 300, 150);
    drag(form, Qt::RightButton, 100, 300, 400, 320);
}

// What the dialog shows while it is open, after the child's answer.
struct DialogState {
    bool visible = false;
    QString name;
    QString selected;
};

DialogState stateOf(const TSaveBox& box) { return {box.isVisible(), box.Edit1->text(), box.Edit1->selectedText()}; }

// Types the name, presses Enter, notes what the dialog then shows and
// leaves it with Cancel if it is still open.
ModalAnswer<TSaveBox> answerWithName(const QString& name, DialogState& state)
{
    return ModalAnswer<TSaveBox>([name, &state](TSaveBox& box) {
        typeName(box, name);
        state = stateOf(box);
        if (box.isVisible())
            box.SpeedButton2->click();
    });
}

} // namespace

class SaveTest : public WindowTest {
    Q_OBJECT

private slots:
    // Every name is one the load dialog lists, in the pictures folder itself,
    // and saving it again gives the same name.
    void typedNamesBecomePicturesLoadLists_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        const QList<std::pair<QString, QString>> names = {
            {"cat", "cat.bmp"},
            {"cat.bmp", "cat.bmp"},
            {"cat.BMP", "cat.BMP"},
            {"cat.Bmp", "cat.Bmp"},
            {"cat.jpg", "cat.jpg.bmp"},
            {"cat.", "cat..bmp"},
            {"a.bmp:cat", "a.bmp:cat.bmp"},
            {"cat.bmp ", "cat.bmp .bmp"},
            {QString("cat.bm\u0131"), QString("cat.bm\u0131.bmp")},
            {"pics\\cat", "pics-cat.bmp"},
            {"my.pics\\cat", "my.pics-cat.bmp"},
            {"sub/x", "sub-x.bmp"},
            {"../x", "-x.bmp"},
            {"/etc/x", "-etc-x.bmp"},
            {".hidden", "hidden.bmp"},
            {".bmp", "bmp.bmp"},
            {"", "Picture 2.bmp"}, // "Picture 1.bmp" is taken
            {"..", "Picture 2.bmp"},
            {"   ", "Picture 2.bmp"},
        };
        for (const auto& [typed, saved] : names)
            QTest::newRow(qPrintable("\"" + typed + "\"")) << typed << saved;
    }

    void typedNamesBecomePicturesLoadLists()
    {
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        const auto taken = [](const QString& name) { return name == "Picture 1.bmp"; };
        QCOMPARE(pictureNameFor(typed, taken), saved);
        QCOMPARE(pictureNameFor(saved, taken), saved);
    }

    // The file holds the picture the screen shows: converted once, at the
    // first save, in swatch colours that every one survive it.
    void saveWritesTheConvertedPictureAndClearsModified()
    {
        QVERIFY(showOnScreen(form()));
        drawSomething(form());
        const TPicture drawn = form().Image1->Picture();
        DialogState state;
        {
            const auto answer = answerWithName("pics\\cat", state);
            QTest::mouseClick(form().SaveBtn, Qt::LeftButton);
            QVERIFY(answer.answered());
        }
        QVERIFY(!state.visible);
        QCOMPARE(state.name, "pics-cat.bmp");
        QVERIFY(!form().Modified);
        QCOMPARE(form().Image1->Picture().bitsPerPixel(), 8);
        QCOMPARE_PICTURES(form().Image1->Picture(), drawn);
        QCOMPARE(contentsOf(program().file("pics-cat.bmp")), savedBytesOf(form().Image1->Picture()));
        QVERIFY(fake().dialogs.boxes.empty());

        // Strokes now go into the 8-bit picture; a second save writes it as it is.
        drag(form(), Qt::LeftButton, 10, 400, 700, 400);
        {
            const auto answer = answerModal<TSaveBox>([](TSaveBox& box) {
                QTest::keyClicks(box.Edit1, "dog");
                QTest::mouseClick(box.SaveBtn, Qt::LeftButton);
            });
            QTest::mouseClick(form().SaveBtn, Qt::LeftButton);
            QVERIFY(answer.answered() && !answer.stayedOpen());
        }
        QCOMPARE(form().Image1->Picture().bitsPerPixel(), 8);
        QCOMPARE(form().Image1->Picture().pixel(350, 400), red);
        QCOMPARE(contentsOf(program().file("dog.bmp")), savedBytesOf(form().Image1->Picture()));
        // The name typed last time is not kept; Escape does not close the dialog.
        {
            const auto answer = answerModal<TSaveBox>([&](TSaveBox& box) {
                const QString shownFirst = box.Edit1->text();
                QTest::keyClick(box.Edit1, Qt::Key_Escape);
                state = stateOf(box);
                state.name = shownFirst;
                box.SpeedButton2->click();
            });
            QCOMPARE(program().saveBox.ShowModal(), int(mrCancel));
        }
        QCOMPARE(state.name, "");
        QVERIFY(state.visible);
    }

    void anExistingNameIsRefusedAndNothingIsWrittenOrConverted()
    {
        drawSomething(form());
        std::ofstream(program().file("cat.bmp").toStdString()) << "someone else's";
        DialogState first, second;
        {
            const auto answer = answerModal<TSaveBox>([&](TSaveBox& box) {
                typeName(box, "cat");
                first = stateOf(box);
                box.SaveBtn->click(); // again: the name keeps its one ".bmp"
                second = stateOf(box);
                box.SpeedButton2->click();
            });
            QTest::mouseClick(form().SaveBtn, Qt::LeftButton);
            QVERIFY(answer.answered() && !answer.stayedOpen());
        }
        for (const DialogState& state : {first, second}) {
            QVERIFY(state.visible);
            QCOMPARE(state.name, "cat.bmp");
            QCOMPARE(state.selected, "cat.bmp");
        }
        QCOMPARE(fake().dialogs.boxes.size(), std::size_t(2));
        const MessageBoxRequest& notice = fake().dialogs.boxes[0];
        QCOMPARE(notice.text, "Filename exists, save under another name");
        QCOMPARE(notice.caption, applicationTitle(QCoreApplication::applicationFilePath()));
        QCOMPARE(notice.buttons.size(), std::size_t(1));
        QCOMPARE(notice.buttons[0].caption, "OK");
        QCOMPARE(contentsOf(program().file("cat.bmp")), QByteArray("someone else's"));
        QVERIFY(form().Modified);
        QCOMPARE(form().Image1->Picture().bitsPerPixel(), 24);

        // A name taken after the test, and a name that only links somewhere,
        // are never written through either.
        QVERIFY(QFile::link(program().file("nowhere.bmp"), program().file("link.bmp")));
        for (const char* name : {"cat.bmp", "link.bmp"})
            QCOMPARE(writeNewFile(program().file(name), {1, 2, 3}), NewFileResult::NameTaken);
        QCOMPARE(contentsOf(program().file("cat.bmp")), QByteArray("someone else's"));
        QVERIFY(!QFileInfo::exists(program().file("nowhere.bmp")));
    }

    // The dialog stays open with the name, the picture stays unsaved, and
    // nothing is left on the disk.
    void aFileThatCannotBeWrittenShowsWhyAndKeepsTheWork_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("diskFull");
        QTest::addColumn<QString>("message");
        const QString longName(300, 'a');
        QTest::newRow("name too long") << longName << false
                                       << "Cannot create file \"<folder>/" + longName + ".bmp\". File name too long.";
        QTest::newRow("folder of the name")
            << "cat.bmp" << false << "Cannot create file \"<folder>/cat.bmp\". Is a directory.";
        QTest::newRow("disk full") << "big" << true << "Stream write error.";
    }

    void aFileThatCannotBeWrittenShowsWhyAndKeepsTheWork()
    {
        QFETCH(QString, name);
        QFETCH(bool, diskFull);
        QFETCH(QString, message);
        drawSomething(form());
        QVERIFY(QDir().mkdir(program().file("cat.bmp")));
        DialogState state;
        {
            std::optional<FileSizeLimit> limit;
            if (diskFull)
                limit.emplace(4096);
            const auto answer = answerWithName(name, state);
            QTest::mouseClick(form().SaveBtn, Qt::LeftButton);
            QVERIFY(answer.answered());
        }
        QVERIFY(state.visible);
        QCOMPARE(state.name, withBitmapExtension(name));
        QCOMPARE(fake().dialogs.boxes.size(), std::size_t(1));
        const MessageBoxRequest& error = fake().dialogs.boxes[0];
        QCOMPARE(error.text, message.replace("<folder>", QDir(program().folder.path().c_str()).canonicalPath()));
        QCOMPARE(error.icon, MessageIcon::Error);
        QVERIFY(form().Modified);
        QCOMPARE(form().Image1->Picture().bitsPerPixel(), 8); // converted before the write, and stays so
        // Nothing half written, under any name; the recovery copy may be there.
        QStringList left =
            QDir(program().folder.path().c_str()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
        left.removeIf([](const QString& name) { return name.startsWith(".scribbo-recovery-"); });
        QCOMPARE(left, QStringList{"cat.bmp"});
    }

    // Never over anything of the name, a folder included, and never with a
    // rubber band that is still being dragged.
    void theEndOfTheSessionKeepsUnsavedWorkInANewFile()
    {
        std::tm time{};
        time.tm_year = 2026 - 1900, time.tm_mon = 11, time.tm_mday = 9, time.tm_hour = 7, time.tm_min = 5,
        time.tm_isdst = -1;
        const std::time_t now = std::mktime(&time);
        form().keepUnsavedPicture(now); // nothing drawn: nothing written
        QVERIFY(QDir(program().folder.path().c_str()).isEmpty());

        drawSomething(form());
        const TPicture drawn = form().Image1->Picture();
        QVERIFY(QDir().mkdir(program().file("Unsaved picture 2026-12-09 07-05-00.bmp")));
        form().keepUnsavedPicture(now);
        form().LineTool = true;
        form().PenTool = false;
        press(form(), Qt::LeftButton, 10, 10);
        move(form(), 600, 400);
        form().keepUnsavedPicture(now);
        for (const char* name :
             {"Unsaved picture 2026-12-09 07-05-00 (2).bmp", "Unsaved picture 2026-12-09 07-05-00 (3).bmp"})
            QCOMPARE(contentsOf(program().file(name)), savedBytesOf(drawn));
        QCOMPARE(form().Image1->Picture().bitsPerPixel(), 24); // the window's picture is left as it was
    }
};

QTEST_MAIN(SaveTest)
#include "save_test.moc"
