#include "picture_names.h"

#include <algorithm>

QString extensionOf(const QString& name)
{
    qsizetype last = -1;
    for (const QChar mark : {QChar('.'), QChar('\\'), QChar('/'), QChar(':')})
        last = std::max(last, name.lastIndexOf(mark));
    return last >= 0 && name[last] == '.' ? name.mid(last) : QString();
}

QString withBitmapExtension(const QString& typed)
{
    QString extension = extensionOf(typed);
    // Letters a to z only: other characters keep their case.
    for (QChar& character : extension)
        if (character >= 'a' && character <= 'z')
            character = QChar(character.unicode() - 'a' + 'A');
    return extension == ".BMP" ? typed : typed + ".bmp";
}

QString pictureNameFor(const QString& typed, const std::function<bool(const QString&)>& isTaken)
{
    QString name = typed;
    name.replace('/', '-').replace('\\', '-');
    qsizetype dots = 0;
    while (dots < name.size() && name[dots] == '.')
        ++dots;
    name.remove(0, dots);
    if (!name.trimmed().isEmpty())
        return withBitmapExtension(name);
    for (int number = 1;; ++number) {
        const QString numbered = QString("Picture %1.bmp").arg(number);
        if (!isTaken(numbered))
            return numbered;
    }
}

std::string unsavedPictureName(const std::tm& localTime, int attempt)
{
    char stamp[64];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M-%S", &localTime);
    const std::string number = attempt <= 1 ? std::string() : " (" + std::to_string(attempt) + ")";
    return "Unsaved picture " + std::string(stamp) + number + ".bmp";
}
