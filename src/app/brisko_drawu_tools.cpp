// Choosing the tool: one flag per tool, set by the tool bar's buttons and
// the pen-size display.
#include "brisko_drawu.h"

void TDrawForm::wireTools()
{
    onClick(SpeedButton8, &TDrawForm::SpeedButton8Click);
    onClick(SpeedButton11, &TDrawForm::SpeedButton11Click);
    onClick(SpeedButton12, &TDrawForm::SpeedButton12Click);
    onClick(SpeedButton13, &TDrawForm::SpeedButton13Click);
    onClick(SpeedButton5, &TDrawForm::SpeedButton5Click);
    onClick(LineBtn, &TDrawForm::LineBtnClick);
    onClick(SpeedButton6, &TDrawForm::SpeedButton6Click);
    onClick(SprayBtn, &TDrawForm::SprayBtnClick);
    onClick(pensizeBtn, &TDrawForm::pensizeBtnClick);
}

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
