// Press, drag and release on the drawing area: the steps every tool shares
// and the pen, line, spray and fill tools.
#include "brisko_drawu.h"

void TDrawForm::wireGestures()
{
    Image1->OnMouseDown = [this](TMouseButton button, TShiftState shift, int x, int y) {
        guarded([&] { Image1MouseDown(Image1, button, shift, x, y); });
    };
    Image1->OnMouseMove = [this](TShiftState shift, int x, int y) {
        guarded([&] { Image1MouseMove(Image1, shift, x, y); });
    };
    Image1->OnMouseUp = [this](TMouseButton button, TShiftState shift, int x, int y) {
        guarded([&] { Image1MouseUp(Image1, button, shift, x, y); });
    };
}

TColor TDrawForm::buttonColour(TMouseButton button) const { return button == mbLeft ? PenColor : FillColor; }

TColor TDrawForm::otherColour(TMouseButton button) const { return button == mbLeft ? FillColor : PenColor; }

// The first tool flag set decides; the pen has no test of its own.
void TDrawForm::SetToolCursor()
{
    int cursor = 2; // "Pencil"
    if (FillTool)
        cursor = 3;
    else if (RectTool)
        cursor = 4;
    else if (EllipseTool)
        cursor = 5;
    else if (SprayTool)
        cursor = 1;
    else if (LineTool)
        cursor = 7;
    Image1->setCursorNumber(cursor);
}

void TDrawForm::Image1MouseDown(QObject*, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    Drawing = true;
    StartX = X;
    StartY = Y;
    LastX = X;
    LastY = Y;
    UndoBtn->setEnabled(true);
    Image3->Assign(Image1->Picture()); // the undo snapshot, before anything is drawn
    ShiftHeld = (Shift & ssShift) != 0;
    if (RectTool || EllipseTool) {
        shapePressStep(X, Y);
        Modified = true; // shapes are work to keep, like every other tool's
        return;
    }
    TCanvas& canvas = Image1->Canvas();
    if (SprayTool) {
        platform.random.reseed();
        SprayColor = buttonColour(Button);
    }
    if (FillTool) {
        const TColor colour = canvas.GetPixel(X, Y); // read before the brush changes
        canvas.Brush.Color = buttonColour(Button);
        canvas.FloodFill(X, Y, colour, fsSurface);
    }
    if (LineTool)
        canvas.MoveTo(X, Y);
    if (PenTool) {
        canvas.MoveTo(X, Y);
        canvas.Brush.Color = otherColour(Button);
        canvas.Pen.Color = buttonColour(Button);
        canvas.Pen.Width = PenSize;
    }
    Modified = true;
}

void TDrawForm::Image1MouseMove(QObject*, TShiftState Shift, int X, int Y)
{
    SetToolCursor();
    if (!Drawing)
        return;
    if (LineTool)
        lineBandStep(X, Y);
    if (SprayTool) {
        sprayStep(X, Y);
        return;
    }
    if (RectTool || EllipseTool)
        shapeMoveStep(Shift, X, Y);
    if (PenTool)
        Image1->Canvas().LineTo(X, Y);
}

void TDrawForm::Image1MouseUp(QObject*, TMouseButton Button, TShiftState, int X, int Y)
{
    Drawing = false;
    if (LineTool) {
        // The final line covers the last band when it ends where the band did.
        TCanvas& canvas = Image1->Canvas();
        canvas.Pen.Color = buttonColour(Button);
        canvas.Pen.Width = PenSize;
        canvas.MoveTo(StartX, StartY);
        canvas.LineTo(X, Y);
    }
    if (BandActive)
        shapeReleaseStep(Button, X, Y);
}

// The band is drawn with whatever pen colour the canvas holds; drawing the
// same line again in not-xor takes it away without a copy of the picture.
void TDrawForm::lineBandStep(int X, int Y)
{
    TCanvas& canvas = Image1->Canvas();
    canvas.Pen.Width = PenSize;
    canvas.Pen.Mode = pmNotXor;
    canvas.MoveTo(StartX, StartY);
    canvas.LineTo(LastX, LastY);
    canvas.MoveTo(StartX, StartY);
    canvas.LineTo(X, Y);
    LastX = X;
    LastY = Y;
    canvas.Pen.Mode = pmCopy;
}

// PenSize dots in the square of side 2 * PenSize whose bottom-right pixel is
// the pointer; dots off the picture are dropped.
void TDrawForm::sprayStep(int X, int Y)
{
    TCanvas& canvas = Image1->Canvas();
    for (int dot = 0; dot < PenSize; ++dot) {
        const int up = platform.random.below(2 * PenSize);
        const int left = platform.random.below(2 * PenSize);
        canvas.SetPixel(X - left, Y - up, SprayColor);
    }
}
