// The program's own images, read from its resources.
#pragma once

#include <QImage>
#include <QString>

// The image at the resource path, of the format named. Only that format's
// reader is asked: left to find the format itself, Qt loads every image
// plugin to ask whether it reads the file.
QImage resourceImage(const QString& path, const char* format);
