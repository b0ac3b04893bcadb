#include "dialog_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <utility>

namespace {

std::function<QRect()>& dialogArea()
{
    static std::function<QRect()> area;
    return area;
}

} // namespace

void setDialogArea(std::function<QRect()> area) { dialogArea() = std::move(area); }

void centreDialog(QWidget& window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    QRect area = dialogArea() ? dialogArea()() : QRect();
    if (screen)
        area = area.isEmpty() ? screen->geometry() : area & screen->geometry();
    if (area.isEmpty())
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(area.center());
    window.move(frame.topLeft());
}
