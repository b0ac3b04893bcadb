// Properties over many random drawing calls, in both picture formats.
#include "picture_text.h"

#include <algorithm>
#include <functional>
#include <random>

namespace {

struct Call {
    int kind, a, b, c, d, width;
    TPenMode mode;
    TColor pen, brush;
};

Call randomCall(std::mt19937& random, int low, int high)
{
    std::uniform_int_distribution<int> coordinate(low, high), kind(0, 7), width(1, 20), colour(0, 0xFFFFFF);
    return {kind(random),
            coordinate(random),
            coordinate(random),
            coordinate(random),
            coordinate(random),
            width(random),
            random() % 2 ? pmCopy : pmNotXor,
            TColor(colour(random)),
            TColor(colour(random))};
}

// Rectangle, Ellipse or Arc on a box one pixel wide or high (corners in
// either order, often partly outside): random boxes are seldom that thin.
Call randomThinBoxCall(std::mt19937& random)
{
    Call call = randomCall(random, -10, 40);
    call.kind = 2 + int(random() % 3);
    const int length = int(random() % 29 + 2) * (random() % 2 ? 1 : -1), one = random() % 2 ? 1 : -1;
    const bool vertical = random() % 2;
    call.c = call.a + (vertical ? one : length);
    call.d = call.b + (vertical ? length : one);
    return call;
}

// Runs one call with every coordinate moved by (dx, dy).
void run(TCanvas& canvas, const Call& call, int dx = 0, int dy = 0)
{
    canvas.Pen.Width = call.width;
    canvas.Pen.Mode = call.mode;
    canvas.Pen.Color = call.pen;
    canvas.Brush.Color = call.brush;
    const int l = call.a + dx, t = call.b + dy, r = call.c + dx, b = call.d + dy;
    switch (call.kind) {
    case 0:
        canvas.Pen.Width = 1;
        [[fallthrough]];
    case 1:
        canvas.MoveTo(l, t);
        canvas.LineTo(r, b);
        break;
    case 2:
        canvas.Rectangle(l, t, r, b);
        break;
    case 3:
        canvas.Ellipse(l, t, r, b);
        break;
    case 4:
        canvas.Arc(l, t, r, b, l, b, r, t);
        break;
    case 5:
        canvas.DrawFocusRect({l, t, r, b});
        break;
    case 6:
        canvas.FillRect({l, t, r, b});
        break;
    default:
        canvas.SetPixel(l, t, call.pen);
        break;
    }
}

ColourTable spreadTable()
{
    ColourTable table{};
    for (int i = 0; i < 256; ++i)
        table[i] = TColor((i & 7) * 36) | TColor(((i >> 3) & 7) * 36) << 8 | TColor((i >> 6) * 85) << 16;
    return table;
}

TPicture noise(std::mt19937& random, int width, int height, bool indexed)
{
    TPicture picture = indexed ? TPicture(width, height, spreadTable()) : TPicture(width, height);
    std::uniform_int_distribution<std::uint32_t> value(0, indexed ? 0xFF : 0xFFFFFF);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setStoredAt(x, y, value(random));
    return picture;
}

bool sameWindow(const TPicture& small, const TPicture& large, int offsetX, int offsetY)
{
    for (int y = 0; y < small.Height(); ++y)
        for (int x = 0; x < small.Width(); ++x)
            if (small.pixel(x, y) != large.pixel(x + offsetX, y + offsetY))
                return false;
    return true;
}

} // namespace

// Drawing on a small picture gives exactly the pixels that the same calls
// give inside the matching window of a larger one: clipping moves nothing,
// and nothing spills outside the picture (not even into the next row).
TEST(Properties, ClippingChangesNothingInsideAndWritesNothingOutside)
{
    std::mt19937 random(2024);
    for (const bool indexed : {false, true}) {
        for (int i = 0; i < 250; ++i) {
            constexpr int margin = 60;
            TPicture small = noise(random, 17, 13, indexed);
            TPicture large = noise(random, 17 + 2 * margin, 13 + 2 * margin, indexed);
            TCanvas(large).Draw(margin, margin, small);
            TCanvas smallCanvas(small), largeCanvas(large);
            std::vector<TRect> reported;
            smallCanvas.OnChange = [&](const TRect& rect) { reported.push_back(rect); };
            for (int step = 0; step < 5; ++step) {
                const Call call = randomCall(random, -40, 56);
                run(smallCanvas, call);
                run(largeCanvas, call, margin, margin);
            }
            ASSERT_TRUE(sameWindow(small, large, margin, margin)) << "case " << i << (indexed ? " (8 bpp)" : "");
            for (const TRect& rect : reported) {
                EXPECT_TRUE(rect.Left >= 0 && rect.Top >= 0 && rect.Right <= 17 && rect.Bottom <= 13);
                EXPECT_TRUE(rect.Left < rect.Right && rect.Top < rect.Bottom);
            }
        }
    }
}

// Whatever a call changes lies inside a rectangle it reports.
TEST(Properties, ReportedRectanglesHoldEveryChange)
{
    std::mt19937 random(77);
    for (int i = 0; i < 1500; ++i) {
        TPicture picture = noise(random, 30, 25, i % 2 == 0);
        const TPicture before = picture;
        TCanvas canvas(picture);
        std::vector<TRect> reported;
        canvas.OnChange = [&](const TRect& rect) { reported.push_back(rect); };
        run(canvas, i % 4 == 0 ? randomThinBoxCall(random) : randomCall(random, -10, 40));
        const auto isReported = [&](int x, int y) {
            return std::any_of(reported.begin(), reported.end(), [&](const TRect& rect) {
                return x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
            });
        };
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 30; ++x)
                if (picture.pixel(x, y) != before.pixel(x, y)) {
                    ASSERT_TRUE(isReported(x, y)) << "case " << i << " pixel " << x << ", " << y;
                }
    }
}

// The rubber bands rely on this: the same not-xor figure drawn twice leaves
// the picture as it was, in either format.
TEST(Properties, NotXorTwiceIsTheIdentity)
{
    std::mt19937 random(99);
    for (int i = 0; i < 1500; ++i) {
        TPicture picture = noise(random, 30, 25, i % 2 == 1);
        const TPicture before = picture;
        TCanvas canvas(picture);
        Call call = i % 4 == 0 ? randomThinBoxCall(random) : randomCall(random, -10, 40);
        call.kind %= 6; // lines, shapes and focus frames
        call.mode = pmNotXor;
        run(canvas, call);
        run(canvas, call);
        ASSERT_TRUE(samePixels(picture, before)) << "case " << i << " kind " << call.kind << " width " << call.width;
    }
}

// Lines and shapes write each pixel once: with a black pen and brush on
// white, not-xor gives exactly the copy-mode figure, and a second draw
// takes it away again.
TEST(Properties, NotXorOnWhiteGivesTheCopyModeFigure)
{
    std::mt19937 random(3);
    for (int i = 0; i < 1200; ++i) {
        Call call = randomCall(random, -10, 50);
        call.kind = 1 + call.kind % 4; // a line of any width, a rectangle, an ellipse or an arc
        call.pen = call.brush = clBlack;
        TPicture copied = whitePicture(40, 40), inverted = whitePicture(40, 40);
        TCanvas copyCanvas(copied), invertCanvas(inverted);
        call.mode = pmCopy;
        run(copyCanvas, call);
        call.mode = pmNotXor;
        run(invertCanvas, call);
        ASSERT_TRUE(samePixels(copied, inverted)) << "case " << i << " kind " << call.kind << " width " << call.width;
        run(invertCanvas, call);
        ASSERT_TRUE(samePixels(inverted, whitePicture(40, 40))) << "case " << i << " kind " << call.kind;
    }
}

// A thin box gets one band whatever the shape: it covers the box, not-xor
// on white gives the copy (each pixel is written once) and the brush finds
// no inside.
TEST(Properties, ThinBoxesDrawTheSameBandWhateverTheShape)
{
    std::mt19937 random(31);
    for (int i = 0; i < 500; ++i) {
        const Call call = randomThinBoxCall(random);
        const auto drawn = [&](int shape, TPenMode mode) {
            TPicture picture = whitePicture(30, 25);
            TCanvas canvas(picture);
            canvas.Pen.Width = call.width;
            canvas.Pen.Mode = mode;
            canvas.Brush.Color = colourOf('r');
            drawShape(canvas, shape, {call.a, call.b, call.c, call.d});
            return picture;
        };
        const TPicture band = drawn(0, pmCopy);
        for (const int shape : {0, 1, 2})
            for (const TPenMode mode : {pmCopy, pmNotXor})
                ASSERT_TRUE(samePixels(drawn(shape, mode), band)) << "case " << i << " shape " << shape;
        for (int y = std::max(std::min(call.b, call.d), 0); y < std::min(std::max(call.b, call.d), 25); ++y)
            for (int x = std::max(std::min(call.a, call.c), 0); x < std::min(std::max(call.a, call.c), 30); ++x)
                ASSERT_EQ(band.pixel(x, y), clBlack) << "case " << i << " pixel " << x << ", " << y;
    }
}
