#include "saveu.h"

TSaveBox* SaveBox = nullptr;

TSaveBox::TSaveBox(QWidget* parent) : TDialogForm(parent, "Save Picture", 369, 136) {}
