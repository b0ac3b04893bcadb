// The main window's side of loading: a picture file drawn unscaled and
// centred onto a new picture.
#include "brisko_drawu.h"
#include "loadpicu.h"
#include "picture_files.h"

void TDrawForm::wireLoad() { onClick(SpeedButton2, &TDrawForm::SpeedButton2Click); }

// The file is read before anything changes: a file that cannot be loaded
// (none picked, unreadable, broken) leaves the picture as it was, and so
// does keeping unsaved work at "Save Changes?".
void TDrawForm::SpeedButton2Click(QObject*)
{
    if (LoadPic->ShowModal() != mrYes)
        return;
    TPicture loaded = loadPictureFile(LoadPic->FileListBox1->FileName());
    if (!startNewPicture())
        return;
    Image3->Assign(std::move(loaded));
    // Integer division truncates toward zero, also for a picture larger
    // than the drawing area: an 800 x 600 file lands at (-39, -55).
    const int x = (Image1->Picture().Width() - Image3->Picture().Width()) / 2;
    const int y = (Image1->Picture().Height() - Image3->Picture().Height()) / 2;
    Image1->Canvas().Draw(x, y, Image3->Picture());
    Image3->setGeometry(Image1->geometry());
}
