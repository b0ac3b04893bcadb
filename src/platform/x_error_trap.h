// Catches the X errors of one Xlib connection while it lives, where Xlib's
// default would print them and end the program. Xlib has one error handler
// for the whole process: the traps hand errors of other connections to the
// handler that was there before them, and put it back when the last one goes.
#pragma once

struct _XDisplay;

class XErrorTrap {
public:
    explicit XErrorTrap(_XDisplay* display);
    // Waits for the server's answers first, so no late error escapes the trap.
    ~XErrorTrap();

    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits until the server has handled every request sent so far; true if
    // any of them failed since the trap was set.
    bool failed();
    // The error code (BadValue, BadMatch, ...) of the first failure, 0 if none.
    int firstErrorCode() const { return codeOfFirstError; }

private:
    friend struct XErrorTrapHandler;

    _XDisplay* display;
    XErrorTrap* outerTrap;
    int codeOfFirstError = 0;
};
