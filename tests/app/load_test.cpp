// The load dialog and the load on the real window, with real files in a
// folder of their own: what is listed, the preview, where a picture lands,
// and that a load that cannot go through changes nothing.
#include "gesture_driver.h"
#include "modal_answer.h"
#include "window_test.h"

#include <QtTest>

#include <fstream>

namespace {

// Every pixel a different colour, so a misplaced picture shows.
TPicture patterned(int width, int height)
{
    TPicture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setStoredAt(x, y, std::uint32_t(x & 0xFF) | std::uint32_t(y & 0xFF) << 8 | 0x400000);
    return picture;
}

void writeFile(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

QStringList listed(const TLoadPic& dialog)
{
    QStringList names;
    for (int row = 0; row < dialog.FileListBox1->count(); ++row)
        names.append(dialog.FileListBox1->item(row)->text());
    return names;
}

// Whole headers, but 7 bits per pixel.
std::vector<std::uint8_t> broken()
{
    std::vector<std::uint8_t> bytes = encodeBitmap(patterned(4, 4));
    bytes[28] = 7;
    return bytes;
}

int rowOf(const TLoadPic& dialog, const QString& name) { return int(listed(dialog).indexOf(name)); }

// Picks the entry in the open dialog and presses "Load".
ModalAnswer<TLoadPic> answerLoading(const QString& name)
{
    return ModalAnswer<TLoadPic>([name](TLoadPic& dialog) {
        dialog.FileListBox1->setCurrentRow(rowOf(dialog, name));
        dialog.LoadBtn->click();
    });
}

void load(Program& program, const QString& name)
{
    const auto answer = answerLoading(name);
    QTest::mouseClick(program.form.SpeedButton2, Qt::LeftButton);
    QVERIFY(answer.answered() && !answer.stayedOpen());
}

} // namespace

class LoadTest : public WindowTest {
    Q_OBJECT

private slots:
    void previewsShowPicturesWholeAndCentred_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("shown");
        QTest::newRow("wide") << QSize(200, 100) << QRect(0, 40, 161, 80);
        QTest::newRow("tall") << QSize(100, 300) << QRect(54, 0, 53, 161);
        QTest::newRow("small") << QSize(50, 50) << QRect(55, 55, 50, 50);
        QTest::newRow("exactly fits") << QSize(161, 161) << QRect(0, 0, 161, 161);
        QTest::newRow("large square") << QSize(4000, 4000) << QRect(0, 0, 161, 161);
        QTest::newRow("empty") << QSize(0, 0) << QRect(80, 80, 0, 0);
    }

    void previewsShowPicturesWholeAndCentred()
    {
        QFETCH(QSize, size);
        QFETCH(QRect, shown);
        QCOMPARE(previewRect(size.width(), size.height()), shown);
    }

    void theListHoldsTheFolderPicturesInOrderAndTheirPreviews()
    {
        writeFile(program().file("b.bmp"), encodeBitmap(patterned(200, 100)));
        writeFile(program().file("A.BMP"), encodeBitmap(patterned(20, 10)));
        writeFile(program().file(".bmp"), encodeBitmap(patterned(5, 5))); // saved under an empty name
        writeFile(program().file(".hidden.bmp"), {});
        writeFile(program().file("notes.txt"), {});
        writeFile(program().file("broken.bmp"), broken());
        QVERIFY(QDir().mkdir(program().file("folder.bmp")));
        TLoadPic& dialog = program().loadPic;
        QStringList names;
        QRect preview;
        TPicture previewed;
        const auto answer = answerModal<TLoadPic>([&](TLoadPic& open) {
            names = listed(open);
            QVERIFY(!open.FileListBox1->currentItem());
            QTest::keyClick(open.FileListBox1, Qt::Key_Down); // the first entry
            QTest::keyClick(open.FileListBox1, Qt::Key_Down);
            QTest::keyClick(open.FileListBox1, Qt::Key_B); // a letter walks to its name
            preview = open.Image4->geometry();
            previewed = open.Image4->Picture();
            open.FileListBox1->setCurrentRow(rowOf(open, "broken.bmp")); // an error keeps the preview
            open.SpeedButton3->click();
        });
        QCOMPARE(dialog.ShowModal(), int(mrNo));
        QVERIFY(answer.answered() && !answer.stayedOpen());
        QCOMPARE(names, QStringList({".bmp", "A.BMP", "b.bmp", "broken.bmp"}));
        QCOMPARE(preview, QRect(192, 24 + 40, 161, 80));
        QCOMPARE(previewed.Width(), 161);
        QCOMPARE(previewed.Height(), 80);
        QCOMPARE(fake().dialogs.boxes.size(), std::size_t(1));
        QCOMPARE(fake().dialogs.boxes[0].text, "Bitmap image is not valid.");
        QCOMPARE_PICTURES(dialog.Image4->Picture(), previewed);
    }

    // Names that differ only at the end, as the unsaved pictures of one
    // minute do, look different in the list, and the one previewed is shown
    // whole beside its preview.
    void longNamesStayApartAndThePreviewedOneIsShownWhole()
    {
        Program program;
        const QStringList names{"Unsaved picture 2026-12-10 05-03-46.bmp", "Unsaved picture 2026-12-10 05-03-47.bmp"};
        for (const QString& name : names)
            writeFile(program.file(name.toStdString()), encodeBitmap(patterned(20, 10)));
        QList<QImage> entries;
        QString shownWhole;
        const auto answer = answerModal<TLoadPic>([&](TLoadPic& open) {
            for (int row = 0; row < open.FileListBox1->count(); ++row)
                entries.append(open.FileListBox1->viewport()
                                   ->grab(open.FileListBox1->visualItemRect(open.FileListBox1->item(row)))
                                   .toImage());
            open.FileListBox1->setCurrentRow(1);
            shownWhole = open.previewName->text();
            open.SpeedButton3->click();
        });
        QTest::mouseClick(program.form.SpeedButton2, Qt::LeftButton);
        QVERIFY(answer.answered() && !answer.stayedOpen());
        QCOMPARE(entries.size(), 2);
        QVERIFY(entries[0] != entries[1]);
        QCOMPARE(shownWhole, names[1]);
    }

    // The middle of a picture larger than the drawing area: offsets are
    // halves rounded toward zero.
    void aLoadedPictureLandsCentredOnANewPicture()
    {
        const TPicture file = patterned(800, 600);
        writeFile(program().file("big.bmp"), encodeBitmap(file));
        writeFile(program().file("small.bmp"), encodeBitmap(patterned(100, 100)));
        writeFile(program().file("empty.bmp"), {});
        form().Edit1->setText("My cat");
        load(program(), "big.bmp");
        for (const QPoint at : {QPoint(0, 0), QPoint(720, 488), QPoint(360, 200)})
            QCOMPARE(form().Image1->Picture().pixel(at.x(), at.y()), file.pixel(at.x() + 39, at.y() + 55));
        QCOMPARE_PICTURES(form().Image3->Picture(), file); // the file's own picture, until the next press
        QVERIFY(!form().Modified && !form().UndoBtn->isEnabled() && form().Edit1->text().isEmpty());

        load(program(), "small.bmp");
        QCOMPARE(form().Image1->Picture().pixel(309, 194), clWhite);
        QCOMPARE(form().Image1->Picture().pixel(310, 194), patterned(1, 1).pixel(0, 0));
        QCOMPARE(form().Image1->Picture().pixel(409, 293), patterned(100, 100).pixel(99, 99));
        QCOMPARE(form().Image1->Picture().pixel(410, 293), clWhite);

        load(program(), "empty.bmp");
        QCOMPARE_PICTURES(form().Image1->Picture(), whitePicture());
        QVERIFY(fake().dialogs.boxes.empty());
    }

    // Cancelling at "Save Changes?" or in the save dialog, a file that
    // cannot be read, or no entry picked: picture, title, flag, Undo and
    // snapshot stay as they were, and only a readable file asks the question.
    void aLoadThatCannotGoThroughChangesNothing()
    {
        writeFile(program().file("small.bmp"), encodeBitmap(patterned(100, 100)));
        writeFile(program().file("broken.bmp"), broken());
        drag(form(), Qt::LeftButton, 10, 10, 600, 400);
        form().Edit1->setText("My cat");
        const TPicture picture = form().Image1->Picture(), snapshot = form().Image3->Picture();
        const auto verifyUnchanged = [&] {
            QCOMPARE_PICTURES(form().Image1->Picture(), picture);
            QCOMPARE_PICTURES(form().Image3->Picture(), snapshot);
            QCOMPARE(form().Edit1->text(), "My cat");
            QVERIFY(form().Modified && form().UndoBtn->isEnabled());
        };

        fake().dialogs.answers = {mrCancel};
        load(program(), "small.bmp");
        verifyUnchanged();
        fake().dialogs.answers = {mrYes};
        {
            const auto saveCancelled = answerModal<TSaveBox>([](TSaveBox& box) { box.SpeedButton2->click(); });
            load(program(), "small.bmp");
            QVERIFY(saveCancelled.answered());
        }
        verifyUnchanged();
        QCOMPARE(fake().dialogs.boxes.size(), std::size_t(2));
        QCOMPARE(fake().dialogs.boxes[1].text, "Save Changes?");

        fake().dialogs.boxes.clear();
        load(program(), "broken.bmp"); // refused by the preview, then by the load
        load(program(), "nothing picked");
        {
            const auto goneSinceListed = answerModal<TLoadPic>([&](TLoadPic& dialog) {
                dialog.FileListBox1->setCurrentRow(rowOf(dialog, "small.bmp"));
                QFile::remove(program().file("small.bmp"));
                dialog.LoadBtn->click();
            });
            QTest::mouseClick(form().SpeedButton2, Qt::LeftButton);
        }
        verifyUnchanged();
        const QString folder = QDir(program().folder.path().c_str()).canonicalPath();
        QStringList errors;
        for (const MessageBoxRequest& box : fake().dialogs.boxes)
            errors.append(box.text);
        QCOMPARE(errors,
                 QStringList({"Bitmap image is not valid.", "Bitmap image is not valid.",
                              "Unknown picture file extension (.)",
                              "Cannot open file \"" + folder + "/small.bmp\". No such file or directory."}));

        const auto cancelled = answerModal<TLoadPic>([](TLoadPic& dialog) { dialog.SpeedButton3->click(); });
        QTest::mouseClick(form().SpeedButton2, Qt::LeftButton);
        QVERIFY(cancelled.answered());
        verifyUnchanged();
        writeFile(program().file("small.bmp"), encodeBitmap(patterned(100, 100)));
        fake().dialogs.answers = {mrNo};
        const auto closed = answerModal<TLoadPic>([&](TLoadPic& dialog) {
            dialog.FileListBox1->setCurrentRow(rowOf(dialog, "small.bmp"));
            dialog.close(); // through the window system: Cancel
        });
        QTest::mouseClick(form().SpeedButton2, Qt::LeftButton);
        QVERIFY(closed.answered() && !closed.stayedOpen());
        verifyUnchanged();
    }
};

QTEST_MAIN(LoadTest)
#include "load_test.moc"
