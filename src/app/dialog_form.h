// The three dialogs share one kind of window: modal, centred on the screen,
// a title bar with only the caption, a fixed client area.
#pragma once

#include <QDialog>

class TDialogForm : public QDialog {
public:
    TDialogForm(QWidget* parent, const QString& caption, int clientWidth, int clientHeight);

protected:
    void showEvent(QShowEvent* event) override;
};
