// The pixels of a whole screen at one moment, and the X connection that
// takes them.
#pragma once

#include "rgb.h"

#include <optional>
#include <string>
#include <vector>

using Display = struct _XDisplay;

// The whole screen, or a rectangle of it; always in screen coordinates.
class Screenshot {
public:
    Screenshot() = default;
    // The pixels row by row, from the top left corner at (left, top).
    Screenshot(int left, int top, int width, int height, std::vector<Rgb> rowByRow);

    int width() const { return widthInPixels; }
    int height() const { return heightInPixels; }
    bool contains(int x, int y) const
    {
        return x >= left && y >= top && x < left + widthInPixels && y < top + heightInPixels;
    }
    // Outside what was taken: nothing.
    std::optional<Rgb> at(int x, int y) const;
    // Binary PPM, which any image viewer opens. Throws std::runtime_error.
    void savePpm(const std::string& path) const;

private:
    int left = 0;
    int top = 0;
    int widthInPixels = 0;
    int heightInPixels = 0;
    std::vector<Rgb> pixels;
};

// One connection to a display for reading what its root window shows.
class ScreenReader {
public:
    // Throws std::runtime_error when the display cannot be opened.
    explicit ScreenReader(const std::string& displayName);
    ~ScreenReader();

    ScreenReader(const ScreenReader&) = delete;
    ScreenReader& operator=(const ScreenReader&) = delete;

    // The whole root window at its present size; empty if the server refused
    // (as it may while the screen changes size).
    Screenshot grab();
    // Only that rectangle, which is much quicker to take than the whole
    // screen; empty if the server refused or it is not all on the screen.
    Screenshot grab(int left, int top, int width, int height);

private:
    Display* display = nullptr;
};
