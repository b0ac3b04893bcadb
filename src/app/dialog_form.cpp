#include "dialog_form.h"

#include "dialog_placement.h"

#include <QApplication>
#include <QKeyEvent>

TDialogForm::TDialogForm(QWidget* parent, Dialogs& dialogs, const QString& caption, int clientWidth, int clientHeight)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), dialogs(dialogs)
{
    setWindowTitle(caption);
    setFixedSize(clientWidth, clientHeight);
    setModal(true);
}

TModalResult TDialogForm::ShowModal()
{
    const int result = exec();
    if (sessionEnding())
        throw SessionEnding{};
    for (const TModalResult answer : {mrOk, mrCancel, mrYes, mrNo})
        if (result == answer)
            return answer;
    return closeResult; // rejected: closed by the window system
}

void TDialogForm::showEvent(QShowEvent* event)
{
    centreDialog(*this);
    QDialog::showEvent(event);
    if (OnShow)
        guarded(OnShow);
}

void TDialogForm::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

TSpeedButton* captionButton(QWidget* parent, const QRect& geometry, const QString& caption, const QFont& font)
{
    auto* button = new TSpeedButton(parent);
    button->setGeometry(geometry);
    button->setCaption(caption, font, QApplication::palette().color(QPalette::WindowText));
    return button;
}

void TDialogForm::onClick(TSpeedButton* button, std::function<void()> handler)
{
    connect(button, &QAbstractButton::clicked, this, [this, handler = std::move(handler)] { guarded(handler); });
}
