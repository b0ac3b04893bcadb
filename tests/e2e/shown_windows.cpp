#include "shown_windows.h"

#include <memory>

// Last: Xlib's macros (None, Bool, Status, ...) clash with names above.
#include <X11/Xlib.h>

namespace {

void collect(Display* display, Window parent, const std::string& title, std::vector<ShownWindow>& found)
{
    Window root = 0, ignoredParent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &ignoredParent, &children, &count))
        return;
    for (unsigned index = 0; index < count; ++index) {
        XWindowAttributes attributes{};
        char* name = nullptr;
        if (XGetWindowAttributes(display, children[index], &attributes) && attributes.map_state == IsViewable
            && XFetchName(display, children[index], &name) && name && title == name) {
            int x = 0, y = 0;
            Window ignoredChild = 0;
            XTranslateCoordinates(display, children[index], root, 0, 0, &x, &y, &ignoredChild);
            found.push_back({children[index], x, y, attributes.width, attributes.height});
        } else {
            collect(display, children[index], title, found);
        }
        if (name)
            XFree(name);
    }
    if (children)
        XFree(children);
}

} // namespace

std::vector<ShownWindow> shownWindows(Display* display, const std::string& title)
{
    std::vector<ShownWindow> found;
    collect(display, DefaultRootWindow(display), title, found);
    return found;
}

std::vector<ShownWindow> shownWindows(const std::string& displayName, const std::string& title)
{
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(displayName.c_str()), XCloseDisplay);
    if (!display)
        return {};
    return shownWindows(display.get(), title);
}
