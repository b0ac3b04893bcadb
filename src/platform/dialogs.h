// Message boxes and the other modal dialogs the program shows.
#pragma once

#include <QColor>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

// The answers a dialog or message box gives.
enum TModalResult { mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

enum class MessageIcon { None, Error, Warning, Information, Question };

struct MessageButton {
    QString caption;     // "&" marks the keyboard shortcut, as in "&Yes"
    TModalResult result; // what pressing it answers
};

struct MessageBoxRequest {
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;
    std::vector<MessageButton> buttons;   // left to right
    int defaultButton = 0;                // index pressed by Enter
    TModalResult escapeResult = mrCancel; // Escape and the close box answer this
};

// A colour as the chooser opens on it and answers it, with the sixteen
// custom colours it keeps beside it.
struct ColourChoice {
    QColor colour;
    QList<QColor> customColours;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows the box modally, centred on the screen, and waits for an answer.
    virtual TModalResult messageBox(const MessageBoxRequest& request) = 0;
    // Shows the colour chooser modally, preset to the given colour and custom
    // colours; the choice on OK, nothing on Cancel.
    virtual std::optional<ColourChoice> chooseColour(const ColourChoice& preset) = 0;
};

// A box with one "OK" button and no icon, for the program's own notices.
MessageBoxRequest noticeBox(const QString& text, const QString& caption);
// A box with one "OK" button and the error icon, as errors are shown.
MessageBoxRequest errorBox(const QString& text, const QString& caption);
