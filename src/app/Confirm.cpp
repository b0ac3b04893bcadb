#include "Confirm.h"

#include "application.h"
#include "colours.h"

MadeOnFirstUse<TConfirmBox> ConfirmBox;

TConfirmBox::TConfirmBox(QWidget* parent, Dialogs& dialogs) : TDialogForm(parent, dialogs, "Print", 370, 113)
{
    closeResult = mrNo; // only Yes prints
    QPalette desktop = palette();
    desktop.setColor(QPalette::Window, toQColor(clBackground));
    setPalette(desktop);
    setAutoFillBackground(true);

    Label1 = new TLabel(this, "Print your picture (Y/N)?", pixelFont("Comic Sans MS", 24, true),
                        Qt::AlignHCenter | Qt::AlignTop);
    Label1->setGeometry(16, 16, 337, 45);
    Label1->setTextColour(toQColor(clCream));
    Label1->fitTextToBox();
    const QFont buttonFont = pixelFont("Comic Sans MS", 21);
    SpeedButton1 = captionButton(this, {8, 64, 89, 41}, "Yes", buttonFont);
    SpeedButton2 = captionButton(this, {272, 64, 89, 41}, "No", buttonFont);
    for (TSpeedButton* button : {SpeedButton1, SpeedButton2})
        button->setCaptionColour(toQColor(clCream));

    onClick(SpeedButton1, [this] { SpeedButton1Click(SpeedButton1); });
    onClick(SpeedButton2, [this] { SpeedButton2Click(SpeedButton2); });
}

void TConfirmBox::SpeedButton1Click(QObject*) { done(mrYes); }

void TConfirmBox::SpeedButton2Click(QObject*) { done(mrNo); }
