// Undo, New Picture, and the question asked before unsaved work goes: on
// New Picture and on every close request.
#include "brisko_drawu.h"

#include <QCloseEvent>

namespace {

MessageBoxRequest saveChangesQuestion()
{
    MessageBoxRequest request;
    request.text = "Save Changes?";
    request.caption = "Confirm";
    request.icon = MessageIcon::Question;
    request.buttons = {{"&Yes", mrYes}, {"&No", mrNo}, {"Cancel", mrCancel}};
    request.defaultButton = 0;
    request.escapeResult = mrCancel;
    return request;
}

} // namespace

void TDrawForm::wireUndo()
{
    onClick(UndoBtn, &TDrawForm::UndoBtnClick);
    onClick(NewBtn, &TDrawForm::NewBtnClick);
}

void TDrawForm::UndoBtnClick(QObject*)
{
    Image1->Canvas().Draw(0, 0, Image3->Picture()); // the snapshot has the picture's size: every pixel goes back
    UndoBtn->setEnabled(false);
}

bool TDrawForm::mayDiscardChanges()
{
    if (!Modified)
        return true;
    switch (platform.dialogs.messageBox(saveChangesQuestion())) {
    case mrYes:
        SaveBtnClick(this);
        // Only a picture that reached its file may go: a save the child
        // cancelled, or one that was refused or failed, keeps the picture.
        return !Modified;
    case mrNo:
        return true;
    default:
        return false;
    }
}

void TDrawForm::NewBtnClick(QObject*) { startNewPicture(); }

bool TDrawForm::startNewPicture()
{
    if (!mayDiscardChanges())
        return false;
    Modified = false;
    TCanvas& canvas = Image1->Canvas();
    canvas.Brush.Color = clWhite; // stays white until a gesture sets it
    canvas.FillRect({0, 0, Image1->width(), Image1->height()});
    Image3->Assign(Image1->Picture());
    Edit1->clear();
    UndoBtn->setEnabled(false);
    keepRecoveryCopy(); // the work is saved or given up: its copy goes
    return true;
}

void TDrawForm::FormClose(QObject*, TCloseAction& Action)
{
    if (!mayDiscardChanges())
        Action = caNone;
}

void TDrawForm::closeEvent(QCloseEvent* event)
{
    TCloseAction action = caHide;
    bool asked = false; // an error on the way keeps the window, and the work, open
    guarded([&] {
        FormClose(this, action);
        asked = true;
    });
    if (!asked || action == caNone)
        event->ignore();
    else
        event->accept();
}
