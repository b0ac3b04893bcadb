// The save picture dialog: asks for a name and writes the main window's
// picture to a new bitmap file of that name.
#pragma once

#include "controls/edit.h"
#include "controls/label.h"
#include "controls/speed_button.h"
#include "dialog_form.h"
#include "made_on_first_use.h"

class TSaveBox : public TDialogForm {
public:
    // Its notices and errors are shown through the dialogs given.
    TSaveBox(QWidget* parent, Dialogs& dialogs);

    TLabel* Label1;
    TEdit* Edit1; // the name
    TSpeedButton* SaveBtn;
    TSpeedButton* SpeedButton2; // Cancel

    void FormShow(QObject* Sender);
    void Edit1KeyPress(QObject* Sender, QChar& Key);
    void SaveBtnClick(QObject* Sender);
    void SpeedButton2Click(QObject* Sender);

private:
    void refuseTakenName();
};

extern MadeOnFirstUse<TSaveBox> SaveBox;
