// The load picture dialog: the bitmap files of the folder Scribbo started
// in, a preview of the one picked, and Load or Cancel.
#pragma once

#include "controls/file_list_box.h"
#include "controls/image.h"
#include "controls/label.h"
#include "controls/panel.h"
#include "controls/shape.h"
#include "controls/speed_button.h"
#include "dialog_form.h"
#include "made_on_first_use.h"

#include <QRect>

// Where a picture of width x height shows in the 161 x 161 preview: at its
// own size when it fits, else shrunk to fit with its proportions kept
// (whole pixels, rounded down); centred either way.
QRect previewRect(int width, int height);

class TLoadPic : public TDialogForm {
public:
    // Its errors are shown through the dialogs given.
    TLoadPic(QWidget* parent, Dialogs& dialogs);

    TPanel* Panel4;
    TFileListBox* FileListBox1;
    TShape* Shape1; // the preview's frame
    TImage* Image4; // the preview
    TSpeedButton* LoadBtn;
    TSpeedButton* SpeedButton3; // Cancel
    // The whole name of the picture previewed, which the list may have to cut.
    TLabel* previewName;

    void FormCreate(QObject* Sender);
    void FormShow(QObject* Sender);
    void FileListBox1Click(QObject* Sender);
    void FileListBox1DblClick(QObject* Sender);
    void LoadBtnClick(QObject* Sender);
    void SpeedButton3Click(QObject* Sender);
};

extern MadeOnFirstUse<TLoadPic> LoadPic;
