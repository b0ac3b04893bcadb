// The colour chooser behind the pen and fill swatches: one for the whole
// run, remembering its current colour and its custom colours between uses.
#pragma once

#include "dialogs.h"

#include <QColor>
#include <QList>

class TColorDialog {
public:
    // Shows the chooser preset to Color. On OK, Color and CustomColors take
    // what was chosen and the answer is true; Cancel changes nothing.
    bool Execute(Dialogs& dialogs);

    QColor Color = Qt::black;
    QList<QColor> CustomColors = QList<QColor>(16, Qt::white);
};
