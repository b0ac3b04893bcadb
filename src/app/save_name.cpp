#include "save_name.h"

#include <algorithm>

QString withBitmapExtension(const QString& typed)
{
    const qsizetype last = [&] {
        qsizetype found = -1;
        for (const QChar mark : {QChar('.'), QChar('\\'), QChar('/'), QChar(':')})
            found = std::max(found, typed.lastIndexOf(mark));
        return found;
    }();
    QString extension = last >= 0 && typed[last] == '.' ? typed.mid(last) : QString();
    // Letters a to z only: other characters keep their case.
    for (QChar& character : extension)
        if (character >= 'a' && character <= 'z')
            character = QChar(character.unicode() - 'a' + 'A');
    return extension == ".BMP" ? typed : typed + ".bmp";
}

QString hostPath(const QString& name)
{
    QString path = name;
    return path.replace('\\', '/');
}

QString unsavedPictureName(const QDateTime& localTime, int attempt)
{
    const QString stamp = localTime.toString("yyyy-MM-dd HH-mm-ss");
    if (attempt <= 1)
        return QString("Unsaved picture %1.bmp").arg(stamp);
    return QString("Unsaved picture %1 (%2).bmp").arg(stamp).arg(attempt);
}
