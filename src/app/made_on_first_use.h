// A dialog made the first time it is used rather than at start: most runs
// never open one, and each costs the start its controls and their fonts.
// Once made it lives on like the others. Assigned a dialog (a test's own),
// it uses that one instead.
#pragma once

#include <functional>
#include <utility>

template <typename Dialog>
class MadeOnFirstUse {
public:
    // How to make it; nothing is made yet.
    void makeWith(std::function<Dialog*()> make) { maker = std::move(make); }
    MadeOnFirstUse& operator=(Dialog* existing)
    {
        dialog = existing;
        return *this;
    }

    // Makes it if it is not there yet; an error while making it leaves it
    // unmade, to be tried again at the next use.
    Dialog* get()
    {
        if (!dialog && maker)
            dialog = maker();
        return dialog;
    }
    Dialog* operator->() { return get(); }

private:
    Dialog* dialog = nullptr;
    std::function<Dialog*()> maker;
};
