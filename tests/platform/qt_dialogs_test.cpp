// QtDialogs' message boxes, shown for real (offscreen) and answered the way a
// person would: keys and clicks sent to the box while it waits.
#include "modal_answer.h"
#include "qt_dialogs.h"
#include "scoped_application.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

// What the box showed, read while it was up.
struct ShownBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList captionsLeftToRight;
    QPoint centre;
};

class QtDialogsTest : public ::testing::Test {
protected:
    // Shows the dialog and, once it is up, acts on it like a person.
    template <typename Dialog, typename Show>
    auto answered(Show show, std::function<void(Dialog&)> answer)
    {
        const auto reply = answerModal<Dialog>(std::move(answer));
        const auto result = show();
        EXPECT_TRUE(reply.answered()) << "the dialog closed without being answered";
        EXPECT_FALSE(reply.stayedOpen()) << "the dialog stayed open after the answer";
        return result;
    }

    // The box, read while it is up.
    TModalResult showAndAnswer(const MessageBoxRequest& request, std::function<void(QMessageBox&)> answer)
    {
        return answered<QMessageBox>([&] { return dialogs.messageBox(request); },
                                     [&](QMessageBox& box) {
                                         shown = readBox(box);
                                         answer(box);
                                     });
    }

    // The colour chooser, with the colour it opened on.
    std::optional<ColourChoice> chooseAndAnswer(const ColourChoice& preset, std::function<void(QColorDialog&)> answer)
    {
        return answered<QColorDialog>([&] { return dialogs.chooseColour(preset); },
                                      [&](QColorDialog& chooser) {
                                          shownColour = chooser.currentColor();
                                          answer(chooser);
                                      });
    }

    static ShownBox readBox(const QMessageBox& box)
    {
        ShownBox result{box.windowTitle(), box.text(), box.icon(), {}, box.frameGeometry().center()};
        QList<QAbstractButton*> buttons = box.buttons();
        std::sort(buttons.begin(), buttons.end(), [](auto* left, auto* right) {
            return left->mapToGlobal(QPoint()).x() < right->mapToGlobal(QPoint()).x();
        });
        for (const QAbstractButton* button : buttons)
            result.captionsLeftToRight << button->text();
        return result;
    }

    static std::function<void(QMessageBox&)> press(Qt::Key key)
    {
        return [key](QMessageBox& box) { QTest::keyClick(&box, key); };
    }

    static std::function<void(QMessageBox&)> clickButton(const QString& caption)
    {
        return [caption](QMessageBox& box) {
            for (QAbstractButton* button : box.buttons()) {
                if (button->text() == caption)
                    QTest::mouseClick(button, Qt::LeftButton);
            }
        };
    }

    static MessageBoxRequest yesNoCancel()
    {
        return {"Save the picture before starting a new one?",          "Confirm", MessageIcon::Question,
                {{"&Yes", mrYes}, {"&No", mrNo}, {"Cancel", mrCancel}}, 1,         mrCancel};
    }

    // Two screens, the primary one on the left, as offscreen Qt reads them.
    static std::string twoScreens(const QTemporaryDir& folder)
    {
        const QString path = folder.filePath("screens.json");
        QFile file(path);
        const bool written = file.open(QIODevice::WriteOnly) && file.write(R"({"screens": [
            {"name": "Primary", "x": 0, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
            {"name": "Second", "x": 1024, "y": 0, "width": 1280, "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}
        ]})") > 0;
        EXPECT_TRUE(written) << path.toStdString();
        return "offscreen:configfile=" + path.toStdString();
    }

    void SetUp() override
    {
        // The chooser's custom colours go to Qt's settings: keep them out of the home folder.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    }

    QTemporaryDir folder;
    ScopedApplication<QApplication> application{{"-platform", twoScreens(folder)}};
    QtDialogs dialogs;
    ShownBox shown;
    QColor shownColour;
};

TEST_F(QtDialogsTest, ShowsTheTextsAndTheButtonsInTheirOrder)
{
    const TModalResult result = showAndAnswer(yesNoCancel(), press(Qt::Key_Escape));
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(shown.title, "Confirm");
    EXPECT_EQ(shown.text, "Save the picture before starting a new one?");
    EXPECT_EQ(shown.icon, QMessageBox::Question);
    EXPECT_EQ(shown.captionsLeftToRight, QStringList({"&Yes", "&No", "Cancel"}));
}

TEST_F(QtDialogsTest, ShowsTextThatLooksLikeMarkupAsItIs)
{
    MessageBoxRequest request = yesNoCancel();
    request.text = "Cannot open <b>picture</b> from <folder>";
    int shownWidth = 0;
    int textWidth = 0;
    showAndAnswer(request, [&](QMessageBox& box) {
        const QLabel* label = box.findChild<QLabel*>("qt_msgbox_label");
        ASSERT_NE(label, nullptr);
        shownWidth = label->sizeHint().width();
        textWidth = label->fontMetrics().horizontalAdvance(request.text);
        box.close();
    });
    // As markup, the tags would vanish and the label would be narrower.
    EXPECT_GE(shownWidth, textWidth);
    EXPECT_EQ(shown.text, request.text);
}

TEST_F(QtDialogsTest, ShowsEachIconAsTheStandardOne)
{
    const std::pair<MessageIcon, QMessageBox::Icon> icons[] = {
        {MessageIcon::None, QMessageBox::NoIcon},       {MessageIcon::Error, QMessageBox::Critical},
        {MessageIcon::Warning, QMessageBox::Warning},   {MessageIcon::Information, QMessageBox::Information},
        {MessageIcon::Question, QMessageBox::Question},
    };
    for (const auto& [icon, standardIcon] : icons) {
        MessageBoxRequest request = yesNoCancel();
        request.icon = icon;
        showAndAnswer(request, press(Qt::Key_Escape));
        EXPECT_EQ(shown.icon, standardIcon) << int(icon);
    }
}

TEST_F(QtDialogsTest, EnterAnswersTheDefaultButton)
{
    MessageBoxRequest request = yesNoCancel();
    for (int index = 0; index < 3; ++index) {
        request.defaultButton = index;
        EXPECT_EQ(showAndAnswer(request, press(Qt::Key_Return)), request.buttons[index].result) << index;
    }
    request.defaultButton = 2;
    EXPECT_EQ(showAndAnswer(request, press(Qt::Key_Enter)), mrCancel);
}

TEST_F(QtDialogsTest, AClickedButtonAnswersItsResult)
{
    EXPECT_EQ(showAndAnswer(yesNoCancel(), clickButton("&Yes")), mrYes);
    EXPECT_EQ(showAndAnswer(yesNoCancel(), clickButton("&No")), mrNo);
    EXPECT_EQ(showAndAnswer(yesNoCancel(), clickButton("Cancel")), mrCancel);
}

TEST_F(QtDialogsTest, EscapeAndTheCloseBoxAnswerTheEscapeResult)
{
    MessageBoxRequest request = yesNoCancel();
    request.escapeResult = mrNo; // carried by a button that is not the last
    EXPECT_EQ(showAndAnswer(request, press(Qt::Key_Escape)), mrNo);
    EXPECT_EQ(showAndAnswer(request, [](QMessageBox& box) { box.close(); }), mrNo);

    // Also when no button carries it, where a plain QMessageBox would not close.
    request.buttons = {{"&Yes", mrYes}, {"&No", mrNo}};
    request.escapeResult = mrCancel;
    EXPECT_EQ(showAndAnswer(request, press(Qt::Key_Escape)), mrCancel);
    EXPECT_EQ(showAndAnswer(request, [](QMessageBox& box) { box.close(); }), mrCancel);
}

// A long file name has no space to break at; the box keeps to the screen.
TEST_F(QtDialogsTest, ALongTextWrapsAndTheBoxFitsOnTheScreen)
{
    MessageBoxRequest request = yesNoCancel();
    request.text =
        "Cannot create file \"/home/child/Scribbo Pictures/" + QString(250, 'a') + ".bmp\". File name too long.";
    QRect frame;
    showAndAnswer(request, [&](QMessageBox& box) {
        frame = box.frameGeometry();
        box.close();
    });
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(frame)) << frame.width() << "x" << frame.height() << " at " << frame.x() << ","
                                        << frame.y();
    EXPECT_EQ(shown.text.remove(QChar(0x200B)), request.text);
}

TEST_F(QtDialogsTest, BoxSitsInTheMiddleOfThePrimaryScreen)
{
    // Left alone, Qt would centre the box on the screen under the pointer.
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    QCursor::setPos(QGuiApplication::screens().at(1)->geometry().center());
    showAndAnswer(yesNoCancel(), press(Qt::Key_Escape));
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((shown.centre - screenCentre).manhattanLength(), 2)
        << shown.centre.x() << "," << shown.centre.y() << " against " << screenCentre.x() << "," << screenCentre.y();
}

TEST_F(QtDialogsTest, ErrorBoxHasOneOkButtonThatEveryWayOutAnswers)
{
    const MessageBoxRequest request = errorBox("Failed to execute Scribbo_Help.htm", "Error");
    EXPECT_EQ(showAndAnswer(request, press(Qt::Key_Return)), mrOk);
    EXPECT_EQ(shown.captionsLeftToRight, QStringList({"OK"}));
    EXPECT_EQ(shown.icon, QMessageBox::Critical);
    EXPECT_EQ(shown.title, "Error");
    EXPECT_EQ(shown.text, "Failed to execute Scribbo_Help.htm");
    EXPECT_EQ(showAndAnswer(request, press(Qt::Key_Escape)), mrOk);
    EXPECT_EQ(showAndAnswer(request, clickButton("OK")), mrOk);
}

TEST_F(QtDialogsTest, FaultyRequestsStillGiveABoxThatCanBeAnswered)
{
    MessageBoxRequest noButtons = yesNoCancel();
    noButtons.buttons.clear();
    EXPECT_EQ(showAndAnswer(noButtons, press(Qt::Key_Return)), mrCancel);
    EXPECT_EQ(shown.captionsLeftToRight, QStringList({"OK"}));

    MessageBoxRequest noSuchDefault = yesNoCancel();
    for (int index : {-1, 3, 1000}) {
        noSuchDefault.defaultButton = index;
        EXPECT_EQ(showAndAnswer(noSuchDefault, press(Qt::Key_Escape)), mrCancel) << index;
        EXPECT_EQ(showAndAnswer(noSuchDefault, clickButton("&No")), mrNo) << index;
    }
}

TEST_F(QtDialogsTest, ColourChooserOpensOnThePresetAndAnswersTheChoiceOnOk)
{
    QList<QColor> custom(16, Qt::white);
    custom[5] = QColor(10, 20, 30);
    const auto choice = chooseAndAnswer({QColor(200, 100, 50), custom}, [](QColorDialog& chooser) {
        chooser.setCurrentColor(QColor(1, 2, 3));
        QColorDialog::setCustomColor(0, QColor(4, 5, 6)); // as if the child had added one
        chooser.accept();
    });
    EXPECT_EQ(shownColour, QColor(200, 100, 50));
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->colour, QColor(1, 2, 3));
    ASSERT_EQ(choice->customColours.size(), 16);
    EXPECT_EQ(choice->customColours[0], QColor(4, 5, 6));
    EXPECT_EQ(choice->customColours[5], QColor(10, 20, 30)); // the preset's custom colours were shown
}

TEST_F(QtDialogsTest, ColourChooserCancelledOrClosedAnswersNothing)
{
    const ColourChoice preset{Qt::red, QList<QColor>(16, Qt::white)};
    EXPECT_FALSE(chooseAndAnswer(preset, [](QColorDialog& chooser) { chooser.reject(); }).has_value());
    EXPECT_FALSE(
        chooseAndAnswer(preset, [](QColorDialog& chooser) { QTest::keyClick(&chooser, Qt::Key_Escape); }).has_value());
}

} // namespace
