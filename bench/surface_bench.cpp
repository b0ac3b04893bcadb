// The drawing primitives, saving and opening at the drawing area's size, 721 x 489.
#include "bench_main.h"
#include "pictures.h"
#include "surface.h"

#include <cmath>
#include <string>

namespace {

constexpr int pictureWidth = 721, pictureHeight = 489;

// A child's scribble: 1000 short segments winding over the picture.
void FreehandStroke(benchmark::State& state)
{
    TPicture picture = whitePicture();
    TCanvas canvas(picture);
    canvas.Pen.Width = int(state.range(0));
    for (auto _ : state) {
        canvas.MoveTo(360, 244);
        for (int i = 1; i <= 1000; ++i) {
            const double t = i * 0.02;
            canvas.LineTo(int(360 + 300 * std::sin(t * 1.3)), int(244 + 200 * std::sin(t * 2.1)));
        }
        benchmark::DoNotOptimize(picture.row(0));
    }
}
BENCHMARK(FreehandStroke)->Arg(2)->Arg(20)->Unit(benchmark::kMicrosecond);

void FloodFillWholePicture(benchmark::State& state)
{
    TPicture picture = whitePicture();
    TCanvas canvas(picture);
    TColor current = 0xFFFFFF;
    for (auto _ : state) {
        canvas.Brush.Color = current ^ 0x0000FF;
        canvas.FloodFill(360, 244, current, fsSurface);
        current ^= 0x0000FF;
        benchmark::DoNotOptimize(picture.row(0));
    }
}
BENCHMARK(FloodFillWholePicture)->Unit(benchmark::kMicrosecond);

// The memory-bound floor for painting every pixel once.
void FillRectWholePicture(benchmark::State& state)
{
    TPicture picture = whitePicture();
    TCanvas canvas(picture);
    TColor current = 0xFFFFFF;
    for (auto _ : state) {
        canvas.Brush.Color = current ^= 0x0000FF;
        canvas.FillRect({0, 0, pictureWidth, pictureHeight});
        benchmark::DoNotOptimize(picture.row(0));
    }
}
BENCHMARK(FillRectWholePicture)->Unit(benchmark::kMicrosecond);

void EllipseWidePen(benchmark::State& state)
{
    TPicture picture = whitePicture();
    TCanvas canvas(picture);
    canvas.Pen.Width = 20;
    for (auto _ : state) {
        canvas.Ellipse(40, 30, 680, 460);
        benchmark::DoNotOptimize(picture.row(0));
    }
}
BENCHMARK(EllipseWidePen)->Unit(benchmark::kMicrosecond);

// The outlined ellipse tool's shape: the whole outline by Arc, nothing filled.
void ArcWidePen(benchmark::State& state)
{
    TPicture picture = whitePicture();
    TCanvas canvas(picture);
    canvas.Pen.Width = 20;
    for (auto _ : state) {
        canvas.Arc(40, 30, 680, 460, 0, 0, 0, 0);
        benchmark::DoNotOptimize(picture.row(0));
    }
}
BENCHMARK(ArcWidePen)->Unit(benchmark::kMicrosecond);

void RectangleWidePen(benchmark::State& state)
{
    TPicture picture = whitePicture();
    TCanvas canvas(picture);
    canvas.Pen.Width = 20;
    for (auto _ : state) {
        canvas.Rectangle(40, 30, 680, 460);
        benchmark::DoNotOptimize(picture.row(0));
    }
}
BENCHMARK(RectangleWidePen)->Unit(benchmark::kMicrosecond);

// Undo puts a whole snapshot back this way.
void DrawWholePicture(benchmark::State& state)
{
    TPicture picture = whitePicture();
    const TPicture snapshot = whitePicture();
    TCanvas canvas(picture);
    for (auto _ : state) {
        canvas.Draw(0, 0, snapshot);
        benchmark::DoNotOptimize(picture.row(0));
    }
}
BENCHMARK(DrawWholePicture)->Unit(benchmark::kMicrosecond);

// A child's drawing: stripes of the twenty swatch colours under overlapping
// ellipses of them, so colours change often along each row.
TPicture swatchDrawing()
{
    TPicture picture = whitePicture();
    TCanvas canvas(picture);
    for (int i = 0; i < 20; ++i) {
        canvas.Brush.Color = swatchColours[std::size_t(i)];
        canvas.FillRect({i * 36, 0, i * 36 + 36, pictureHeight});
    }
    for (int i = 0; i < 60; ++i) {
        canvas.Pen.Color = canvas.Brush.Color = swatchColours[std::size_t((i * 7) % 20)];
        const int x = (i * 97) % pictureWidth, y = (i * 61) % pictureHeight;
        canvas.Ellipse(x - 60, y - 40, x + 60, y + 40);
    }
    return picture;
}

// Saving, without the disk: conversion to the halftone table and the file's
// bytes.
void SaveOfSwatchDrawing(benchmark::State& state)
{
    const TPicture picture = swatchDrawing();
    for (auto _ : state) {
        const std::vector<std::uint8_t> bytes = encodeBitmap(toHalftone(picture));
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(SaveOfSwatchDrawing)->Unit(benchmark::kMicrosecond);

// The worst case, a photo and more: every pixel a different colour.
void SaveOfEveryPixelADifferentColour(benchmark::State& state)
{
    TPicture picture(pictureWidth, pictureHeight);
    for (int y = 0; y < pictureHeight; ++y)
        for (int x = 0; x < pictureWidth; ++x) // an odd factor visits each colour at most once
            picture.setStoredAt(x, y, (std::uint32_t(y * pictureWidth + x) * 0x9E3779u) & 0xFFFFFF);
    for (auto _ : state) {
        const std::vector<std::uint8_t> bytes = encodeBitmap(toHalftone(picture));
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(SaveOfEveryPixelADifferentColour)->Unit(benchmark::kMicrosecond);

// Opening a picture: the decoded picture's bytes against copying as many.
constexpr std::int64_t bytes24 = (pictureWidth * 3 + 3) / 4 * 4 * pictureHeight,
                       bytes8 = (pictureWidth + 3) / 4 * 4 * pictureHeight, photoBytes = 4000 * 3 * 3000;

void CopyOfBytes(benchmark::State& state) { copyBytes(state, std::size_t(state.range(0))); }
BENCHMARK(CopyOfBytes)->Arg(bytes24)->Arg(bytes8)->Arg(photoBytes)->Unit(benchmark::kMicrosecond);

void CopyOfFrame1920x1080(benchmark::State& state) { copyFrame1920x1080(state); }
BENCHMARK(CopyOfFrame1920x1080)->Unit(benchmark::kMicrosecond);

void decodeFile(benchmark::State& state, const std::vector<std::uint8_t>& file)
{
    for (auto _ : state) {
        const TPicture picture = decodeBitmap(file.data(), file.size());
        benchmark::DoNotOptimize(picture.row(0));
    }
}

void DecodeOf24BitDrawing(benchmark::State& state) { decodeFile(state, encodeBitmap(swatchDrawing())); }
BENCHMARK(DecodeOf24BitDrawing)->Unit(benchmark::kMicrosecond);

void DecodeOf8BitDrawing(benchmark::State& state) { decodeFile(state, encodeBitmap(toHalftone(swatchDrawing()))); }
BENCHMARK(DecodeOf8BitDrawing)->Unit(benchmark::kMicrosecond);

// The 8-bit save compressed as another program would: runs of up to 255
// equal pixels, each row ended, then the end of the picture.
std::vector<std::uint8_t> runLengthFile(const TPicture& picture)
{
    std::vector<std::uint8_t> file = encodeBitmap(picture);
    file.resize(1078);
    file[30] = 1; // compression: 8-bit run lengths
    for (int y = picture.Height() - 1; y >= 0; --y) {
        const std::uint8_t* row = picture.row(y);
        for (int x = 0, run = 0; x < picture.Width(); x += run) {
            for (run = 1; x + run < picture.Width() && run < 255 && row[x + run] == row[x];)
                ++run;
            file.insert(file.end(), {std::uint8_t(run), row[x]});
        }
        file.insert(file.end(), {0, 0});
    }
    file.insert(file.end(), {0, 1});
    return file;
}

void DecodeOfRunLength8BitDrawing(benchmark::State& state)
{
    const std::vector<std::uint8_t> file = runLengthFile(toHalftone(swatchDrawing()));
    state.counters["file bytes"] = double(file.size());
    decodeFile(state, file);
}
BENCHMARK(DecodeOfRunLength8BitDrawing)->Unit(benchmark::kMicrosecond);

std::vector<std::uint8_t> photoFile()
{
    TPicture photo(4000, 3000);
    for (int y = 0; y < 3000; ++y)
        for (int x = 0; x < 4000 * 3; ++x)
            photo.row(y)[x] = std::uint8_t(x * 7 + y * 13);
    return encodeBitmap(photo);
}

// 36 MB of file decoded into a 36 MB picture, once.
void DecodeOfPhoto4000x3000(benchmark::State& state) { decodeFile(state, photoFile()); }
BENCHMARK(DecodeOfPhoto4000x3000)->Unit(benchmark::kMicrosecond);

// A photo's preview, from the file's bytes to the 161 x 120 picture shown.
void PreviewOfPhoto4000x3000(benchmark::State& state)
{
    const std::vector<std::uint8_t> file = photoFile();
    for (auto _ : state) {
        const TPicture preview = shrunkPicture(decodeBitmap(file.data(), file.size()), 161, 120);
        benchmark::DoNotOptimize(preview.row(0));
    }
}
BENCHMARK(PreviewOfPhoto4000x3000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    const auto copyOf = [](std::int64_t bytes) { return "CopyOfBytes/" + std::to_string(bytes); };
    return runBenchmarksWithRatios(argc, argv,
                                   {{"FloodFillWholePicture", "FillRectWholePicture"},
                                    {"EllipseWidePen", "FillRectWholePicture"},
                                    {"ArcWidePen", "FillRectWholePicture"},
                                    {"RectangleWidePen", "FillRectWholePicture"},
                                    {"DrawWholePicture", "FillRectWholePicture"},
                                    {"SaveOfSwatchDrawing", "FillRectWholePicture"},
                                    {"SaveOfEveryPixelADifferentColour", "FillRectWholePicture"},
                                    {"DecodeOf24BitDrawing", copyOf(bytes24)},
                                    {"DecodeOf8BitDrawing", copyOf(bytes8)},
                                    {"DecodeOfRunLength8BitDrawing", copyOf(bytes8)},
                                    {"DecodeOfPhoto4000x3000", copyOf(photoBytes)},
                                    {"PreviewOfPhoto4000x3000", copyOf(photoBytes)}});
}
