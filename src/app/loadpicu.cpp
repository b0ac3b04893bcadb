#include "loadpicu.h"

#include "application.h"
#include "colours.h"
#include "picture_files.h"

#include <QFileInfo>

MadeOnFirstUse<TLoadPic> LoadPic;

namespace {

constexpr int previewSide = 161;
constexpr QPoint previewCorner{192, 24};

} // namespace

QRect previewRect(int width, int height)
{
    int shownWidth = width, shownHeight = height;
    if (width > previewSide || height > previewSide) {
        const double ratio = double(width) / double(height);
        if (width > height) {
            shownWidth = previewSide;
            shownHeight = int(previewSide / ratio);
            if (shownHeight > previewSide) {
                shownHeight = previewSide;
                shownWidth = int(previewSide * ratio);
            }
        } else {
            shownHeight = previewSide;
            shownWidth = int(previewSide * ratio);
            if (shownWidth > previewSide) {
                shownWidth = previewSide;
                shownHeight = int(previewSide / ratio);
            }
        }
    }
    return {(previewSide - shownWidth) / 2, (previewSide - shownHeight) / 2, shownWidth, shownHeight};
}

TLoadPic::TLoadPic(QWidget* parent, Dialogs& dialogs) : TDialogForm(parent, dialogs, "Load Picture", 373, 255)
{
    const QFont comic = pixelFont("Comic Sans MS", 19);
    Panel4 = new TPanel(this, toQColor(0xC9C992), true);
    Panel4->setGeometry(0, 0, 373, 255);
    Panel4->setFont(comic);
    FileListBox1 = new TFileListBox(Panel4);
    FileListBox1->setGeometry(12, 16, 161, 177);
    FileListBox1->setFont(comic);
    QPalette cream = FileListBox1->palette();
    cream.setColor(QPalette::Base, toQColor(clCream));
    FileListBox1->setPalette(cream);
    Shape1 = new TShape(Panel4);
    Shape1->setGeometry(184, 16, 177, 177);
    Image4 = new TImage(Panel4);
    Image4->setGeometry(QRect(previewCorner, QSize(0, 0)));
    LoadBtn = captionButton(Panel4, {12, 204, 89, 41}, "Load", comic);
    SpeedButton3 = captionButton(Panel4, {276, 204, 85, 41}, "Cancel", comic);
    previewName = new TLabel(Panel4, QString(), pixelFont("Comic Sans MS", 13), Qt::AlignHCenter);
    previewName->setGeometry(105, 204, 167, 41);
    previewName->wrapTextIntoBox();

    FileListBox1->OnClick = [this] { guarded([this] { FileListBox1Click(FileListBox1); }); };
    FileListBox1->OnDblClick = [this] { guarded([this] { FileListBox1DblClick(FileListBox1); }); };
    onClick(LoadBtn, [this] { LoadBtnClick(LoadBtn); });
    onClick(SpeedButton3, [this] { SpeedButton3Click(SpeedButton3); });
    OnShow = [this] {
        FileListBox1->setFocus(); // the arrow keys walk the list at once
        FormShow(this);
    };
    FormCreate(this);
}

void TLoadPic::FormCreate(QObject*) { FileListBox1->setMask("*.bmp"); }

void TLoadPic::FormShow(QObject*) { FileListBox1->Update(); }

// The picture is read and shrunk before the preview changes: an error
// keeps the one shown before. Only the shrunk copy is kept.
void TLoadPic::FileListBox1Click(QObject*)
{
    TPicture picture = loadPictureFile(FileListBox1->FileName());
    const QRect shown = previewRect(picture.Width(), picture.Height());
    if (shown.size() != QSize(picture.Width(), picture.Height()))
        picture = shrunkPicture(picture, shown.width(), shown.height());
    Image4->setGeometry(shown.translated(previewCorner));
    Image4->Assign(std::move(picture));
    previewName->setText(QFileInfo(FileListBox1->FileName()).fileName());
}

void TLoadPic::FileListBox1DblClick(QObject*) { LoadBtnClick(LoadBtn); }

void TLoadPic::LoadBtnClick(QObject*) { done(mrYes); }

void TLoadPic::SpeedButton3Click(QObject*) { done(mrNo); }
