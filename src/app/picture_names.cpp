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

std::string unsavedPictureName(const std::tm& localTime, int attempt)
{
    char stamp[64];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M-%S", &localTime);
    const std::string number = attempt <= 1 ? std::string() : " (" + std::to_string(attempt) + ")";
    return "Unsaved picture " + std::string(stamp) + number + ".bmp";
}
