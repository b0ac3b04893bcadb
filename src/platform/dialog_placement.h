// Where the dialogs and message boxes appear: centred over the main window's
// layout, which fills the whole screen only where the screen is as large as
// the layout at its scale.
#pragma once

#include <QRect>

#include <functional>

class QWidget;

// The area, in global coordinates, that dialogs are centred over, asked for
// at each showing; without one, or where it is empty, the primary screen.
void setDialogArea(std::function<QRect()> area);

// Moves a window about to be shown so that it is centred over that area.
void centreDialog(QWidget& window);
