#include "resource_image.h"

#include <QImageReader>

QImage resourceImage(const QString& path, const char* format)
{
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}
