#include "application.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFont>

#include <algorithm>
#include <cmath>

QString applicationTitle(const QString& programPath)
{
    QString name = QFileInfo(programPath).fileName();
    name.truncate(name.indexOf('.') < 0 ? name.size() : name.indexOf('.'));
    return name.left(1) + name.mid(1).toLower();
}

QString withFullStop(const QString& message)
{
    if (!message.isEmpty() && message.back() > QChar('.'))
        return message + '.';
    return message;
}

namespace {

bool ending = false;

} // namespace

void beginSessionEnd() { ending = true; }

bool sessionEnding() { return ending; }

void showApplicationError(Dialogs& dialogs, const QString& message)
{
    if (ending)
        return; // nobody is there to read it, and the program is ending

    dialogs.messageBox(errorBox(withFullStop(message), applicationTitle(QCoreApplication::applicationFilePath())));
}

void installFontSubstitutes()
{
    QFont::insertSubstitution("Comic Sans MS", "Comic Neue");
    QFont::insertSubstitution("MS Sans Serif", "DejaVu Sans");
    QFont::insertSubstitution("Tahoma", "DejaVu Sans");
}

void sizeDefaultFontInPixels()
{
    QFont font = QApplication::font();
    if (font.pixelSize() > 0)
        return;
    font.setPixelSize(std::max(1, int(std::lround(font.pointSizeF() * 96 / 72))));
    QApplication::setFont(font);
}

QFont pixelFont(const QString& family, int pixelHeight, bool bold)
{
    QFont font(QFont::substitute(family));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}
