// The size of a display's screen as a client that connects now sees it.
#pragma once

#include <optional>
#include <ostream>
#include <string>

struct ScreenSize {
    int width = 0;
    int height = 0;

    bool operator==(const ScreenSize&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, ScreenSize size)
{
    return out << size.width << " x " << size.height;
}

// Asked on a fresh connection, so nothing cached from earlier answers; nothing
// when the display cannot be opened.
std::optional<ScreenSize> readScreenSize(const std::string& displayName);
