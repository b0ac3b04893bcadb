// The print confirmation dialog.
#pragma once

#include "dialog_form.h"

class TConfirmBox : public TDialogForm {
public:
    explicit TConfirmBox(QWidget* parent);
};

extern TConfirmBox* ConfirmBox;
