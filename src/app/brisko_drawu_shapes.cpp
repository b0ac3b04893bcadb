// The rectangle and ellipse tools: a dotted frame follows the pointer while
// the button is down, and the shape is drawn into it at the release.
#include "band.h"
#include "brisko_drawu.h"

void TDrawForm::shapePressStep(int X, int Y)
{
    BandRect = {StartX, StartY, X, Y}; // empty: the press point itself
    Image1->Canvas().DrawFocusRect(BandRect);
    BandActive = true;
}

// Each change to BandRect lies between removing the old frame and drawing
// the new one, so BandRect always names the frame on the picture.
void TDrawForm::shapeMoveStep(TShiftState Shift, int X, int Y)
{
    TCanvas& canvas = Image1->Canvas();
    ShiftHeld = (Shift & ssShift) != 0;
    canvas.DrawFocusRect(BandRect);
    BandRect = bandRectFor(StartX, StartY, X, Y, ShiftHeld);
    canvas.DrawFocusRect(BandRect);
}

void TDrawForm::shapeReleaseStep(TMouseButton Button, int X, int Y)
{
    TCanvas& canvas = Image1->Canvas();
    canvas.DrawFocusRect(BandRect);
    canvas.Brush.Color = otherColour(Button);
    canvas.Pen.Color = buttonColour(Button);
    canvas.Pen.Width = PenSize;
    if (!RectTool && !EllipseTool)
        return; // the tool changed during the drag: the frame goes, nothing is drawn
    // The release point can only move the frame's top and left out.
    if (Y < BandRect.Top)
        BandRect.Top = Y;
    if (X < BandRect.Left)
        BandRect.Left = X;
    const auto [left, top, right, bottom] = BandRect;
    if (RectTool) {
        if (OutlineShape)
            DrawOutlineRect(canvas, left, top, right, bottom);
        else
            canvas.Rectangle(left, top, right, bottom);
    }
    if (EllipseTool) {
        if (OutlineShape)
            canvas.Arc(left, top, right, bottom, 0, 0, 0, 0); // equal points: the whole ellipse
        else
            canvas.Ellipse(left, top, right, bottom);
    }
    BandActive = false;
}

// Nested one-pixel frames, as many as the pen is wide, inside the rectangle
// from (Left, Top) to (Right, Bottom) with both corners included, except the
// pixel (Right, Bottom) itself: one-pixel lines leave out their end pixel.
// The pen stays one pixel wide afterwards.
void TDrawForm::DrawOutlineRect(TCanvas& Canvas, int Left, int Top, int Right, int Bottom)
{
    const int width = Canvas.Pen.Width;
    for (int i = 0; i < width; ++i) {
        Canvas.Pen.Width = 1;
        Canvas.MoveTo(Left + i, Top);
        Canvas.LineTo(Left + i, Bottom);
        Canvas.MoveTo(Right - i, Top);
        Canvas.LineTo(Right - i, Bottom);
        Canvas.MoveTo(Left, Top + i);
        Canvas.LineTo(Right, Top + i);
        Canvas.MoveTo(Left, Bottom - i);
        Canvas.LineTo(Right, Bottom - i);
    }
}
