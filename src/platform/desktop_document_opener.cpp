#include "desktop_document_opener.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

// xdg-open's own statuses (3: a tool it needs is missing, 4: the action
// failed) and any other, or a crash, all mean the page did not open.
bool openerFailed(int exitCode, QProcess::ExitStatus exitStatus)
{
    return exitStatus == QProcess::CrashExit || exitCode != 0;
}

} // namespace

DesktopDocumentOpener::~DesktopDocumentOpener()
{
    // Waiting for the killed shell is immediate, and spares Qt's warning about
    // a process destroyed while it runs.
    for (QProcess* process : processes.findChildren<QProcess*>()) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->disconnect();
        process->kill();
        process->waitForFinished();
    }
}

bool DesktopDocumentOpener::open(const QString& fileName, std::function<void()> failed)
{
    // Checked here because the desktop's opener would start anyway and only
    // then complain, in a window of its own, about a file it cannot find.
    const QFileInfo file(QDir::current(), fileName);
    if (!file.isFile())
        return false;
    const QString xdgOpen = QStandardPaths::findExecutable("xdg-open");
    // Qt then tries the desktop's own tools, and only says whether one started.
    if (xdgOpen.isEmpty())
        return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
    return startXdgOpen(xdgOpen, file.absoluteFilePath(), std::move(failed));
}

bool DesktopDocumentOpener::startXdgOpen(const QString& program, const QString& filePath, std::function<void()> failed)
{
    auto* process = new QProcess(&processes);
    // No pipes of ours: a browser that xdg-open starts may outlive both, and
    // its messages go where the program's own go.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->start(program, {filePath});
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    ++running;
    // xdg-open may run as long as the browser does, so its answer comes
    // through the event loop and the window never waits for it.
    QObject::connect(process, &QProcess::finished, process,
                     [this, process, failed = std::move(failed)](int exitCode, QProcess::ExitStatus exitStatus) {
                         --running;
                         // Deleted only once this returns, even if `failed` runs a modal loop.
                         process->deleteLater();
                         if (openerFailed(exitCode, exitStatus) && failed)
                             failed();
                     });
    return true;
}
