// The drawing primitives and saving at the drawing area's size, 721 x 489.
#include "app/swatches.h"
#include "bench_main.h"
#include "pictures.h"
#include "surface.h"

#include <cmath>

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

// Saving, without the disk: conversion to the halftone table and the file's
// bytes. A child's drawing: stripes of the twenty swatch colours under
// overlapping ellipses of them, so colours change often along each row.
void SaveOfSwatchDrawing(benchmark::State& state)
{
    TPicture picture = whitePicture();
    TCanvas canvas(picture);
    for (int i = 0; i < 20; ++i) {
        canvas.Brush.Color = swatches[i].colour;
        canvas.FillRect({i * 36, 0, i * 36 + 36, pictureHeight});
    }
    for (int i = 0; i < 60; ++i) {
        canvas.Pen.Color = canvas.Brush.Color = swatches[(i * 7) % 20].colour;
        const int x = (i * 97) % pictureWidth, y = (i * 61) % pictureHeight;
        canvas.Ellipse(x - 60, y - 40, x + 60, y + 40);
    }
    for (auto _ : state) {
        const std::vector<std::uint8_t> bytes = EncodeBitmap(ToHalftone(picture));
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
        const std::vector<std::uint8_t> bytes = EncodeBitmap(ToHalftone(picture));
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(SaveOfEveryPixelADifferentColour)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarksWithRatios(argc, argv,
                                   {{"FloodFillWholePicture", "FillRectWholePicture"},
                                    {"EllipseWidePen", "FillRectWholePicture"},
                                    {"RectangleWidePen", "FillRectWholePicture"},
                                    {"DrawWholePicture", "FillRectWholePicture"},
                                    {"SaveOfSwatchDrawing", "FillRectWholePicture"},
                                    {"SaveOfEveryPixelADifferentColour", "FillRectWholePicture"}});
}
