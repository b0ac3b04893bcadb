// The main window at the scale that fills a 1920 x 1080 screen, on Qt's
// offscreen platform given a screen of that size, with the platform's test
// doubles: what a drag costs from the mouse event to the painted screen.
#include "bench_main.h"
#include "brisko_drawu.h"
#include "doubles.h"
#include "offscreen_screen.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>

#include <cstdio>

namespace {

TDrawForm* shownForm = nullptr;

void sendMouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, int x, int y)
{
    const QPointF position(x, y);
    QMouseEvent event(type, position, shownForm->Image1->mapToGlobal(position), button, held, Qt::NoModifier);
    QApplication::sendEvent(shownForm->Image1, &event);
}

// The repaints a step asked for, done as the event loop does them next.
void paintWhatChanged() { QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest); }

// One mouse step of a filled ellipse's drag over the whole drawing area,
// pen 20: the frame that follows the pointer is removed and drawn anew, and
// the screen repainted.
void EllipseDragStepAt1920x1080(benchmark::State& state)
{
    TDrawForm& form = *shownForm;
    form.SpeedButton11Click(nullptr);
    while (form.PenSize < 20)
        form.SpeedButton4Click(nullptr);
    sendMouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 0, 0);
    paintWhatChanged();
    int step = 0;
    for (auto _ : state) {
        step ^= 1; // between two corners, so that every step moves the frame
        sendMouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 720 - step, 488 - step);
        paintWhatChanged();
    }
    sendMouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 720 - step, 488 - step);
    paintWhatChanged();
}
// Qt may copy large images to the screen on threads of its own.
BENCHMARK(EllipseDragStepAt1920x1080)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

// What undo, a new picture or a load costs on the screen: the whole drawing
// area painted afresh.
void RepaintOfDrawingAreaAt1920x1080(benchmark::State& state)
{
    for (auto _ : state) {
        shownForm->Image1->update();
        paintWhatChanged();
    }
}
BENCHMARK(RepaintOfDrawingAreaAt1920x1080)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

void CopyOfFrame1920x1080(benchmark::State& state) { copyFrame1920x1080(state); }
BENCHMARK(CopyOfFrame1920x1080)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    const OffscreenScreen screen(1920, 1080);
    QApplication application(argc, argv);
    // The display mode stays as it is, so the window takes the scale that fills the screen.
    FakePlatform fake;
    fake.display.width = 1920;
    fake.display.height = 1080;
    fake.display.refuses = true;
    TDrawForm form(fake.platform);
    DrawForm = shownForm = &form;
    form.showOnPrimaryScreen();
    while (!form.windowHandle() || !form.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
    std::printf("window %dx%d at scale %.2f\n", form.width(), form.height(), form.devicePixelRatioF());
    const int status = runBenchmarksWithRatios(argc, argv,
                                               {{"EllipseDragStepAt1920x1080", "CopyOfFrame1920x1080"},
                                                {"RepaintOfDrawingAreaAt1920x1080", "CopyOfFrame1920x1080"}});
    DrawForm = nullptr;
    return status;
}
