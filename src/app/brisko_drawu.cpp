#include "brisko_drawu.h"

#include "colours.h"
#include "controls/cursors.h"
#include "jpeg.h"

#include <QFile>
#include <QFileInfo>

TDrawForm* DrawForm = nullptr;

TDrawForm::TDrawForm(Platform& platform, QWidget* parent) : QWidget(parent), platform(platform)
{
    createControls();
    wireStartup();
    wireTools();
    wireGestures();
    wireColours();
    wireUndo();
    wireLoad();
    wireSave();
    wirePrint();
    FormCreate(this);
}

TDrawForm::~TDrawForm() { FormDestroy(this); }

void TDrawForm::onClick(TSpeedButton* button, ClickHandler handler)
{
    connect(button, &QAbstractButton::clicked, this,
            [this, button, handler] { guarded([&] { (this->*handler)(button); }); });
}

void TDrawForm::wireStartup()
{
    onClick(SpeedButton1, &TDrawForm::SpeedButton1Click);
    onClick(SpeedButton7, &TDrawForm::SpeedButton7Click);
}

void TDrawForm::FormCreate(QObject*)
{
    OldScreenWidth = platform.display.screenWidth();
    OldScreenHeight = platform.display.screenHeight();
    winId(); // the window's handle exists before the display's depth is read
    OldBitsPerPixel = platform.display.bitsPerPixel();

    // The blank picture: a white JPEG carried by the program, decoded once.
    QFile blank(":/blank.jpg");
    blank.open(QIODevice::ReadOnly);
    const QByteArray jpeg = blank.readAll();
    TPicture bitmap = decodeJpeg(reinterpret_cast<const std::uint8_t*>(jpeg.constData()), std::size_t(jpeg.size()));
    Image3->setGeometry(Image1->geometry());
    Image3->Assign(TPicture(Image1->width(), Image1->height()));
    Image1->Assign(std::move(bitmap)); // a copy that takes the bitmap's place: it is freed next
    Image1->Canvas().Brush.Color = clWhite;
    Image1->Canvas().FillRect({0, 0, 721, 489});
    // Qt paints every window through an off-screen buffer already: no flicker.

    ShiftHeld = false;
    PenColor = clBlack;
    SprayColor = clBlack;
    FillColor = clWhite;
    FG->setBrushColour(toQColor(PenColor));
    UpdateColorLabels();
    PenSize = 2;
    Modified = false;

    const char* cursorNames[] = {"Spray", "Pencil", "Fill", "Square", "Circle", "Normal", "Line"};
    for (int number = 1; number <= 7; ++number)
        registerCursor(number, loadCursorResource(cursorNames[number - 1]));
    SetDisplayMode(800, 600, 32);
    PenTool = true;
    LineTool = FillTool = SprayTool = RectTool = EllipseTool = OutlineShape = false;
    for (QWidget* widget : std::initializer_list<QWidget*>{this, Panel1, Panel2, Panel3})
        applyCursorNumber(*widget, 6);
}

void TDrawForm::FormDestroy(QObject*) { SetDisplayMode(OldScreenWidth, OldScreenHeight, OldBitsPerPixel); }

void TDrawForm::SetDisplayMode(int Width, int Height, int BitsPerPixel)
{
    platform.display.setMode(Width, Height, BitsPerPixel);
}

void TDrawForm::UpdateColorLabels()
{
    Label3->setTextColour(toQColor(captionColourOn(toTColor(FG->brushColour()))));
    Label2->setTextColour(toQColor(captionColourOn(toTColor(BG->brushColour()))));
    buttonBG->setBrushColour(toQColor(FillColor));
}

void TDrawForm::SpeedButton1Click(QObject*) { close(); }

// The opener may also fail after it started, once the event loop has long
// gone on: the same box is shown then, through the same guard.
void TDrawForm::SpeedButton7Click(QObject*)
{
    const QString page = "Scribbo_Help.htm";
    const auto showFailure = [this, page] {
        platform.dialogs.messageBox(errorBox("Failed to execute " + QFileInfo(page).fileName(), "Error"));
    };
    if (!platform.documents.open(page, [this, showFailure] { guarded(showFailure); }))
        showFailure();
}
