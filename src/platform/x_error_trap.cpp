#include "x_error_trap.h"

#include <X11/Xlib.h>

// Xlib calls the handler on the thread making the request; the traps live on
// that thread's stack, innermost first.
struct XErrorTrapHandler {
    static inline XErrorTrap* innermostTrap = nullptr;
    static inline XErrorHandler handlerBeforeTraps = nullptr;

    static int handle(Display* display, XErrorEvent* event)
    {
        for (XErrorTrap* trap = innermostTrap; trap; trap = trap->m_outerTrap) {
            if (trap->m_display == display) {
                if (trap->m_firstErrorCode == 0)
                    trap->m_firstErrorCode = event->error_code;
                return 0;
            }
        }
        return handlerBeforeTraps ? handlerBeforeTraps(display, event) : 0;
    }
};

XErrorTrap::XErrorTrap(Display* display) : m_display(display), m_outerTrap(XErrorTrapHandler::innermostTrap)
{
    if (!m_outerTrap)
        XErrorTrapHandler::handlerBeforeTraps = XSetErrorHandler(&XErrorTrapHandler::handle);
    XErrorTrapHandler::innermostTrap = this;
}

XErrorTrap::~XErrorTrap()
{
    XSync(m_display, False);
    XErrorTrapHandler::innermostTrap = m_outerTrap;
    if (!m_outerTrap)
        XSetErrorHandler(XErrorTrapHandler::handlerBeforeTraps);
}

bool XErrorTrap::failed()
{
    XSync(m_display, False);
    return m_firstErrorCode != 0;
}
