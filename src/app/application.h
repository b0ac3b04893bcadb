// The application's title and its default error handler.
#pragma once

#include "dialogs.h"

#include <QString>

#include <exception>
#include <new>

// The program file's name without directory and without anything from its
// first "." on, every letter after the first in lower case.
QString applicationTitle(const QString& programPath);

// Messages end with a full stop unless their last character sorts at or
// before "." already.
QString withFullStop(const QString& message);

// Shows an error as the application's default error handler does.
void showApplicationError(Dialogs& dialogs, const QString& message);

// The session ends under the program (a termination signal): from now on a
// handler that was waiting for a dialog or the printer ends instead of going
// on, and errors are no longer shown.
void beginSessionEnd();
bool sessionEnding();
// Thrown where a handler waited for a dialog while the session ended.
struct SessionEnding {};

// Every event handler is entered through this guard: an error ends the
// handler (what it changed stays changed), is shown, and the program goes
// on. The session's end ends it without a word.
template <typename Handler>
void runGuarded(Dialogs& dialogs, Handler&& handler)
{
    try {
        handler();
    } catch (const SessionEnding&) {
    } catch (const std::bad_alloc&) {
        showApplicationError(dialogs, "Out of memory");
    } catch (const std::exception& error) {
        showApplicationError(dialogs, QString::fromLocal8Bit(error.what()));
    }
}

// Fonts the layout names and Linux lacks, mapped to installed look-alikes.
void installFontSubstitutes();

// The desktop's default font (message boxes, tooltips, lists) sized in
// pixels, as at 96 dots per inch: Qt sizes type in points for a scaled
// screen so that it does not grow, where Scribbo's type must grow with the
// rest of the window.
void sizeDefaultFontInPixels();

// A font of the given character height in pixels.
class QFont;
QFont pixelFont(const QString& family, int pixelHeight, bool bold = false);
