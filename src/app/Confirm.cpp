#include "Confirm.h"

TConfirmBox* ConfirmBox = nullptr;

TConfirmBox::TConfirmBox(QWidget* parent, Dialogs& dialogs) : TDialogForm(parent, dialogs, "Print", 370, 113) {}
