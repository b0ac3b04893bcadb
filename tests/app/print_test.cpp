// Printing on the real window with a printer that records its calls: the
// question first, then the printer's operations in their order with the
// page's geometry, the picture handed over whole in its own format, and every
// failure shown with no document left begun.
#include "gesture_driver.h"
#include "modal_answer.h"
#include "printed_page.h"
#include "window_test.h"

#include <QtTest>

#include <new>

namespace {

// Clicks the print button and answers the question with the button given.
void print(Program& program, TSpeedButton* TConfirmBox::*answer)
{
    const ModalAnswer<TConfirmBox> reply(
        [answer](TConfirmBox& box) { QTest::mouseClick(box.*answer, Qt::LeftButton); });
    QTest::mouseClick(program.form.printbtn, Qt::LeftButton);
    QVERIFY(reply.answered());
}

// The same size, depth, colour table and pixels.
bool samePicture(const TPicture& one, const TPicture& other) { return encodeBitmap(one) == encodeBitmap(other); }

std::vector<std::string> aPrint(const std::string& font, const std::string& title, int titleLeft, int titleTop,
                                const std::string& picture)
{
    return {"resolution",
            "setLandscape",
            "beginDocument",
            "setFont " + font + " 24 bold #000000",
            "pageWidth",
            "textWidth " + title,
            "textOut " + std::to_string(titleLeft) + " " + std::to_string(titleTop) + " " + title,
            "stretchBitmap " + picture + " from 721x489",
            "endDocument"};
}

} // namespace

class PrintTest : public WindowTest {
    Q_OBJECT

private slots:
    void noTouchesNoPrinterAndNoKeyAnswers()
    {
        auto& printer = fake().printer;
        printer.failAt = "resolution"; // as on a machine without a printer
        bool stayedOpen = false;
        const ModalAnswer<TConfirmBox> reply([&](TConfirmBox& box) {
            for (Qt::Key key : {Qt::Key_Y, Qt::Key_N, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Space})
                QTest::keyClick(&box, key);
            stayedOpen = box.isVisible();
            QTest::mouseClick(box.SpeedButton2, Qt::LeftButton);
        });
        QTest::mouseClick(form().printbtn, Qt::LeftButton);
        QVERIFY(reply.answered());
        QVERIFY2(stayedOpen, "a key answered the question");
        QCOMPARE(program().confirmBox.result(), int(mrNo));
        // Closed through the window system (Alt+F4, a title bar's close): No.
        const ModalAnswer<TConfirmBox> closed([](TConfirmBox& box) { box.close(); });
        QTest::mouseClick(form().printbtn, Qt::LeftButton);
        QVERIFY(closed.answered() && !closed.stayedOpen());
        QVERIFY(printer.calls.empty());
        QVERIFY(fake().dialogs.boxes.empty());
    }

    void yesPrintsThePictureAndTitleInOrderInTheirOwnFormat()
    {
        auto& printer = fake().printer;
        printer.dotsPerInch = {600, 300}; // across and down apart, so neither stands in for the other
        form().PenColor = 0x0000FF;
        drag(form(), Qt::LeftButton, 100, 100, 300, 150);
        form().Edit1->setText("My cat");
        const TPicture before = form().Image1->Picture();
        const std::string family = form().Edit1->font().family().toStdString();

        print(program(), &TConfirmBox::SpeedButton1);
        QCOMPARE(program().confirmBox.result(), int(mrYes));
        // 6814 / 2 - 60 / 2 across; 7 inches down; 1 to 10.5 by 0.25 to 7 inches.
        QCOMPARE(printer.calls, aPrint(family, "My cat", 3377, 2100, "600 75 5700x2025"));
        QVERIFY(samePicture(printer.bitmap, before));
        QVERIFY(fake().dialogs.boxes.empty());
        QVERIFY(form().Image1->Picture().bitsPerPixel() == 24);
        QVERIFY(form().Image1->Picture().pixel(200, 125) == before.pixel(200, 125));
        QVERIFY(form().Modified);
        QCOMPARE(form().Edit1->text(), QString("My cat"));

        // After a save the picture has 8 bits and its table, and goes so.
        form().Image1->Assign(toHalftone(form().Image1->Picture()));
        form().Edit1->clear();
        printer.calls.clear();
        printer.dotsPerInch = {300, 300};
        print(program(), &TConfirmBox::SpeedButton1);
        QCOMPARE(printer.calls, aPrint(family, "", 3407, 2100, "300 75 2850x2025"));
        QCOMPARE(printer.bitmap.bitsPerPixel(), 8);
        QVERIFY(samePicture(printer.bitmap, form().Image1->Picture()));
    }

    void aFailureIsShownAndLeavesNoDocumentBegun_data()
    {
        QTest::addColumn<QString>("failAt");
        QTest::addColumn<bool>("outOfMemory");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("callsMade"); // of a whole print's
        QTest::addColumn<bool>("aborted");
        const QString notValid = "Printer selected is not valid";
        QTest::newRow("no default printer")
            << "resolution" << false << "There is no default printer currently selected" << 1 << false;
        QTest::newRow("printer gone") << "resolution" << false << notValid << 1 << false;
        QTest::newRow("no settings") << "setLandscape" << false << "Operation not supported on selected printer" << 2
                                     << false;
        QTest::newRow("cannot begin") << "beginDocument" << false << notValid << 3 << false;
        QTest::newRow("title") << "textOut" << true << "Out of memory" << 7 << true;
        QTest::newRow("picture") << "stretchBitmap" << true << "Out of memory" << 8 << true;
        QTest::newRow("cannot end") << "endDocument" << false << notValid << 9 << true;
    }
    void aFailureIsShownAndLeavesNoDocumentBegun()
    {
        QFETCH(QString, failAt);
        QFETCH(bool, outOfMemory);
        QFETCH(QString, message);
        QFETCH(int, callsMade);
        QFETCH(bool, aborted);
        auto& printer = fake().printer;
        printer.failAt = failAt.toStdString();
        if (outOfMemory)
            printer.failure = [] { throw std::bad_alloc(); };
        else
            printer.failure = [message] { throw std::runtime_error(message.toStdString()); };
        const TPicture before = form().Image1->Picture();

        print(program(), &TConfirmBox::SpeedButton1);
        const auto whole = aPrint(form().Edit1->font().family().toStdString(), "", 3407, 4200, "600 150 5700x4050");
        std::vector<std::string> expected(whole.begin(), whole.begin() + callsMade);
        if (aborted)
            expected.push_back("abort");
        QCOMPARE(printer.calls, expected);
        QCOMPARE(fake().dialogs.boxes.size(), std::size_t(1));
        QCOMPARE(fake().dialogs.boxes[0].text, message + ".");
        QVERIFY(fake().dialogs.boxes[0].icon == MessageIcon::Error);
        QVERIFY(form().Image1->Picture().pixel(0, 0) == before.pixel(0, 0));

        // The next print goes through whole.
        printer.failAt.clear();
        printer.calls.clear();
        print(program(), &TConfirmBox::SpeedButton1);
        QCOMPARE(printer.calls, whole);
        QCOMPARE(fake().dialogs.boxes.size(), std::size_t(1));
    }

    void thePageIsLaidOutInInches_data()
    {
        QTest::addColumn<int>("dpiX");
        QTest::addColumn<int>("dpiY");
        QTest::addColumn<int>("pageWidth");
        QTest::addColumn<int>("titleWidth");
        QTest::addColumn<QRect>("picture"); // left, top, right and bottom, as QRect(QPoint, QPoint) holds them
        QTest::addColumn<QPoint>("title");
        QTest::newRow("600 dpi") << 600 << 600 << 6814 << 1001 << QRect(QPoint(600, 150), QPoint(6300, 4200))
                                 << QPoint(2907, 4200);
        QTest::newRow("300 dpi") << 300 << 300 << 3407 << 600 << QRect(QPoint(300, 75), QPoint(3150, 2100))
                                 << QPoint(1403, 2100);
        QTest::newRow("1200 dpi") << 1200 << 1200 << 13633 << 4000 << QRect(QPoint(1200, 300), QPoint(12600, 8400))
                                  << QPoint(4816, 8400);
        QTest::newRow("apart") << 600 << 300 << 6814 << 0 << QRect(QPoint(600, 75), QPoint(6300, 2100))
                               << QPoint(3407, 2100);
        QTest::newRow("uneven") << 601 << 599 << 6815 << 3 << QRect(QPoint(601, 149), QPoint(6310, 4193))
                                << QPoint(3406, 4193);
        QTest::newRow("empty title") << 600 << 600 << 6814 << 0 << QRect(QPoint(600, 150), QPoint(6300, 4200))
                                     << QPoint(3407, 4200);
        QTest::newRow("wider than the page")
            << 600 << 600 << 6814 << 8001 << QRect(QPoint(600, 150), QPoint(6300, 4200)) << QPoint(-593, 4200);
    }
    void thePageIsLaidOutInInches()
    {
        QFETCH(int, dpiX);
        QFETCH(int, dpiY);
        QFETCH(int, pageWidth);
        QFETCH(int, titleWidth);
        QFETCH(QRect, picture);
        QFETCH(QPoint, title);
        const PrintedPage page = printedPage(dpiX, dpiY, pageWidth, titleWidth);
        QCOMPARE(QRect(QPoint(page.picture.Left, page.picture.Top), QPoint(page.picture.Right, page.picture.Bottom)),
                 picture);
        QCOMPARE(QPoint(page.titleLeft, page.titleTop), title);
    }
};

QTEST_MAIN(PrintTest)
#include "print_test.moc"
