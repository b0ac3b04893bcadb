// Opens documents with whatever the desktop uses for them: xdg-open, whose
// exit status says whether it managed, or else whatever Qt finds.
#pragma once

#include "document_opener.h"

#include <QObject>

class QProcess;

class DesktopDocumentOpener : public DocumentOpener {
public:
    DesktopDocumentOpener() = default;
    // Ends any xdg-open still running, without reporting it; what xdg-open
    // started (a browser) runs on.
    ~DesktopDocumentOpener() override;

    bool open(const QString& fileName, std::function<void()> failed) override;

    // The xdg-opens started that have not ended yet, so that a caller can
    // wait for their answers.
    int runningOpeners() const { return running; }

private:
    bool startXdgOpen(const QString& program, const QString& filePath, std::function<void()> failed);

    // Parent of every xdg-open, running or ended and waiting to be deleted.
    QObject processes;
    int running = 0;
};
