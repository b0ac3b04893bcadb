// Hands a document to the desktop's own opener (a browser for a web page).
#pragma once

#include <QString>

class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    // The file name is relative to the current directory. False when the
    // file is missing or no opener could be started.
    virtual bool open(const QString& fileName) = 0;
};
