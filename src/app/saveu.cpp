#include "saveu.h"

#include "application.h"
#include "brisko_drawu.h"
#include "colours.h"
#include "picture_files.h"
#include "picture_names.h"

#include <QCoreApplication>
#include <QFile>

#include <limits>

MadeOnFirstUse<TSaveBox> SaveBox;

TSaveBox::TSaveBox(QWidget* parent, Dialogs& dialogs) : TDialogForm(parent, dialogs, "Save Picture", 369, 136)
{
    setFont(pixelFont("MS Sans Serif", 11));
    QPalette cream = palette();
    cream.setColor(QPalette::Window, toQColor(clCream));
    setPalette(cream);
    setAutoFillBackground(true);

    Label1 = new TLabel(this, "Save your picture as:", pixelFont("Comic Sans MS", 16), Qt::AlignLeft);
    Label1->setGeometry(12, 12, 156, 23);
    Label1->fitTextToBox();
    Edit1 = new TEdit(this);
    Edit1->setGeometry(12, 44, 345, 37);
    Edit1->setFont(pixelFont("Comic Sans MS", 21));
    Edit1->setMaxLength(std::numeric_limits<int>::max());
    SaveBtn = captionButton(this, {12, 84, 89, 41}, "Save", pixelFont("Comic Sans MS", 16));
    SpeedButton2 = captionButton(this, {268, 88, 89, 41}, "Cancel", pixelFont("Comic Sans MS", 16));

    onClick(SaveBtn, [this] { SaveBtnClick(SaveBtn); });
    onClick(SpeedButton2, [this] { SpeedButton2Click(SpeedButton2); });
    Edit1->OnKeyPress = [this](QChar& key) { guarded([&] { Edit1KeyPress(Edit1, key); }); };
    OnShow = [this] {
        Edit1->setFocus(); // typing goes into the name at once
        FormShow(this);
    };
}

void TSaveBox::FormShow(QObject*) { Edit1->clear(); }

void TSaveBox::Edit1KeyPress(QObject*, QChar& Key)
{
    if (Key == QChar(13))
        SaveBtnClick(Edit1);
}

void TSaveBox::SaveBtnClick(QObject*)
{
    const QString typed = Edit1->text();
    const QString named =
        pictureNameFor(typed, [](const QString& name) { return nameTaken(QFile::encodeName(name).toStdString()); });
    if (named != typed)
        Edit1->setText(named);
    const QString fileName = Edit1->text();
    if (fileExists(fileName)) {
        refuseTakenName();
        return;
    }
    // The first save turns the picture into 8 bits per pixel for the rest of
    // the run, on the screen too; the file holds exactly what is shown.
    TImage& image = *DrawForm->Image1;
    if (image.Picture().bitsPerPixel() != 8)
        image.Assign(toHalftone(image.Picture()));
    if (writeNewFile(fileName, encodeBitmap(image.Picture())) == NewFileResult::NameTaken) {
        refuseTakenName(); // it appeared after the test: never written over
        return;
    }
    DrawForm->Modified = false;
    done(mrOk);
}

void TSaveBox::SpeedButton2Click(QObject*) { done(mrCancel); }

void TSaveBox::refuseTakenName()
{
    dialogs.messageBox(noticeBox("Filename exists, save under another name",
                                 applicationTitle(QCoreApplication::applicationFilePath())));
    Edit1->selectAll();
    Edit1->setFocus();
}
