#include "scribbo_layout.h"

namespace scribbo {

namespace {

constexpr int columnTop = 56; // the left column's y 0 on the screen

struct SwatchColour {
    const char* name;
    Rgb colour;
};

// Row by row, left then right.
constexpr SwatchColour swatchColours[] = {
    {"red", {255, 0, 0}},          {"pale pink", {255, 225, 225}}, {"blue", {0, 0, 255}},
    {"sky blue", {166, 202, 240}}, {"purple", {128, 0, 128}},      {"fuchsia", {255, 0, 255}},
    {"green", {0, 128, 0}},        {"lime", {0, 255, 0}},          {"navy", {0, 0, 128}},
    {"aqua", {0, 255, 255}},       {"yellow", {255, 255, 0}},      {"pale yellow", {255, 255, 202}},
    {"black", {0, 0, 0}},          {"white", {255, 255, 255}},     {"grey", {128, 128, 128}},
    {"silver", {192, 192, 192}},   {"maroon", {128, 0, 0}},        {"pink", {255, 128, 192}},
    {"teal", {0, 128, 128}},       {"orange", {255, 128, 0}},
};
constexpr int swatchRows[] = {0, 37, 72, 108, 144, 180, 216, 252, 288, 324};
constexpr int swatchColumns[] = {0, 36};
constexpr int swatchSize = 37;
// Neighbours overlap by a pixel or two; the inside of each is its own.
constexpr int swatchMargin = 3;

ColourArea inColumn(std::string name, Area area, Rgb colour,
                    ColourArea::Coverage coverage = ColourArea::Coverage::EveryPixel)
{
    area.top += columnTop;
    area.bottom += columnTop;
    return {std::move(name), area, colour, coverage};
}

std::vector<ColourArea> windowBackground()
{
    return {
        {"window grey between the top bar and the panels", {0, 53, 799, 55}, windowGrey},
        {"window grey right of the left column", {73, 53, 75, 599}, windowGrey},
        {"window grey left of the drawing area", {76, 53, 76, 547}, windowGrey},
        {"window grey right of the drawing area", {798, 56, 799, 544}, windowGrey},
        {"window grey below the drawing area", {73, 545, 799, 547}, windowGrey},
    };
}

std::vector<ColourArea> topBar()
{
    return {
        {"top bar below the buttons", {0, 45, 799, 52}, barBlue},
        {"top bar left of the caption", {225, 0, 340, 52}, barBlue},
        {"top bar right of the caption", {460, 0, 675, 52}, barBlue},
        {"top bar between undo and close", {735, 0, 744, 52}, barBlue},
        {"caption", {340, 5, 460, 47}, captionYellow, ColourArea::Coverage::SomePixel},
        {"close button's red cross", {762, 16, 782, 36}, Rgb{255, 0, 0}, ColourArea::Coverage::SomePixel},
    };
}

std::vector<ColourArea> leftColumnBelowSwatches()
{
    return {
        inColumn("cream below the swatches", {0, 362, 72, 366}, columnCream),
        inColumn("cream right of the pen size arrows", {70, 445, 72, 530}, columnCream),
        inColumn("cream left of the pen swatch", {0, 445, 3, 482}, columnCream),
        inColumn("pen size square", {2, 394, 15, 408}, colours::white),
        inColumn("pen size dot", {18, 410, 26, 418}, colours::black, ColourArea::Coverage::SomePixel),
        inColumn("pen swatch", {22, 458, 66, 482}, colours::black),
        inColumn("fill swatch", {6, 486, 18, 530}, colours::white),
    };
}

std::vector<ColourArea> toolBar()
{
    return {
        {"tool bar's raised top edge", {76, 548, 798, 548}, colours::white},
        {"tool bar's raised left edge", {76, 548, 76, 599}, colours::white},
        {"tool bar above the buttons", {77, 549, 798, 551}, barBlue},
        {"tool bar below the buttons", {77, 597, 798, 599}, barBlue},
        {"tool bar between spray and title", {441, 560, 441, 590}, barBlue},
        {"title box", {490, 557, 745, 592}, colours::white},
    };
}

void append(std::vector<ColourArea>& to, const std::vector<ColourArea>& more)
{
    to.insert(to.end(), more.begin(), more.end());
}

} // namespace

std::vector<ColourArea> swatches()
{
    std::vector<ColourArea> result;
    int index = 0;
    for (const int row : swatchRows) {
        for (const int column : swatchColumns) {
            const SwatchColour& swatch = swatchColours[index++];
            const Area inside{column + swatchMargin, row + swatchMargin, column + swatchSize - 1 - swatchMargin,
                              row + swatchSize - 1 - swatchMargin};
            result.push_back(inColumn(std::string(swatch.name) + " swatch", inside, swatch.colour));
        }
    }
    return result;
}

Point swatchMiddle(int index)
{
    const Area area = swatches().at(std::size_t(index)).area;
    return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

std::vector<ColourArea> startLayout()
{
    std::vector<ColourArea> result = windowBackground();
    append(result, topBar());
    append(result, swatches());
    append(result, leftColumnBelowSwatches());
    append(result, toolBar());
    result.push_back({"drawing area", picture, colours::white});
    return result;
}

std::vector<ColourArea> helpButtonFrame()
{
    constexpr Rgb light = colours::white, dark{128, 128, 128};
    const Area& button = helpButton;
    return {
        {"help button's light top edge", {button.left + 1, button.top, button.right - 1, button.top}, light},
        {"help button's light left edge", {button.left, button.top + 1, button.left, button.bottom - 1}, light},
        {"help button's dark bottom edge", {button.left + 1, button.bottom, button.right - 1, button.bottom}, dark},
        {"help button's dark right edge", {button.right, button.top + 1, button.right, button.bottom - 1}, dark},
    };
}

std::vector<ColourArea> helpButtonWithoutFrame()
{
    std::vector<ColourArea> edges = helpButtonFrame();
    for (ColourArea& edge : edges) {
        edge.name += ", without the frame";
        edge.colour = barBlue;
    }
    return edges;
}

std::vector<ColourArea> paintedSignals()
{
    return {
        // A pixel in from the corners, all of whose neighbours are white
        // too: a desktop that smooths a scaled window mixes no edge in.
        {"drawing area's top left corner",
         {picture.left + 1, picture.top + 1, picture.left + 1, picture.top + 1},
         colours::white},
        {"drawing area's bottom right corner",
         {picture.right - 1, picture.bottom - 1, picture.right - 1, picture.bottom - 1},
         colours::white},
        {"drawing area's middle", {437, 300, 437, 300}, colours::white},
        {"top bar", {300, 45, 300, 45}, barBlue},
        {"red swatch", {18, 74, 18, 74}, Rgb{255, 0, 0}},
        {"orange swatch", {54, 398, 54, 398}, Rgb{255, 128, 0}},
        {"left column", {2, 506, 2, 506}, columnCream},
        {"tool bar", {441, 575, 441, 575}, barBlue},
        {"title box", {600, 575, 600, 575}, colours::white},
    };
}

} // namespace scribbo
