// The mouse of a display, driven with xdotool: the events reach the program
// under test from the X server exactly as a real mouse's would.
#pragma once

#include <string>
#include <vector>

class Pointer {
public:
    enum Button { left = 1, middle = 2, right = 3 };

    explicit Pointer(std::string displayName);

    // Each returns once the X server has taken the event (xdotool syncs with
    // the server before it exits), then lets the program read it.
    // Throws std::runtime_error when xdotool fails.
    void moveTo(int x, int y);
    void press(Button button);
    void release(Button button);
    void click(Button button);

private:
    void run(const std::vector<std::string>& arguments);

    std::string m_displayName;
};
