// The print confirmation dialog, answered with the mouse alone.
#pragma once

#include "controls/label.h"
#include "controls/speed_button.h"
#include "dialog_form.h"
#include "made_on_first_use.h"

class TConfirmBox : public TDialogForm {
public:
    TConfirmBox(QWidget* parent, Dialogs& dialogs);

    TLabel* Label1;
    TSpeedButton* SpeedButton1; // Yes
    TSpeedButton* SpeedButton2; // No

    void SpeedButton1Click(QObject* Sender);
    void SpeedButton2Click(QObject* Sender);
};

extern MadeOnFirstUse<TConfirmBox> ConfirmBox;
