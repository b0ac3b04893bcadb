// The three dialogs share one kind of window: modal, centred on the screen,
// a title bar with only the caption, a fixed client area; their own buttons
// close them.
#pragma once

#include "controls/speed_button.h"

#include <QDialog>

class TDialogForm : public QDialog {
public:
    TDialogForm(QWidget* parent, const QString& caption, int clientWidth, int clientHeight);

    // Shows the dialog and waits until it is closed; its modal result.
    int ShowModal() { return exec(); }

protected:
    void showEvent(QShowEvent* event) override;
    // No keys are bound to the dialogs themselves: Escape closes none of them.
    void keyPressEvent(QKeyEvent* event) override;
};

// A flat button with a text caption in the window's text colour, as the
// dialogs have them.
TSpeedButton* captionButton(QWidget* parent, const QRect& geometry, const QString& caption, const QFont& font);
