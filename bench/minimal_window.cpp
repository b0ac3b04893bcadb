// The least a comparable full-screen Qt Widgets program does: one borderless
// grey window over the primary screen with a white area where Scribbo's
// drawing area is. startup_bench measures Scribbo against it.
#include <QApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

namespace {

void fillWith(QWidget& widget, const QColor& colour)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    fillWith(window, QColor(128, 128, 128));
    QWidget area(&window);
    area.setGeometry(77, 56, 721, 489);
    fillWith(area, Qt::white);
    window.showMaximized();
    return application.exec();
}
