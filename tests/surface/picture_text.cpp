#include "picture_text.h"

#include <fstream>
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

void writePpm(const std::string& path, const TPicture& picture)
{
    std::ofstream file(path, std::ios::binary);
    file << "P6\n" << picture.Width() << ' ' << picture.Height() << "\n255\n";
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const TColor colour = picture.pixel(x, y);
            file.put(char(colour & 0xFF)).put(char(colour >> 8 & 0xFF)).put(char(colour >> 16 & 0xFF));
        }
}

std::string artifactName()
{
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "picture";
    for (char& c : name)
        if (c == '/')
            c = '_';
    return name;
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

::testing::AssertionResult looksLike(const TPicture& picture, const std::string& art)
{
    const TPicture expected = pictureFromText(art);
    if (expected.Width() == picture.Width() && expected.Height() == picture.Height() && samePixels(expected, picture))
        return ::testing::AssertionSuccess();
    const std::string name = artifactName();
    writePpm(name + ".actual.ppm", picture);
    if (expected.Width() == picture.Width() && expected.Height() == picture.Height()) {
        TPicture diff(picture.Width(), picture.Height());
        TCanvas canvas(diff);
        for (int y = 0; y < diff.Height(); ++y)
            for (int x = 0; x < diff.Width(); ++x)
                canvas.SetPixel(x, y, expected.pixel(x, y) == picture.pixel(x, y) ? 0xFFFFFF : 0x0000FF);
        writePpm(name + ".diff.ppm", diff);
    }
    return ::testing::AssertionFailure() << "picture differs (see " << name << ".actual.ppm and .diff.ppm)\nexpected:\n"
                                         << textOf(expected) << "actual:\n"
                                         << textOf(picture);
}

bool samePixels(const TPicture& a, const TPicture& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}
