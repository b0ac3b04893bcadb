// The main window's side of saving: opening the save dialog, and keeping
// unsaved work on the disk, while the program runs and when the session
// ends before it was saved.
#include "brisko_drawu.h"
#include "saveu.h"

#include <cstring>

namespace {

bool samePixels(const TPicture& one, const TPicture& other)
{
    if (one.Width() != other.Width() || one.Height() != other.Height() || one.bitsPerPixel() != other.bitsPerPixel()
        || one.isEmpty())
        return false;
    if (one.bitsPerPixel() == 8 && one.colourTable() != other.colourTable())
        return false;
    return std::memcmp(one.row(0), other.row(0), std::size_t(one.stride()) * std::size_t(one.Height())) == 0;
}

} // namespace

void TDrawForm::wireSave()
{
    onClick(SaveBtn, &TDrawForm::SaveBtnClick);
    recoveryTimer.callOnTimeout(this, [this] { guarded([this] { keepRecoveryCopy(); }); });
    recoveryTimer.start(1000);
}

// The dialog does the whole save; whether it wrote a file shows in Modified.
void TDrawForm::SaveBtnClick(QObject*)
{
    SaveBox->ShowModal();
    keepRecoveryCopy();
}

void TDrawForm::keepRecoveryCopy()
{
    if (!Modified) {
        if (!recovered.isEmpty())
            recovery.discard();
        recovered = TPicture();
        return;
    }
    // The snapshot taken at the press: never half a stroke or a rubber band.
    const TPicture& settled = Drawing ? Image3->Picture() : Image1->Picture();
    if (samePixels(settled, recovered))
        return;
    recovered = settled;
    recovery.keep(recovered);
}

void TDrawForm::keepUnsavedPicture(std::time_t now)
{
    if (!Modified) {
        recovery.end(true);
        return;
    }
    // A rubber band or a shape's frame is not part of the picture: mid-drag,
    // the picture is what the press found.
    const bool bandShown = Drawing && (LineTool || RectTool || EllipseTool);
    const TPicture& picture = bandShown ? Image3->Picture() : Image1->Picture();
    std::tm localTime{};
    localtime_r(&now, &localTime);
    bool kept = false;
    try {
        kept = keepUnsavedWork(encodeBitmap(toHalftone(picture)), localTime);
    } catch (const std::bad_alloc&) {
        // The session is ending: nobody would see an error box, and the
        // program must end all the same.
    }
    // Where the picture could be kept nowhere, the recovery copy stays for
    // the next start.
    recovery.end(kept);
}
