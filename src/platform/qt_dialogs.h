// The program's dialogs, shown with Qt's own widgets.
#pragma once

#include "dialogs.h"

class QtDialogs : public Dialogs {
public:
    TModalResult messageBox(const MessageBoxRequest& request) override;
    std::optional<ColourChoice> chooseColour(const ColourChoice& preset) override;
};
