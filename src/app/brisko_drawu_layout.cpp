// The main window's controls, where they sit and how they look. Later
// siblings lie above earlier ones, so creation order is stacking order.
#include "application.h"
#include "brisko_drawu.h"
#include "colours.h"
#include "controls/cursors.h"
#include "controls/resource_image.h"
#include "screen_scale.h"
#include "swatches.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {

QColor windowText() { return QApplication::palette().color(QPalette::WindowText); }

QImage glyph(const char* name) { return resourceImage(QString(":/glyphs/%1.bmp").arg(name), "BMP"); }

TSpeedButton* button(QWidget* parent, const QRect& geometry, const QString& hint)
{
    auto* speedButton = new TSpeedButton(parent);
    speedButton->setGeometry(geometry);
    speedButton->setHint(hint);
    return speedButton;
}

TSpeedButton* glyphButton(QWidget* parent, const QRect& geometry, const char* glyphName, const QString& hint)
{
    TSpeedButton* speedButton = button(parent, geometry, hint);
    speedButton->setGlyph(glyph(glyphName));
    return speedButton;
}

TShape* square(QWidget* parent, const QRect& geometry, TColor fill, TColor outline)
{
    auto* shape = new TShape(parent);
    shape->setGeometry(geometry);
    shape->setBrushColour(toQColor(fill));
    shape->setPenColour(toQColor(outline));
    return shape;
}

// The title box: its text is not selected when it takes the focus.
class TitleEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        QLineEdit::focusInEvent(event);
        deselect();
    }
};

} // namespace

// Keeps the window over the whole primary screen. Without a window manager
// only its geometry places it; a window manager or compositor is asked for
// full screen, which covers panels and docks as maximising does not, and
// then places it itself.
//
// On X11 Qt's window drops its state whenever its geometry is set, and tells
// the window manager so: when that came between asking for full screen and
// the window's first appearance, the manager sometimes took the two in the
// wrong order and showed an ordinary window at a place of its own. So the
// geometry is set first and the state after, and whenever the geometry has
// to be set again the state is asked for again at once.
//
// A manager may still take the state away later, or answer the request with
// another state: each time, once the events in hand are handled, it is asked
// for again. A manager that keeps doing so is not fought for ever: after a
// few requests the window is left as it is, until the screen changes size.
class ScreenCover : public QObject {
public:
    explicit ScreenCover(QWidget& window) : QObject(&window), window(window)
    {
        check.setSingleShot(true);
        check.setInterval(0);
        connect(&check, &QTimer::timeout, this, [this] { keepFullScreen(); });
        window.installEventFilter(this);
    }

    void showOn(const QRect& screenGeometry)
    {
        window.setGeometry(screenGeometry);
        if (QWindow* native = window.windowHandle())
            native->setGeometry(screenGeometry); // now, so that show() finds nothing left to set
        window.setWindowState(Qt::WindowFullScreen);
        window.show();
    }

    void follow(const QRect& screenGeometry)
    {
        requestsLeft = requestLimit;
        window.setGeometry(screenGeometry);
        if (QWindow* native = window.windowHandle())
            native->setWindowStates(native->windowStates());
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show || event->type() == QEvent::WindowStateChange)
            check.start();
        return false;
    }

private:
    void keepFullScreen()
    {
        const Qt::WindowStates state = window.windowState();
        if (!window.isVisible() || state & (Qt::WindowFullScreen | Qt::WindowMinimized) || requestsLeft == 0)
            return;
        --requestsLeft;
        window.setWindowState((state & ~Qt::WindowMaximized) | Qt::WindowFullScreen);
    }

    static constexpr int requestLimit = 8;
    QWidget& window;
    QTimer check;
    int requestsLeft = requestLimit;
};

void TDrawForm::createControls()
{
    // Desktops show the title in their overviews and window lists.
    setWindowTitle("Scribbo");
    setWindowFlag(Qt::FramelessWindowHint);
    setWindowIcon(QIcon(QPixmap::fromImage(withSeeThroughBackground(glyph("icon")))));
    setFont(pixelFont("MS Sans Serif", 11));
    QPalette grey = palette();
    grey.setColor(QPalette::Window, toQColor(clGray));
    setPalette(grey);
    setAutoFillBackground(true);
    resize(907, 617); // the designed client area, until the window fills the screen

    Image3 = new TImage(this);
    Image3->setGeometry(77, 56, 720, 488);
    Image3->hide();
    Image1 = new TImage(this);
    Image1->setGeometry(77, 56, 721, 489);
    Panel1 = new TPanel(this, toQColor(clCream), false);
    Panel1->setGeometry(0, 56, 73, 573);
    Panel2 = new TPanel(this, toQColor(barBlue), false);
    Panel2->setGeometry(0, 0, width(), 53);
    Panel2->setCaption("Scribbo", pixelFont("Comic Sans MS", 27), toQColor(captionYellow));
    Panel3 = new TPanel(this, toQColor(barBlue), true);
    Panel3->setGeometry(76, 548, 725, 56);
    createTopBar();
    createToolBar();
    createPalette();
}

void TDrawForm::createTopBar()
{
    NewBtn = glyphButton(Panel2, {0, 0, 53, 53}, "new", "New Picture");
    SpeedButton2 = glyphButton(Panel2, {53, 0, 57, 53}, "load", "Load Picture");
    SaveBtn = glyphButton(Panel2, {110, 0, 57, 53}, "save", "Save Picture");
    printbtn = glyphButton(Panel2, {167, 0, 53, 53}, "print", "Print Picture");
    UndoBtn = button(Panel2, {681, 0, 53, 53}, "Undo");
    UndoBtn->setSymbol(Symbol::Undo, 48, toQColor(undoBlue), false);
    UndoBtn->setEnabled(false);
    SpeedButton1 = button(Panel2, {853, 0, 53, 53}, QString());
    SpeedButton1->setSymbol(Symbol::Close, 24, toQColor(clRed), true);
}

void TDrawForm::createToolBar()
{
    SpeedButton8 = glyphButton(Panel3, {4, 4, 45, 45}, "filled_rect", "Filled Rectangle");
    SpeedButton11 = glyphButton(Panel3, {48, 4, 45, 45}, "filled_ellipse", "Filled Elipse");
    SpeedButton12 = glyphButton(Panel3, {92, 4, 45, 45}, "rect", "Rectangle");
    SpeedButton13 = glyphButton(Panel3, {136, 4, 45, 45}, "ellipse", "Elipse");
    SpeedButton5 = glyphButton(Panel3, {180, 4, 45, 45}, "pen", "Pen");
    LineBtn = button(Panel3, {225, 4, 45, 45}, "Draw Line");
    LineBtn->setCaption("\\", pixelFont("Tahoma", 19), windowText());
    SpeedButton6 = glyphButton(Panel3, {270, 4, 45, 45}, "fill", "Fill");
    SprayBtn = glyphButton(Panel3, {315, 4, 45, 45}, "spray", "Spray");
    Label5 = new TLabel(Panel3, "Title", pixelFont("Tahoma", 13, true), Qt::AlignLeft);
    Label5->setGeometry(372, 20, 27, 16);
    Label5->fitTextToBox();
    Edit1 = new TitleEdit(Panel3);
    Edit1->setGeometry(404, 6, 269, 41);
    Edit1->setFont(pixelFont("Comic Sans MS", 24));
    Edit1->setMaxLength(50);
    QPalette white = Edit1->palette();
    white.setColor(QPalette::Base, Qt::white);
    Edit1->setPalette(white);
    SpeedButton7 = button(Panel3, {676, 4, 45, 45}, QString());
    SpeedButton7->setCaption("?", pixelFont("Tahoma", 19, true), windowText());
}

void TDrawForm::createPalette()
{
    buttonBG = square(Panel1, {0, 392, 45, 45}, clWhite, clBlack);
    BG = square(Panel1, {4, 484, 49, 49}, clWhite, clBlack);
    const QFont captionFont = pixelFont("Comic Sans MS", 13, true);
    Label2 = new TLabel(Panel1, "Fill", captionFont, Qt::AlignHCenter);
    Label2->setGeometry(4, 512, 49, 21);
    Label2->setWordWrap(true);
    FG = square(Panel1, {20, 456, 49, 49}, clWhite, clBlack);
    Label3 = new TLabel(Panel1, "Pen", captionFont, Qt::AlignHCenter);
    Label3->setGeometry(20, 484, 49, 21);
    Label3->setWordWrap(true);
    const auto addSwatch = [this](const Swatch& swatch) {
        Shape[swatch.number] = square(Panel1, {swatch.left, swatch.top, 37, 37}, swatch.colour, swatch.colour);
    };
    for (int i = 0; i < 18; ++i)
        addSwatch(swatches[std::size_t(i)]);
    SpeedButton4 = button(Panel1, {44, 392, 29, 21}, "Bigger Pen");
    SpeedButton4->setSymbol(Symbol::TriangleUp, 32, toQColor(clGray), true);
    SpeedButton9 = button(Panel1, {44, 416, 29, 21}, "Smaller Pen");
    SpeedButton9->setSymbol(Symbol::TriangleDown, 32, toQColor(clGray), true);
    pensizeBtn = button(Panel1, {0, 392, 45, 45}, "Pen");
    pensizeBtn->setSymbol(Symbol::Dot, 11, toQColor(clBlack), false);
    Label4 = new TLabel(Panel1, "Pen Size", captionFont, Qt::AlignHCenter);
    Label4->setGeometry(0, 368, 73, 16);
    Bevel1 = new TBevel(Panel1);
    Bevel1->setGeometry(0, 360, 73, 9);
    addSwatch(swatches[18]);
    addSwatch(swatches[19]);
    Bevel2 = new TBevel(Panel1);
    Bevel2->setGeometry(0, 436, 73, 9);
}

// Only the top bar and the close button follow the window's width.
void TDrawForm::resizeEvent(QResizeEvent* event)
{
    Panel2->setGeometry(0, 0, width(), 53);
    SpeedButton1->move(width() - SpeedButton1->width() - 1, 0);
    QWidget::resizeEvent(event);
    // A Wayland compositor gives a full-screen window the size that windows
    // on its screen have, which need not be the size it reports for the
    // screen: GNOME, laying its outputs out in their own pixels, reports one
    // at 200 % at twice the size its windows are given.
    // (Sizes set before the window is shown are Scribbo's own requests.)
    if (sizedByCompositor() && isVisible() && windowState() & Qt::WindowFullScreen && windowHandle())
        fitLayoutTo(nativeSize(*windowHandle()));
}

QRect TDrawForm::layoutArea() const { return QRect(mapToGlobal(QPoint(0, 0)), QSize(layoutWidth, layoutHeight)); }

void TDrawForm::showOnPrimaryScreen()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    screenCover = new ScreenCover(*this);
    fitLayoutTo(QSize(platform.display.screenWidth(), platform.display.screenHeight()));
    connect(screen, &QScreen::geometryChanged, screenCover, [this, screen] {
        // A compositor gives the window its new size itself (resizeEvent).
        if (sizedByCompositor() || !fitLayoutTo(QSize(platform.display.screenWidth(), platform.display.screenHeight())))
            screenCover->follow(scaledScreenGeometry(*screen, shownScale));
    });
    screenCover->showOn(scaledScreenGeometry(*screen, shownScale));
}

// Where the display mode could not change to the layout's size, the whole
// window is drawn at the largest scale at which the layout fits the desktop
// (its size in the desktop's own pixels). Whether the scale changed.
bool TDrawForm::fitLayoutTo(const QSize& desktop)
{
    const double scale = layoutScale(desktop.width(), desktop.height());
    if (scale == shownScale)
        return false;
    shownScale = scale;
    QScreen& screen = *QGuiApplication::primaryScreen();
    setScreenScale(screen, scale);
    // Cursors are made for the scale they are shown at.
    for (QWidget* widget : std::initializer_list<QWidget*>{this, Panel1, Panel2, Panel3})
        applyCursorNumber(*widget, 6);
    Image1->setCursorNumber(Image1->cursorNumber());
    // A window already shown is shown afresh at the new scale, once Qt has
    // handled the change in hand. On X11 Qt keeps a window's size and buffer
    // at the old scale, so it is made afresh too; a Wayland window, once
    // hidden, is given new ones, and made afresh it would not be.
    if (isVisible())
        QTimer::singleShot(0, screenCover, [this, &screen] {
            hide();
            if (!sizedByCompositor())
                destroy();
            screenCover->showOn(scaledScreenGeometry(screen, shownScale));
        });
    return true;
}

bool TDrawForm::sizedByCompositor() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }
