// The save picture dialog.
#pragma once

#include "dialog_form.h"

class TSaveBox : public TDialogForm {
public:
    explicit TSaveBox(QWidget* parent);
};

extern TSaveBox* SaveBox;
