#include "layout_check.h"

#include <sstream>

namespace {

struct AreaCount {
    int matching = 0;
    int total = 0;
    scribbo::Point firstOther{-1, -1};
    std::optional<Rgb> firstOtherColour;
};

AreaCount countColour(const Screenshot& screenshot, const scribbo::ColourArea& expected)
{
    AreaCount count;
    const scribbo::Area& area = expected.area;
    for (int y = area.top; y <= area.bottom; ++y) {
        for (int x = area.left; x <= area.right; ++x) {
            ++count.total;
            const std::optional<Rgb> colour = screenshot.at(x, y);
            if (colour == expected.colour)
                ++count.matching;
            else if (count.firstOther.x < 0) {
                count.firstOther = {x, y};
                count.firstOtherColour = colour;
            }
        }
    }
    return count;
}

bool isRight(const AreaCount& count, scribbo::ColourArea::Coverage coverage)
{
    if (coverage == scribbo::ColourArea::Coverage::SomePixel)
        return count.matching > 0;
    return count.matching == count.total;
}

std::string describe(const scribbo::ColourArea& expected, const AreaCount& count)
{
    const scribbo::Area& area = expected.area;
    std::ostringstream text;
    text << expected.name << " at x " << area.left << ".." << area.right << ", y " << area.top << ".." << area.bottom
         << ": ";
    if (expected.coverage == scribbo::ColourArea::Coverage::SomePixel) {
        text << "no pixel is " << expected.colour;
        return text.str();
    }
    text << count.total - count.matching << " of " << count.total << " pixels are not " << expected.colour
         << ", the first at (" << count.firstOther.x << ", " << count.firstOther.y << ") is ";
    if (count.firstOtherColour)
        text << *count.firstOtherColour;
    else
        text << "off the screen";
    return text.str();
}

} // namespace

std::vector<std::string> layoutMismatches(const Screenshot& screenshot, const std::vector<scribbo::ColourArea>& areas)
{
    std::vector<std::string> mismatches;
    for (const scribbo::ColourArea& expected : areas) {
        const AreaCount count = countColour(screenshot, expected);
        if (!isRight(count, expected.coverage))
            mismatches.push_back(describe(expected, count));
    }
    return mismatches;
}

bool showsLayout(const Screenshot& screenshot, const std::vector<scribbo::ColourArea>& areas)
{
    for (const scribbo::ColourArea& expected : areas) {
        if (!isRight(countColour(screenshot, expected), expected.coverage))
            return false;
    }
    return true;
}
