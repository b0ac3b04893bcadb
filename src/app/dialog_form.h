// The three dialogs share one kind of window: modal, centred over the layout,
// a title bar with only the caption, a fixed client area; their own buttons
// close them.
#pragma once

#include "application.h"
#include "controls/speed_button.h"
#include "dialogs.h"

#include <QDialog>

#include <functional>
#include <utility>

class TDialogForm : public QDialog {
public:
    // Errors in its handlers are shown through the dialogs given.
    TDialogForm(QWidget* parent, Dialogs& dialogs, const QString& caption, int clientWidth, int clientHeight);

    // Shows the dialog and waits until it is closed: the answer of its own
    // buttons, or closeResult when it was closed through the window system.
    // Throws SessionEnding when the session ended meanwhile.
    TModalResult ShowModal();

    // Run, through the error guard, each time the dialog is shown, once it is centred.
    std::function<void()> OnShow;

protected:
    // Every handler of a dialog is entered through the application's error guard.
    template <typename Handler>
    void guarded(Handler&& handler)
    {
        runGuarded(dialogs, std::forward<Handler>(handler));
    }
    void onClick(TSpeedButton* button, std::function<void()> handler);

    void showEvent(QShowEvent* event) override;
    // What closing the dialog through the window system answers.
    TModalResult closeResult = mrCancel;
    // No keys are bound to the dialogs themselves: Escape closes none of them.
    void keyPressEvent(QKeyEvent* event) override;

    Dialogs& dialogs;
};

// A flat button with a text caption in the window's text colour, as the
// dialogs have them.
TSpeedButton* captionButton(QWidget* parent, const QRect& geometry, const QString& caption, const QFont& font);
