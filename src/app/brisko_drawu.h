// The main window: its layout, its state and its event handlers, one file
// for each part of the program's behaviour, named in the sections below.
#pragma once

#include "application.h"
#include "colour_dialog.h"
#include "controls/bevel.h"
#include "controls/image.h"
#include "controls/label.h"
#include "controls/panel.h"
#include "controls/shape.h"
#include "controls/speed_button.h"
#include "platform.h"
#include "surface.h"

#include <QLineEdit>
#include <QScreen>

#include <algorithm>
#include <array>
#include <ctime>

// The size of the layout, and of the display mode it is made for.
inline constexpr int layoutWidth = 800;
inline constexpr int layoutHeight = 600;

// The scale at which the layout fills a screen of that size as far as it
// can without leaving it: never below 1, so on an 800 x 600 screen (or a
// smaller one) it is drawn as designed.
inline double layoutScale(int screenWidth, int screenHeight)
{
    return std::max(1.0, std::min(double(screenWidth) / layoutWidth, double(screenHeight) / layoutHeight));
}

// What a close request goes on to do; FormClose may turn it to caNone.
enum TCloseAction { caNone, caHide };

class TDrawForm : public QWidget {
public:
    // Runs FormCreate once the controls exist, before the window is shown.
    explicit TDrawForm(Platform& platform, QWidget* parent = nullptr);
    // Runs FormDestroy.
    ~TDrawForm() override;

    // Fills the primary screen, with or without a window manager, and keeps
    // filling it when the screen's size changes, the layout drawn at the
    // largest scale that fits (brisko_drawu_layout.cpp).
    void showOnPrimaryScreen();
    // Where the layout is on the screen, in global coordinates: the
    // dialogs are centred over it.
    QRect layoutArea() const;

    // Controls on the window (created in brisko_drawu_layout.cpp)
    TImage* Image1; // the drawing area
    TImage* Image3; // hidden: the undo snapshot, and after a load the loaded file's own picture
    TPanel* Panel1; // the left column
    TPanel* Panel2; // the top bar
    TPanel* Panel3; // the tool bar
    // Panel2
    TSpeedButton* NewBtn;
    TSpeedButton* SpeedButton2; // Load Picture
    TSpeedButton* SaveBtn;
    TSpeedButton* printbtn;
    TSpeedButton* UndoBtn;
    TSpeedButton* SpeedButton1; // close
    // Panel3
    TSpeedButton* SpeedButton8;  // Filled Rectangle
    TSpeedButton* SpeedButton11; // Filled Elipse
    TSpeedButton* SpeedButton12; // Rectangle
    TSpeedButton* SpeedButton13; // Elipse
    TSpeedButton* SpeedButton5;  // Pen
    TSpeedButton* LineBtn;
    TSpeedButton* SpeedButton6; // Fill
    TSpeedButton* SprayBtn;
    TLabel* Label5;
    QLineEdit* Edit1;           // the title
    TSpeedButton* SpeedButton7; // help
    // Panel1
    std::array<TShape*, 22> Shape{}; // the swatches Shape[2] to Shape[21]
    TBevel* Bevel1;
    TLabel* Label4;
    TShape* buttonBG;
    TSpeedButton* pensizeBtn;
    TSpeedButton* SpeedButton4; // Bigger Pen
    TSpeedButton* SpeedButton9; // Smaller Pen
    TBevel* Bevel2;
    TShape* FG;
    TLabel* Label3;
    TShape* BG;
    TLabel* Label2;
    TColorDialog ColorDialog1;

    // State, read and written by every part of the program (and its dialogs)
    bool Modified = false;
    int OldScreenWidth = 0;
    int OldScreenHeight = 0;
    int OldBitsPerPixel = 0;
    bool SprayTool = false;
    bool LineTool = false;
    bool ShiftHeld = false;
    bool Drawing = false;
    bool FillTool = false;
    bool PenTool = false;
    bool EllipseTool = false;
    bool RectTool = false;
    bool OutlineShape = false;
    bool BandActive = false;
    TColor SprayColor = 0;
    TColor FillColor = 0;
    TColor PenColor = 0;
    int PenSize = 0;
    int StartX = 0, StartY = 0;
    int LastX = 0, LastY = 0;
    TRect BandRect;

    // Start-up, shutdown, the close and help buttons (brisko_drawu.cpp)
    void FormCreate(QObject* Sender);
    void FormDestroy(QObject* Sender);
    void SetDisplayMode(int Width, int Height, int BitsPerPixel);
    void UpdateColorLabels();
    void SpeedButton1Click(QObject* Sender);
    void SpeedButton7Click(QObject* Sender);

    // Tools (brisko_drawu_tools.cpp)
    void ResetTools();
    void SpeedButton8Click(QObject* Sender);
    void SpeedButton11Click(QObject* Sender);
    void SpeedButton12Click(QObject* Sender);
    void SpeedButton13Click(QObject* Sender);
    void SpeedButton5Click(QObject* Sender);
    void LineBtnClick(QObject* Sender);
    void SpeedButton6Click(QObject* Sender);
    void SprayBtnClick(QObject* Sender);
    void pensizeBtnClick(QObject* Sender);

    // Gestures on the drawing area: pen, line, spray and fill (brisko_drawu_gestures.cpp)
    void SetToolCursor();
    void Image1MouseDown(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Image1MouseMove(QObject* Sender, TShiftState Shift, int X, int Y);
    void Image1MouseUp(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

    // Rectangles and ellipses (brisko_drawu_shapes.cpp)
    void DrawOutlineRect(TCanvas& Canvas, int Left, int Top, int Right, int Bottom);

    // Colours and pen size (brisko_drawu_colours.cpp)
    // Shape2MouseDown to Shape21MouseDown are one handler: the swatch is the sender.
    void ShapeMouseDown(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void FGMouseDown(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void BGMouseDown(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void SpeedButton4Click(QObject* Sender);
    void SpeedButton9Click(QObject* Sender);

    // Undo, New Picture and the question before work is thrown away (brisko_drawu_undo.cpp)
    void UndoBtnClick(QObject* Sender);
    void NewBtnClick(QObject* Sender);
    // Every close request, the close button's and the window system's.
    void FormClose(QObject* Sender, TCloseAction& Action);

    // Loading (brisko_drawu_load.cpp)
    void SpeedButton2Click(QObject* Sender);

    // Saving (brisko_drawu_save.cpp)
    void SaveBtnClick(QObject* Sender);
    // When the session ends with work not saved: writes the picture, without
    // a question, to a new "Unsaved picture <date> <time>.bmp" (the local
    // time of now) in the current directory. Nobody is there to be told of a
    // failure. Uses nothing of Qt, so an exit handler may call it.
    void keepUnsavedPicture(std::time_t now);

    // Printing (brisko_drawu_print.cpp)
    void printbtnClick(QObject* Sender);
    // The whole bitmap stretched over the rectangle (right and bottom
    // exclusive), handed to the printer at its own size and in its own format.
    void StretchBitmapToCanvas(Printer& Canvas, const TRect& Rect, const TPicture& Bitmap);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    using ClickHandler = void (TDrawForm::*)(QObject*);
    using MouseDownHandler = void (TDrawForm::*)(QObject*, TMouseButton, TShiftState, int, int);

    // Every handler is entered through the application's error guard; each
    // file wires the events of the controls it serves (brisko_drawu.cpp).
    template <typename Handler>
    void guarded(Handler&& handler)
    {
        runGuarded(platform.dialogs, std::forward<Handler>(handler));
    }
    void onClick(TSpeedButton* button, ClickHandler handler);
    template <typename Control>
    void onMouseDown(Control* control, MouseDownHandler handler)
    {
        control->OnMouseDown = [this, control, handler](TMouseButton button, TShiftState shift, int x, int y) {
            guarded([&] { (this->*handler)(control, button, shift, x, y); });
        };
    }
    void wireStartup();

    // Layout (brisko_drawu_layout.cpp)
    void createControls();
    // Whether the scale changed.
    bool fitLayoutTo(QScreen& screen);
    double shownScale = 1;
    void createTopBar();
    void createToolBar();
    void createPalette();

    // Tools
    void wireTools();

    // Gestures
    void wireGestures();
    TColor buttonColour(TMouseButton button) const;
    TColor otherColour(TMouseButton button) const;
    void lineBandStep(int X, int Y);
    void sprayStep(int X, int Y);

    // Shapes
    void shapePressStep(int X, int Y);
    void shapeMoveStep(TShiftState Shift, int X, int Y);
    void shapeReleaseStep(TMouseButton Button, int X, int Y);

    // Undo and New Picture
    void wireUndo();
    // Asks "Save Changes?" while the picture holds unsaved work; whether the
    // work may now be thrown away.
    bool mayDiscardChanges();
    // New Picture; whether it went on (not when the work was kept).
    bool startNewPicture();

    // Loading
    void wireLoad();

    // Saving
    void wireSave();

    // Printing
    void wirePrint();

    // Colours and pen size
    void wireColours();
    TColor swatchColour(QObject* swatch) const;
    void showPenSize();

    Platform& platform;
};

extern TDrawForm* DrawForm;
