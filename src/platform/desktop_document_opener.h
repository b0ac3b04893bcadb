// Opens documents with whatever the desktop uses for them (xdg-open on X11).
#pragma once

#include "document_opener.h"

class DesktopDocumentOpener : public DocumentOpener {
public:
    bool open(const QString& fileName) override;
};
