// Scribbo's drawing surface: pictures and the canvas that draws on them.
// Plain C++20; nothing here knows about windows or Qt.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using TColor = std::uint32_t; // 0x00BBGGRR, red in the low byte
enum TPenMode { pmCopy, pmNotXor };
// The fill's one style: the region of one colour joined to the start.
enum TFillStyle { fsSurface };
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
// What reading a pixel outside the picture answers.
inline constexpr TColor clInvalid = 0xFFFFFFFF;

using ColourTable = std::array<TColor, 256>;

// The program's own errors; the text is what the user is shown.
class ScribboError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A bitmap file refused: the user is shown one of two texts, and the reason
// names the check that refused the file, for tests and the fuzzer.
class BitmapRefused : public ScribboError {
public:
    BitmapRefused(const char* message, const char* reason) : ScribboError(message), reasonText(reason) {}
    const char* reason() const noexcept { return reasonText; }

private:
    const char* reasonText; // a string literal
};

// Pixel storage from calloc: the system hands out zeroed pages lazily, so a
// new picture costs nothing until it is drawn on.
template <typename T>
struct ZeroedAllocator {
    using value_type = T;
    ZeroedAllocator() = default;
    template <typename U>
    ZeroedAllocator(const ZeroedAllocator<U>&) noexcept
    {
    }
    T* allocate(std::size_t count)
    {
        if (void* memory = std::calloc(count, sizeof(T)))
            return static_cast<T*>(memory);
        throw std::bad_alloc();
    }
    void deallocate(T* memory, std::size_t) noexcept { std::free(memory); }
    // Elements are left as calloc made them (zero) instead of written again.
    template <typename U>
    void construct(U* place) noexcept
    {
        ::new (static_cast<void*>(place)) U;
    }
    template <typename U, typename... Arguments>
    void construct(U* place, Arguments&&... arguments)
    {
        ::new (static_cast<void*>(place)) U(std::forward<Arguments>(arguments)...);
    }
    bool operator==(const ZeroedAllocator&) const = default;
};

class TPicture {
public:
    TPicture();                                                // empty, 0 x 0: draws nothing
    TPicture(int width, int height);                           // 24 bits per pixel, every pixel 0 (black)
    TPicture(int width, int height, const ColourTable& table); // 8 bits per pixel, every index 0
    int Width() const { return width; }
    int Height() const { return height; }
    int bitsPerPixel() const { return depth; } // 24 or 8
    bool isEmpty() const { return width == 0 || height == 0; }
    TColor pixel(int x, int y) const; // colour of one pixel, through the table at 8 bpp

    // Rows are stored top-down, each padded to a multiple of four bytes: the
    // layout of bitmap files and of QImage, so either can share the bytes.
    int stride() const { return bytesPerRow; }
    std::uint8_t* row(int y) { return bits.data() + std::size_t(y) * std::size_t(bytesPerRow); }
    const std::uint8_t* row(int y) const { return bits.data() + std::size_t(y) * std::size_t(bytesPerRow); }
    const ColourTable& colourTable() const { return table; } // meaningful at 8 bpp only

    // What a colour is stored as: the colour itself at 24 bpp, the index of
    // the nearest table entry at 8 bpp.
    std::uint32_t storedValue(TColor colour) const;
    TColor colourOfStored(std::uint32_t stored) const;
    std::uint32_t storedAt(int x, int y) const;
    void setStoredAt(int x, int y, std::uint32_t stored);
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

private:
    void allocate(int newWidth, int newHeight, int newBitsPerPixel);

    int width = 0;
    int height = 0;
    int depth = 24;      // bits per pixel
    int bytesPerRow = 0; // padded to a multiple of four
    std::vector<std::uint8_t, ZeroedAllocator<std::uint8_t>> bits;
    ColourTable table{};
};

class TCanvas {
public:
    explicit TCanvas(TPicture& picture); // pen black, width 1, copy; brush white; position (0, 0)
    struct {
        TColor Color = 0;
        int Width = 1;
        TPenMode Mode = pmCopy;
    } Pen;
    struct {
        TColor Color = 0xFFFFFF;
    } Brush;
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int left, int top, int right, int bottom);
    void Ellipse(int left, int top, int right, int bottom);
    void Arc(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye);
    void FloodFill(int x, int y, TColor colour, TFillStyle style);
    TColor GetPixel(int x, int y) const;        // Pixels[x, y] read
    void SetPixel(int x, int y, TColor colour); // Pixels[x, y] write; outside the picture: ignored
    void DrawFocusRect(const TRect& rect);
    void FillRect(const TRect& rect);
    void Draw(int x, int y, const TPicture& picture);

    int penPosX() const { return penX; }
    int penPosY() const { return penY; }
    // Told the rectangle (right and bottom exclusive, inside the picture) that
    // a drawing call may have changed, so a view repaints only that; a call
    // whose changes lie apart (a focus frame's sides) tells each part.
    std::function<void(const TRect&)> OnChange;

private:
    void changed(const TRect& rect) const;

    TPicture& picture;
    int penX = 0;
    int penY = 0;
};

// The twenty colours of the swatches, in their stacking order. The halftone
// table holds each exactly: a child's colours come back from a save as they
// were drawn.
inline constexpr std::array<TColor, 20> swatchColours{
    0x0000FF, 0xE1E1FF, 0xFF0000, 0xF0CAA6, 0x800080, 0xFF00FF, 0x008000, 0x00FF00, 0x800000, 0xFFFF00,
    0x00FFFF, 0xCAFFFF, 0x000000, 0xFFFFFF, 0x808080, 0xC0C0C0, 0x000080, 0xC080FF, 0x808000, 0x0080FF};

// The fixed 256-colour table that every save converts to and writes.
const ColourTable& halftonePalette();
// The index of the table's entry nearest a colour: least squared distance in
// red, green and blue, the lower index of equally near entries.
std::uint8_t nearestPaletteIndex(const ColourTable& table, TColor colour);
// A picture converted to 8 bits per pixel with the halftone table, each pixel the nearest entry, no dithering;
// an 8-bit picture comes back unchanged.
TPicture toHalftone(const TPicture& picture);
// The bytes of the Windows bitmap file of an 8-bit picture, in the layout of the save's table.
// A 24-bit picture gives a 24-bit file without a table; an empty picture a
// header of width and height 0 and no rows. A file past 4 GiB cannot be
// written: ScribboError.
std::vector<std::uint8_t> encodeBitmap(const TPicture& picture);

// The picture in a Windows bitmap file's bytes: its own size, 8 bits per pixel with its colour table when the file
// has one (1, 4 and 8 bits), 24 bits otherwise. No bytes: the empty picture. Throws BitmapRefused with
// "Stream read error" when the data ends inside the headers or the colour table, else "Bitmap image is not valid".
TPicture decodeBitmap(const std::uint8_t* data, std::size_t size);
// Beyond that: 2-bit files read like the others with a table; an index past the file's table is black, the
// picture's table being zero there; pixels that run-length data skips keep index 0; the pixels are read from the
// file's pixel offset. Refused as not valid before anything is allocated: a side longer than maximumBitmapSide or
// more pixels than maximumBitmapPixels; pixel data that ends before the picture does (a file cut short), run-length
// data stored top-down, compressions other than run lengths and bit fields.
inline constexpr int maximumBitmapSide = 32768;
inline constexpr std::int64_t maximumBitmapPixels = std::int64_t(1) << 26; // 64 Mi: 192 MB at 24 bits

// The picture shrunk to width x height (neither larger than the picture's
// own), each new pixel the average of the pixels it covers; 24 bits per
// pixel whatever the picture's depth.
TPicture shrunkPicture(const TPicture& picture, int width, int height);
