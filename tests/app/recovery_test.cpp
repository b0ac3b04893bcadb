// Unsaved work kept across the program's end: the recovery copy on the real
// window, its bookkeeping between programs that share a folder, and the
// data folder where the pictures folder cannot take a picture.
#include "file_size_limit.h"
#include "gesture_driver.h"
#include "program.h"
#include "recovery.h"

#include <QtTest>

#include <filesystem>
#include <fstream>

#include <sys/time.h>

namespace {

// The names in the folder that start so, in order.
QStringList namesIn(const std::string& folder, const QString& start)
{
    QStringList names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (QString name = QString::fromStdString(entry.path().filename().string()); name.startsWith(start))
            names.append(name);
    names.sort();
    return names;
}

QStringList unsavedPictures(const std::string& folder) { return namesIn(folder, "Unsaved picture "); }

TPicture pictureWithMark(int x)
{
    TPicture picture = whitePicture();
    TCanvas canvas(picture);
    canvas.Brush.Color = 0x0000FF;
    canvas.FillRect({x, 10, x + 50, 60});
    return picture;
}

std::tm aTime()
{
    std::tm time{};
    time.tm_year = 2026 - 1900, time.tm_mon = 11, time.tm_mday = 10, time.tm_hour = 5, time.tm_min = 3;
    time.tm_sec = 46, time.tm_isdst = -1;
    return time;
}

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

private slots:
    // Mid-gesture the copy shows what the press found; once the work is
    // saved or given up, nothing of it is left.
    void theCopyFollowsFinishedGesturesAndGoesWithTheWork()
    {
        Program program;
        TDrawForm& form = program.form;
        const std::string folder = program.folder.path();
        const TPicture blank = form.Image1->Picture();
        press(form, Qt::LeftButton, 100, 100);
        move(form, 300, 150);
        form.keepRecoveryCopy();
        form.recovery.settle();
        const QStringList copies = namesIn(folder, ".scribbo-recovery-");
        QCOMPARE(copies.filter(".bmp").size(), 1);
        const std::string copy = folder + "/" + copies.filter(".bmp").front().toStdString();
        QCOMPARE(contentsOf(copy), savedBytesOf(blank));

        release(form, Qt::LeftButton, 300, 150);
        form.keepRecoveryCopy();
        form.recovery.settle();
        QCOMPARE(contentsOf(copy), savedBytesOf(form.Image1->Picture()));

        program.fake.dialogs.answers = {mrNo};
        QTest::mouseClick(form.NewBtn, Qt::LeftButton);
        form.recovery.settle();
        QCOMPARE(namesIn(folder, "."), QStringList());
    }

    // Each program holds the lock of its own copy: another start takes only
    // the copies of programs that are gone, once, dated when they were written.
    void aCopyIsTakenOnlyOnceItsProgramIsGone()
    {
        const ProgramFolder program;
        const std::string folder = program.folder.path();
        FakeDialogs dialogs;
        RecoveryCopy running, ended;
        running.keep(pictureWithMark(10));
        ended.keep(pictureWithMark(400));
        running.settle();
        ended.settle();
        recoverEarlierWork(dialogs);
        QCOMPARE(unsavedPictures(folder), QStringList());

        ended.end(false); // its work could be kept nowhere else: the copy stays
        // What a killed program leaves: a copy beside a lock nobody holds.
        const QByteArray killed = savedBytesOf(pictureWithMark(200));
        const std::string killedCopy = folder + "/.scribbo-recovery-1-2.bmp";
        std::ofstream(killedCopy, std::ios::binary).write(killed.data(), killed.size());
        std::ofstream(folder + "/.scribbo-recovery-1-2.lock");
        std::tm written = aTime();
        const timeval times[2] = {{std::mktime(&written), 0}, {std::mktime(&written), 0}};
        QCOMPARE(utimes(killedCopy.c_str(), times), 0);
        recoverEarlierWork(dialogs);
        recoverEarlierWork(dialogs);
        QStringList recovered = unsavedPictures(folder);
        QCOMPARE(recovered.size(), 2);
        QVERIFY(recovered.removeOne("Unsaved picture 2026-12-10 05-03-46.bmp"));
        QCOMPARE(contentsOf(folder + "/Unsaved picture 2026-12-10 05-03-46.bmp"), killed);
        QCOMPARE(contentsOf(folder + "/" + recovered[0].toStdString()), savedBytesOf(pictureWithMark(400)));
        QCOMPARE(namesIn(folder, ".scribbo-recovery-").filter(".bmp").size(), 1); // the running program's
        QVERIFY(dialogs.boxes.empty());

        running.discard();
        running.settle();
        QCOMPARE(namesIn(folder, ".scribbo-"), QStringList());
    }

    // A pictures folder that went away leaves the data folder; where no
    // folder can take the picture, the parent hears of it at the next start.
    void thePictureGoesWhereItCanOrTheParentIsTold()
    {
        const ProgramFolder program;
        const std::string data = program.dataHome.path() + "/scribbo";
        const std::vector<std::uint8_t> file = encodeBitmap(toHalftone(pictureWithMark(10)));
        {
            TemporaryDirectory gone("scribbo-gone");
            QDir::setCurrent(QString::fromStdString(gone.path()));
            std::filesystem::remove(gone.path());
            QVERIFY(keepUnsavedWork(file, aTime()));
            QDir::setCurrent(program.folder.path().c_str());
        }
        QCOMPARE(unsavedPictures(data), QStringList{"Unsaved picture 2026-12-10 05-03-46.bmp"});
        FakeDialogs dialogs;
        recoverEarlierWork(dialogs);
        QCOMPARE(unsavedPictures(data), QStringList());
        const QStringList moved = unsavedPictures(program.folder.path());
        QCOMPARE(moved.size(), 1);
        QCOMPARE(contentsOf(program.file(moved[0].toStdString())), savedBytesOf(pictureWithMark(10)));

        {
            const FileSizeLimit diskFull(4096);
            QVERIFY(!keepUnsavedWork(file, aTime()));
        }
        QCOMPARE(unsavedPictures(program.folder.path()), moved);
        recoverEarlierWork(dialogs);
        QCOMPARE(dialogs.boxes.size(), std::size_t(1));
        QCOMPARE(dialogs.boxes[0].icon, MessageIcon::Error);
        QVERIFY2(dialogs.boxes[0].text.startsWith("A picture that was not saved could not be kept when Scribbo ended "
                                                  "on 2026-12-10 at 05:03:46")
                     && dialogs.boxes[0].text.contains("File too large"),
                 qPrintable(dialogs.boxes[0].text));
        recoverEarlierWork(dialogs);
        QCOMPARE(dialogs.boxes.size(), std::size_t(1)); // told once
    }
};

QTEST_MAIN(RecoveryTest)
#include "recovery_test.moc"
