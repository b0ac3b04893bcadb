// The mouse of a display, driven with xdotool: the events reach the program
// under test from the X server exactly as a real mouse's would.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

class Pointer {
public:
    enum Button { Left = 1, Middle = 2, Right = 3 };

    struct Position {
        int x = 0;
        int y = 0;
    };

    explicit Pointer(std::string displayName);

    // Each returns once the X server has taken the event (xdotool syncs with
    // the server before it exits). The program under test may not have read
    // it yet: a test that needs that waits for what the event shows.
    // Throws std::runtime_error when xdotool fails.
    void moveTo(int x, int y);
    void press(Button button);
    void release(Button button);
    void click(Button button);

    // Where the last move put it; nothing before the first.
    std::optional<Position> position() const { return lastPosition; }
    bool holdsAnyButton() const { return !heldButtons.empty(); }

private:
    void run(const std::vector<std::string>& arguments);

    std::string displayName;
    std::optional<Position> lastPosition;
    std::set<Button> heldButtons;
};
