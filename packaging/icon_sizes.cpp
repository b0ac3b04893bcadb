// Writes the program's icon, drawn at 32 x 32 pixels, at the sizes desktops
// ask for: whole multiples keep its pixels sharp, other sizes are smoothed.
//   icon_sizes ICON.bmp FOLDER SIZE...   writes FOLDER/SIZE.png for each size
#include "controls/speed_button.h"

#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s ICON.bmp FOLDER SIZE...\n", argv[0]);
        return 2;
    }
    const QImage icon = withSeeThroughBackground(QImage(QString::fromLocal8Bit(argv[1])));
    if (icon.isNull()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        const bool sharp = size % icon.width() == 0;
        const QImage scaled = icon.scaled(size, size, Qt::IgnoreAspectRatio,
                                          sharp ? Qt::FastTransformation : Qt::SmoothTransformation);
        const QString path = QString("%1/%2.png").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        if (size <= 0 || !scaled.save(path, "PNG")) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(path));
            return 1;
        }
    }
    return 0;
}
