#include "picture_text.h"

#include "artifact_path.h"

#include <sstream>
#include <vector>

namespace {

const std::map<char, TColor>& palette()
{
    static const std::map<char, TColor> colours{{'.', 0xFFFFFF}, {'#', 0x000000}, {'r', 0x0000FF},
                                                {'g', 0x00FF00}, {'b', 0xFF0000}, {'y', 0x00FFFF}};
    return colours;
}

std::vector<std::string> rowsOf(const std::string& art)
{
    std::vector<std::string> rows;
    std::istringstream lines(art);
    for (std::string line; std::getline(lines, line);) {
        const auto start = line.find_first_not_of(' ');
        if (start != std::string::npos)
            rows.push_back(line.substr(start));
    }
    return rows;
}

std::string artifactName()
{
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return artifactPath(test ? std::string(test->test_suite_name()) + "." + test->name() : "picture");
}

} // namespace

TColor colourOf(char symbol)
{
    const auto found = palette().find(symbol);
    if (found == palette().end())
        throw std::invalid_argument(std::string("no colour for '") + symbol + "'");
    return found->second;
}

char symbolOf(TColor colour)
{
    for (const auto& [symbol, value] : palette())
        if (value == colour)
            return symbol;
    return '?';
}

TPicture pictureFromText(const std::string& art)
{
    const auto rows = rowsOf(art);
    TPicture picture(rows.empty() ? 0 : int(rows[0].size()), int(rows.size()));
    TCanvas canvas(picture);
    for (int y = 0; y < int(rows.size()); ++y)
        for (int x = 0; x < int(rows[y].size()); ++x)
            canvas.SetPixel(x, y, colourOf(rows[y][x]));
    return picture;
}

std::string textOf(const TPicture& picture)
{
    std::string text;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x)
            text += symbolOf(picture.pixel(x, y));
        text += '\n';
    }
    return text;
}

void drawShape(TCanvas& canvas, int shape, const TRect& box)
{
    if (shape == 0)
        canvas.Rectangle(box.Left, box.Top, box.Right, box.Bottom);
    else if (shape == 1)
        canvas.Ellipse(box.Left, box.Top, box.Right, box.Bottom);
    else
        canvas.Arc(box.Left, box.Top, box.Right, box.Bottom, 0, 0, 0, 0);
}

::testing::AssertionResult looksLike(const TPicture& picture, const std::string& art)
{
    const TPicture expected = pictureFromText(art);
    const std::string mismatch = describeMismatch(picture, expected, artifactName());
    if (mismatch.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << mismatch << "\nexpected:\n"
                                         << textOf(expected) << "actual:\n"
                                         << textOf(picture);
}
