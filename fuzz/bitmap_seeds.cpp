// Writes Scribbo's own saves of a few pictures into the folder given, as
// seeds for the fuzzer beside the public corpus: the files it reads most.
#include "surface.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    TPicture drawing(37, 11);
    TCanvas canvas(drawing);
    canvas.Brush.Color = 0x00D0FF;
    canvas.Pen.Width = 3;
    canvas.Ellipse(2, 1, 30, 10);
    canvas.Pen.Color = 0xFF2000;
    canvas.LineTo(36, 10);
    const TPicture pictures[] = {toHalftone(drawing), drawing, TPicture(1, 1), toHalftone(TPicture(3, 2)), TPicture()};
    int number = 0;
    for (const TPicture& picture : pictures) {
        const std::vector<std::uint8_t> bytes = encodeBitmap(picture);
        std::ofstream file(std::string(argv[1]) + "/scribbo-" + std::to_string(++number) + ".bmp", std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!file)
            return 1;
    }
    return 0;
}
