// Choosing the tool, the colours and the pen size.
#include "application.h"
#include "brisko_drawu.h"
#include "colours.h"
#include "swatches.h"

void TDrawForm::ResetTools()
{
    LineTool = false;
    PenTool = false;
    RectTool = false;
    EllipseTool = false;
    OutlineShape = false;
    SprayTool = false;
    FillTool = false;
}

void TDrawForm::SpeedButton8Click(QObject*)
{
    ResetTools();
    RectTool = true;
}

void TDrawForm::SpeedButton11Click(QObject*)
{
    ResetTools();
    EllipseTool = true;
}

void TDrawForm::SpeedButton12Click(QObject*)
{
    ResetTools();
    OutlineShape = true;
    RectTool = true;
}

void TDrawForm::SpeedButton13Click(QObject*)
{
    ResetTools();
    OutlineShape = true;
    EllipseTool = true;
}

void TDrawForm::SpeedButton5Click(QObject*)
{
    ResetTools();
    PenTool = true;
}

void TDrawForm::LineBtnClick(QObject*)
{
    ResetTools();
    LineTool = true;
}

void TDrawForm::SpeedButton6Click(QObject*)
{
    ResetTools();
    FillTool = true;
}

void TDrawForm::SprayBtnClick(QObject*)
{
    ResetTools();
    SprayTool = true;
}

void TDrawForm::pensizeBtnClick(QObject*)
{
    ResetTools();
    PenTool = true;
}

TColor TDrawForm::swatchColour(QObject* swatch) const
{
    for (const Swatch& entry : Swatches)
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
        BG->setBrushColor(toQColor(colour));
    } else {
        PenColor = colour;
        FG->setBrushColor(toQColor(colour));
        pensizeBtn->setCaptionColor(toQColor(PenColor));
    }
    UpdateColorLabels();
}

void TDrawForm::FGMouseDown(QObject*, TMouseButton, TShiftState, int, int)
{
    if (!ColorDialog1.Execute(platform.dialogs))
        return;
    FG->setBrushColor(ColorDialog1.Color);
    PenColor = toTColor(FG->brushColor());
    pensizeBtn->setCaptionColor(toQColor(PenColor));
    UpdateColorLabels();
}

void TDrawForm::BGMouseDown(QObject*, TMouseButton, TShiftState, int, int)
{
    if (!ColorDialog1.Execute(platform.dialogs))
        return;
    BG->setBrushColor(ColorDialog1.Color);
    FillColor = toTColor(BG->brushColor());
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
