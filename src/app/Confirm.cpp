#include "Confirm.h"

TConfirmBox* ConfirmBox = nullptr;

TConfirmBox::TConfirmBox(QWidget* parent) : TDialogForm(parent, "Print", 370, 113) {}
