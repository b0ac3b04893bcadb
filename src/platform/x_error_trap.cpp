#include "x_error_trap.h"

#include <X11/Xlib.h>

// Xlib calls the handler on the thread making the request; the traps live on
// that thread's stack, innermost first.
struct XErrorTrapHandler {
    static inline XErrorTrap* innermostTrap = nullptr;
    static inline XErrorHandler handlerBeforeTraps = nullptr;

    static int handle(Display* display, XErrorEvent* event)
    {
        for (XErrorTrap* trap = innermostTrap; trap; trap = trap->outerTrap) {
            if (trap->display == display) {
                if (trap->codeOfFirstError == 0)
                    trap->codeOfFirstError = event->error_code;
                return 0;
            }
        }
        return handlerBeforeTraps ? handlerBeforeTraps(display, event) : 0;
    }
};

XErrorTrap::XErrorTrap(Display* display) : display(display), outerTrap(XErrorTrapHandler::innermostTrap)
{
    if (!outerTrap)
        XErrorTrapHandler::handlerBeforeTraps = XSetErrorHandler(&XErrorTrapHandler::handle);
    XErrorTrapHandler::innermostTrap = this;
}

XErrorTrap::~XErrorTrap()
{
    XSync(display, False);
    XErrorTrapHandler::innermostTrap = outerTrap;
    if (!outerTrap)
        XSetErrorHandler(XErrorTrapHandler::handlerBeforeTraps);
}

bool XErrorTrap::failed()
{
    XSync(display, False);
    return codeOfFirstError != 0;
}
