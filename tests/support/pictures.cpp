#include "pictures.h"

#include <fstream>
#include <sstream>

TPicture whitePicture(int width, int height)
{
    TPicture picture(width, height);
    TCanvas(picture).FillRect({0, 0, width, height});
    return picture;
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

std::set<std::pair<int, int>> pixelsOf(const TPicture& picture, TColor colour)
{
    std::set<std::pair<int, int>> found;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (picture.pixel(x, y) == colour)
                found.insert({x, y});
    return found;
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

std::string describeMismatch(const TPicture& actual, const TPicture& expected, const std::string& name)
{
    if (samePixels(actual, expected))
        return {};
    std::ostringstream description;
    writePpm(name + ".actual.ppm", actual);
    if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) {
        description << "the picture is " << actual.Width() << " x " << actual.Height() << " instead of "
                    << expected.Width() << " x " << expected.Height() << " (see " << name << ".actual.ppm)";
        return description.str();
    }
    TPicture diff = whitePicture(actual.Width(), actual.Height());
    TCanvas canvas(diff);
    int differing = 0;
    for (int y = 0; y < diff.Height(); ++y)
        for (int x = 0; x < diff.Width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                canvas.SetPixel(x, y, 0x0000FF);
                if (differing++ == 0)
                    description << "first at (" << x << ", " << y << "); ";
            }
    writePpm(name + ".diff.ppm", diff);
    description << differing << " pixels differ (see " << name << ".actual.ppm and " << name << ".diff.ppm)";
    return description.str();
}
