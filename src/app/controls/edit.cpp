#include "edit.h"

#include <QKeyEvent>

void TEdit::keyPressEvent(QKeyEvent* event)
{
    if (OnKeyPress && event->text().size() == 1) {
        QChar key = event->text().front();
        OnKeyPress(key); // the box takes the key as it came, whatever the handler did
    }
    QLineEdit::keyPressEvent(event);
}
