// The swatches, the colour chooser behind the pen and fill swatches, and
// the pen size.
#include "brisko_drawu.h"
#include "colours.h"
#include "swatches.h"

// Palette actions act on the press itself.
void TDrawForm::wireColours()
{
    for (const Swatch& swatch : swatches)
        onMouseDown(Shape[std::size_t(swatch.number)], &TDrawForm::ShapeMouseDown);
    onMouseDown(FG, &TDrawForm::FGMouseDown);
    onMouseDown(Label3, &TDrawForm::FGMouseDown);
    onMouseDown(BG, &TDrawForm::BGMouseDown);
    onMouseDown(Label2, &TDrawForm::BGMouseDown);
    onClick(SpeedButton4, &TDrawForm::SpeedButton4Click);
    onClick(SpeedButton9, &TDrawForm::SpeedButton9Click);
}

TColor TDrawForm::swatchColour(QObject* swatch) const
{
    for (const Swatch& entry : swatches)
        if (Shape[std::size_t(entry.number)] == swatch)
            return entry.colour;
    return clBlack;
}

// All twenty swatches share this handler; each has its colour in the table.
// The right button sets the fill colour, any other the pen colour.
void TDrawForm::ShapeMouseDown(QObject* Sender, TMouseButton Button, TShiftState, int, int)
{
    const TColor colour = swatchColour(Sender);
    if (Button == mbRight) {
        FillColor = colour;
        BG->setBrushColour(toQColor(colour));
    } else {
        PenColor = colour;
        FG->setBrushColour(toQColor(colour));
        pensizeBtn->setCaptionColour(toQColor(PenColor));
    }
    UpdateColorLabels();
}

void TDrawForm::FGMouseDown(QObject*, TMouseButton, TShiftState, int, int)
{
    if (!ColorDialog1.Execute(platform.dialogs))
        return;
    FG->setBrushColour(ColorDialog1.Color);
    PenColor = toTColor(FG->brushColour());
    pensizeBtn->setCaptionColour(toQColor(PenColor));
    UpdateColorLabels();
}

void TDrawForm::BGMouseDown(QObject*, TMouseButton, TShiftState, int, int)
{
    if (!ColorDialog1.Execute(platform.dialogs))
        return;
    BG->setBrushColour(ColorDialog1.Color);
    FillColor = toTColor(BG->brushColour());
    UpdateColorLabels();
}

void TDrawForm::SpeedButton4Click(QObject*)
{
    if (PenSize < 20)
        ++PenSize;
    showPenSize();
}

void TDrawForm::SpeedButton9Click(QObject*)
{
    if (PenSize > 2)
        --PenSize;
    showPenSize();
}

// The display's number is three times the pen width: its size in points.
void TDrawForm::showPenSize()
{
    Image1->setCursorNumber(0); // the arrow, until the next move over the picture
    pensizeBtn->setCaptionPointSize(PenSize * 3);
    pensizeBtn->setHint(QString("Pen size - %1").arg(PenSize * 3));
}
