// Input for a display: the mouse through the server's XTEST extension, which
// hands the program under test the events exactly as a real mouse's, and
// xdotool for the keyboard and for finding windows by their titles.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

using Display = struct _XDisplay;

class Pointer {
public:
    enum Button { Left = 1, Middle = 2, Right = 3 };

    struct Position {
        int x = 0;
        int y = 0;
    };

    // Throws std::runtime_error when the display cannot be opened or lacks XTEST.
    explicit Pointer(const std::string& displayName);
    ~Pointer();

    Pointer(const Pointer&) = delete;
    Pointer& operator=(const Pointer&) = delete;

    // Each returns once the X server has taken the event. The program under
    // test may not have read it yet: a test that needs that waits for what
    // the event shows.
    void moveTo(int x, int y);
    void press(Button button);
    void release(Button button);
    void click(Button button);

    // Where the last move put it; nothing before the first.
    std::optional<Position> position() const { return lastPosition; }
    bool holdsAnyButton() const { return !heldButtons.empty(); }

private:
    void sendButton(Button button, bool down);

    Display* display = nullptr;
    std::optional<Position> lastPosition;
    std::set<Button> heldButtons;
};

// xdotool with these arguments on the display; true when it exited with
// status 0 within a guard against a hang.
bool runXdotool(const std::string& displayName, const std::vector<std::string>& arguments);
