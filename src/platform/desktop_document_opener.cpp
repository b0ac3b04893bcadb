#include "desktop_document_opener.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

bool DesktopDocumentOpener::open(const QString& fileName)
{
    // Checked here because the desktop's opener would start anyway and only
    // then complain, in a window of its own, about a file it cannot find.
    const QFileInfo file(QDir::current(), fileName);
    if (!file.isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}
