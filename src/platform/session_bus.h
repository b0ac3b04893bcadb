// The session's message bus, which Qt's accessibility bridge looks for once,
// when a control first asks whether anything is listening.
#pragma once

// Whether the session gives a bus: an address in the environment, or the
// user's bus in the runtime folder.
bool sessionBusGiven();

// Lets the accessibility bridge look for the bus now, with a QGuiApplication
// made. Where the session gives none, the bus library would start one of its
// own for the X display (dbus-launch, and a daemon that outlives Scribbo): a
// fork and a wait at every start, for a bus no screen reader listens on. The
// bridge then finds none instead; programs started later (the help page's
// browser) see the environment as it was.
void lookForAccessibilityWithoutStartingABus();
