#include "qt_dialogs.h"

#include "dialog_placement.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <utility>

namespace {

// A message box that sits in the middle of the layout and always lets
// Escape and the close box answer, also when no button carries that answer
// (QMessageBox alone would then ignore both).
class CentredMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event); // fixes the box's final size
        centreDialog(*this);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->matches(QKeySequence::Cancel)) {
            reject();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }

    void closeEvent(QCloseEvent* event) override
    {
        QDialog::closeEvent(event); // rejects: the answer is the escape result
    }
};

// Qt's own chooser, the same on every desktop, centred like the boxes.
class CentredColourDialog : public QColorDialog {
public:
    CentredColourDialog()
    {
        setOption(QColorDialog::DontUseNativeDialog);
        setWindowModality(Qt::ApplicationModal);
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        QColorDialog::showEvent(event);
        centreDialog(*this);
    }
};

QMessageBox::Icon standardIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// A long file name has no space to break at, and would make the box wider
// than the screen: in a word that long, every character may end a line.
QString breakableText(const QString& text)
{
    constexpr int longestWord = 24;
    const QChar mayBreak(0x200B); // zero width space
    QString breakable;
    int wordLength = 0;
    for (const QChar character : text) {
        wordLength = character.isSpace() ? 0 : wordLength + 1;
        breakable += character;
        if (wordLength > longestWord)
            breakable += mayBreak;
    }
    return breakable;
}

// A box nobody could answer would hang the program: without buttons it gets
// an "OK" that answers like closing the box.
std::vector<MessageButton> buttonsToShow(const MessageBoxRequest& request)
{
    if (!request.buttons.empty())
        return request.buttons;
    qWarning("Message box \"%s\" has no buttons; showing OK", qPrintable(request.caption));
    return {{QStringLiteral("OK"), request.escapeResult}};
}

} // namespace

TModalResult QtDialogs::messageBox(const MessageBoxRequest& request)
{
    CentredMessageBox box;
    box.setWindowTitle(request.caption);
    box.setTextFormat(Qt::PlainText); // the texts are shown exactly as given
    box.setText(breakableText(request.text));
    box.setIcon(standardIcon(request.icon));
    box.setWindowModality(Qt::ApplicationModal);

    // Every button has the same role, so the box keeps them in the given order.
    const std::vector<MessageButton> buttons = buttonsToShow(request);
    std::vector<std::pair<QPushButton*, TModalResult>> answers;
    for (const MessageButton& button : buttons) {
        QPushButton* pushButton = box.addButton(button.caption, QMessageBox::ActionRole);
        answers.emplace_back(pushButton, button.result);
        if (button.result == request.escapeResult && !box.escapeButton())
            box.setEscapeButton(pushButton);
    }
    const int defaultIndex = request.buttons.empty() ? 0 : request.defaultButton;
    if (defaultIndex >= 0 && defaultIndex < int(answers.size()))
        box.setDefaultButton(answers[defaultIndex].first);
    else
        qWarning("Message box \"%s\" has no button %d to make the default", qPrintable(request.caption), defaultIndex);

    box.exec();
    for (const auto& [pushButton, result] : answers) {
        if (box.clickedButton() == pushButton)
            return result;
    }
    return request.escapeResult;
}

// The custom colours live in Qt's chooser for the whole process; they are
// set from the preset each time, so the caller decides what is kept.
std::optional<ColourChoice> QtDialogs::chooseColour(const ColourChoice& preset)
{
    for (int i = 0; i < QColorDialog::customCount() && i < preset.customColours.size(); ++i)
        QColorDialog::setCustomColor(i, preset.customColours[i]);
    CentredColourDialog dialog;
    dialog.setCurrentColor(preset.colour);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    ColourChoice choice{dialog.selectedColor(), {}};
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        choice.customColours.append(QColorDialog::customColor(i));
    return choice;
}
