#include "colour_dialog.h"

bool TColorDialog::Execute(Dialogs& dialogs)
{
    const auto choice = dialogs.chooseColour({Color, CustomColors});
    if (!choice)
        return false;
    Color = choice->colour;
    CustomColors = choice->customColours;
    return true;
}
