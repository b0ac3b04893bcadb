#include "dialog_form.h"

#include <QGuiApplication>
#include <QScreen>

TDialogForm::TDialogForm(QWidget* parent, const QString& caption, int clientWidth, int clientHeight)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(caption);
    setFixedSize(clientWidth, clientHeight);
    setModal(true);
}

void TDialogForm::showEvent(QShowEvent* event)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.center() - rect().center());
    QDialog::showEvent(event);
}
