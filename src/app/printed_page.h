// Where the picture and its title go on the printed landscape page, in
// printer pixels from the printable area's top-left corner; every division
// truncates.
#pragma once

#include "surface.h"

struct PrintedPage {
    TRect picture; // 1 to 10.5 inches across, 0.25 to 7 inches down; right and bottom exclusive
    int titleLeft; // centred on the printable width: negative for a title wider than the page
    int titleTop;  // the picture's bottom edge
};

constexpr PrintedPage printedPage(int dotsPerInchAcross, int dotsPerInchDown, int pageWidth, int titleWidth)
{
    return {{dotsPerInchAcross, dotsPerInchDown / 4, 21 * dotsPerInchAcross / 2, 14 * dotsPerInchDown / 2},
            pageWidth / 2 - titleWidth / 2,
            7 * dotsPerInchDown};
}
