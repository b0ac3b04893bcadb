// The main window's side of saving: opening the save dialog, and keeping
// the picture when the session ends before it was saved.
#include "brisko_drawu.h"
#include "picture_files.h"
#include "picture_names.h"
#include "saveu.h"

void TDrawForm::wireSave() { onClick(SaveBtn, &TDrawForm::SaveBtnClick); }

// The dialog does the whole save; whether it wrote a file shows in Modified.
void TDrawForm::SaveBtnClick(QObject*) { SaveBox->ShowModal(); }

void TDrawForm::keepUnsavedPicture(std::time_t now)
{
    if (!Modified)
        return;
    // A rubber band or a shape's frame is not part of the picture: mid-drag,
    // the picture is what the press found.
    const bool bandShown = Drawing && (LineTool || RectTool || EllipseTool);
    const TPicture& picture = bandShown ? Image3->Picture() : Image1->Picture();
    std::tm localTime{};
    localtime_r(&now, &localTime);
    try {
        const std::vector<std::uint8_t> file = encodeBitmap(toHalftone(picture));
        KeepResult result = KeepResult::NameTaken;
        for (int attempt = 1; attempt <= 1000 && result == KeepResult::NameTaken; ++attempt)
            result = keepInNewFile(unsavedPictureName(localTime, attempt), file);
    } catch (const std::bad_alloc&) {
        // The session is ending: nobody would see an error box, and the
        // program must end all the same.
    }
}
