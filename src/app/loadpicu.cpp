#include "loadpicu.h"

TLoadPic* LoadPic = nullptr;

TLoadPic::TLoadPic(QWidget* parent) : TDialogForm(parent, "Load Picture", 373, 255) {}
