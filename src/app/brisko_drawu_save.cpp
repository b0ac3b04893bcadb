// The main window's side of saving: opening the save dialog, and keeping
// the picture when the session ends before it was saved.
#include "brisko_drawu.h"
#include "picture_files.h"
#include "save_name.h"
#include "saveu.h"

void TDrawForm::wireSave() { onClick(SaveBtn, &TDrawForm::SaveBtnClick); }

// The dialog does the whole save; whether it wrote a file shows in Modified.
void TDrawForm::SaveBtnClick(QObject*) { SaveBox->ShowModal(); }

void TDrawForm::keepUnsavedPicture()
{
    if (!Modified)
        return;
    try {
        const std::vector<std::uint8_t> file = EncodeBitmap(ToHalftone(Image1->Picture()));
        const QDateTime now = QDateTime::currentDateTime();
        for (int attempt = 1; attempt <= 1000; ++attempt) {
            if (writeNewFile(unsavedPictureName(now, attempt), file) == NewFileResult::Written)
                return;
        }
    } catch (const std::exception&) {
        // The session is ending: nobody would see an error box, and the
        // program must end all the same.
    }
}
