// The load picture dialog.
#pragma once

#include "dialog_form.h"

class TLoadPic : public TDialogForm {
public:
    explicit TLoadPic(QWidget* parent);
};

extern TLoadPic* LoadPic;
