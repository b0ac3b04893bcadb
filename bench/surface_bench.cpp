// The drawing primitives at the drawing area's size, 721 x 489.
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

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarksWithRatios(argc, argv,
                                   {{"FloodFillWholePicture", "FillRectWholePicture"},
                                    {"EllipseWidePen", "FillRectWholePicture"},
                                    {"RectangleWidePen", "FillRectWholePicture"},
                                    {"DrawWholePicture", "FillRectWholePicture"}});
}
