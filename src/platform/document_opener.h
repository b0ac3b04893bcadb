// Hands a document to the desktop's own opener (a browser for a web page).
#pragma once

#include <QString>

#include <functional>

class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    // Hands the file, named relative to the current directory, to the
    // desktop's opener and returns at once. False when the file is missing or
    // no opener could be started. Otherwise `failed` may still be called
    // later, once, from the event loop, when the opener ends reporting that it
    // could not open the file; it is never called after the opener is destroyed.
    virtual bool open(const QString& fileName, std::function<void()> failed) = 0;
};
