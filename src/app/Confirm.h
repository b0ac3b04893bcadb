// The print confirmation dialog.
#pragma once

#include "dialog_form.h"

class TConfirmBox : public TDialogForm {
public:
    TConfirmBox(QWidget* parent, Dialogs& dialogs);
};

extern TConfirmBox* ConfirmBox;
