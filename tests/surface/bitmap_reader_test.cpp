// Reading bitmap files: the public corpus of good, questionable and bad files,
// our own saves read back, files cut short, and the size limits.
#include "pictures.h"

#include <QCryptographicHash>
#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

using Bytes = std::vector<std::uint8_t>;
const std::string corpus = SCRIBBO_BMPSUITE, readError = "Stream read error", notValid = "Bitmap image is not valid";
constexpr std::size_t widthField = 18, heightField = 22, compressionField = 30, coloursField = 46;

Bytes readFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A file with one little-endian field of its header changed.
Bytes withField(Bytes bytes, std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes.at(offset + i) = std::uint8_t(value >> (8 * i));
    return bytes;
}

// What decoding the first size bytes gives: the picture, or the error's text and the refusal's reason.
struct Outcome {
    TPicture picture;
    std::string error;
    std::string reason;
};

Outcome decode(const Bytes& bytes, std::size_t size)
{
    try {
        return {decodeBitmap(bytes.data(), size), "", ""};
    } catch (const BitmapRefused& refusal) {
        return {TPicture(), refusal.what(), refusal.reason()};
    }
}

// SHA-256 of the pixels as red, green, blue, rows top to bottom: the corpus's own measure.
std::string rgbHash(const TPicture& picture)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const TColor colour = picture.pixel(x, y);
            const char rgb[] = {char(colour), char(colour >> 8), char(colour >> 16)};
            hash.addData(QByteArrayView(rgb, 3));
        }
    return hash.result().toHex().toStdString();
}

// A reference picture, with the decoded colour wherever the reference is
// transparent (a picture without alpha shows nothing there to compare) or
// off by no more than the tolerance in each of red, green and blue.
TPicture referencePicture(const std::string& name, const TPicture& decoded, int tolerance)
{
    const QImage image = QImage(QString::fromStdString(corpus + "/ref/" + name)).convertToFormat(QImage::Format_ARGB32);
    TPicture reference(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const TColor theirs = TColor(qRed(pixel) | qGreen(pixel) << 8 | qBlue(pixel) << 16),
                         ours = decoded.pixel(x, y);
            int distance = 0;
            for (int shift : {0, 8, 16})
                distance = std::max(distance, std::abs(int(theirs >> shift & 0xFF) - int(ours >> shift & 0xFF)));
            const bool open = decoded.contains(x, y) && (qAlpha(pixel) == 0 || distance <= tolerance);
            reference.setStoredAt(x, y, open ? ours : theirs);
        }
    return reference;
}

// Of the readings ref/index.tsv names, ours: pixels never stretched, skipped pixels index 0, spare bits not alpha.
const std::set<std::string> ourKinds = {"intended",          "as-stored",          "skipped-pixels-index0",
                                        "spare-bit-ignored", "spare-bits-ignored", "uncertain"};
// Where ours is another reading or the index has none, for the files named: a reference picture (" within" a
// tolerance in each colour), the SHA-256 of the rows, a refusal ("refused: " and its reason), or "any" picture of
// the file's size.
const std::string refused = "refused: ";
const std::pair<std::string, std::string> decisions[] = {
    // Huffman coding for fax machines, JPEG and PNG for printers, OS/2's 24-bit run lengths, 64 bits of linear light.
    {refused + "a compression other than run lengths and bit fields",
     "q/pal1huffmsb q/rgb24jpeg q/rgb24png q/rgb24rle24"},
    {refused + "a depth other than 1, 2, 4, 8, 16, 24 or 32 bits", "q/rgba64 b/badbitcount"},
    // The colours as stored: colour profiles are ignored.
    {"0b2884e8c018f597bf7eaf3682cdc74b6300bd5b2f5a5a15671d9de21741665f", "q/rgb24prof2"},
    // Its 11- and 10-bit values are not quite the 8-bit ones scaled, so rounding lands one off now and then.
    {"rgb24.png within 1", "q/rgb32-111110"},
    // Fields we do not need may be wrong; of a table longer than the depth allows, the first colours.
    {"pal1.png", "b/badbitssize b/baddens1 b/baddens2 b/badfilesize b/badplanes"},
    {"pal8.png", "b/badpalettesize"},
    {refused + "an information header of no known size", "b/badheadersize"},
    {refused + "a negative width", "b/badwidth"},
    {refused + "a side longer than the limit", "b/reallybig"},
    {refused + "run-length data stored top-down", "b/rletopdown"},
    {refused + "pixel data that ends before the picture does", "b/shortfile"},
    // Runs and jumps past a row's end are cut there; indices past the table are black.
    {"any", "b/badrle b/badrle4 b/badrle4bis b/badrle4ter b/badrlebis b/badrleter b/pal8badindex"}};

std::map<std::string, std::string> expectations()
{
    std::map<std::string, std::string> expected;
    std::ifstream index(corpus + "/ref/index.tsv");
    for (std::string file, reference, kind; index >> file >> reference >> kind;)
        if (ourKinds.contains(kind))
            expected[file] = reference;
    for (const auto& [decision, files] : decisions) {
        std::istringstream names(files);
        for (std::string name; names >> name;)
            expected[name + ".bmp"] = decision;
    }
    return expected;
}

} // namespace

TEST(Bitmap, EveryCorpusFileDecodesToItsReferenceOrIsRefusedAsDecided)
{
    const std::map<std::string, std::string> expected = expectations();
    int files = 0;
    for (const char* folder : {"g", "q", "b"})
        for (const auto& entry : std::filesystem::directory_iterator(corpus + "/" + folder)) {
            const std::string name = std::string(folder) + "/" + entry.path().filename().string();
            SCOPED_TRACE(name);
            ++files;
            ASSERT_TRUE(expected.contains(name)) << "no decision";
            const std::string& expectation = expected.at(name);
            const Bytes bytes = readFile(entry.path());
            const Outcome outcome = decode(bytes, bytes.size());
            if (expectation.starts_with(refused)) {
                EXPECT_EQ(outcome.error, notValid);
                EXPECT_EQ(refused + outcome.reason, expectation);
                continue;
            }
            ASSERT_EQ(outcome.error, "");
            const TPicture& picture = outcome.picture;
            const int fileDepth = bytes[14] == 12 ? bytes[24] : bytes[28]; // little-endian, below 256
            EXPECT_EQ(picture.bitsPerPixel(), fileDepth <= 8 ? 8 : 24);
            if (const std::size_t png = expectation.find(".png"); png != std::string::npos) {
                const int tolerance = png + 4 < expectation.size() ? expectation.back() - '0' : 0;
                const TPicture reference = referencePicture(expectation.substr(0, png + 4), picture, tolerance);
                EXPECT_EQ(describeMismatch(picture, reference, entry.path().stem()), "");
            } else if (expectation == "any") {
                EXPECT_TRUE(picture.Width() == 127 && picture.Height() == 64);
            } else {
                EXPECT_EQ(rgbHash(picture), expectation);
            }
        }
    EXPECT_EQ(files, 27 + 43 + 20);
}

TEST(Bitmap, SavedPicturesReadBackWithTheirSizeDepthTableAndPixels)
{
    for (int width = 1; width <= 9; ++width) {
        TPicture indexed(width, 3, halftonePalette()), direct(width, 3); // the table's colours are all different
        for (int i = 0; i < width * 3; ++i) {
            indexed.setStoredAt(i % width, i / width, std::uint32_t(i * 37) & 0xFF);
            direct.setStoredAt(i % width, i / width, std::uint32_t(i * 0x2F1D3B) & 0xFFFFFF);
        }
        for (const TPicture* picture : {&indexed, &direct}) {
            const Bytes bytes = encodeBitmap(*picture);
            const TPicture read = decodeBitmap(bytes.data(), bytes.size());
            EXPECT_EQ(read.bitsPerPixel(), picture->bitsPerPixel());
            EXPECT_EQ(read.colourTable(), picture->colourTable());
            EXPECT_EQ(describeMismatch(read, *picture, "RoundTrip"), "") << width;
        }
        // With two colours in the file's table, the picture's has zeros after them: other indices show black.
        const Bytes twoColours = withField(encodeBitmap(indexed), coloursField, 2);
        const TPicture read = decodeBitmap(twoColours.data(), twoColours.size());
        for (int i = 0; i < width * 3; ++i)
            EXPECT_EQ(read.pixel(i % width, i / width),
                      i * 37 % 256 < 2 ? indexed.pixel(i % width, i / width) : clBlack);
        EXPECT_EQ(read.colourTable()[2], clBlack);
    }
    for (const TPicture& empty : {TPicture(), toHalftone(TPicture())}) {
        const Bytes bytes = encodeBitmap(empty);
        EXPECT_TRUE(decodeBitmap(bytes.data(), bytes.size()).isEmpty());
    }
    EXPECT_TRUE(decodeBitmap(nullptr, 0).isEmpty());
}

// Prefixes short of the table end are read errors; after that they are refused until the whole picture is there
// but for the last row's padding or the end codes. The reasons, in the order they first come, name where each
// prefix ends.
TEST(Bitmap, EveryPrefixOfAFileIsAReadErrorThenNotValidThenTheWholePicture)
{
    const std::string headers = "the file ends inside its file header; the file ends inside its information header; ",
                      table = "the file ends inside its colour table; ",
                      runLengths =
                          "run-length data that ends before the picture does; run-length literal pixels cut short";
    const std::pair<const char*, std::string> files[] = {
        {"g/pal8os2.bmp", headers + table + "pixel data that ends before the picture does"},
        {"g/pal4.bmp", headers + table + "pixel data that ends before the picture does"},
        {"g/rgb16-565.bmp",
         headers + "the file ends inside its colour masks; pixel data that ends before the picture does"},
        {"g/pal8rle.bmp", headers + table + runLengths},
        {"g/pal4rle.bmp", headers + table + runLengths}};
    for (const auto& [name, reasons] : files) {
        SCOPED_TRACE(name);
        const Bytes bytes = readFile(corpus + "/" + name);
        const TPicture whole = decodeBitmap(bytes.data(), bytes.size());
        const std::size_t pixelOffset = bytes[10] | bytes[11] << 8; // right after the table in these files
        std::size_t firstWhole = 0;
        std::string seen;
        for (std::size_t size = 1; size <= bytes.size(); ++size) {
            const Outcome outcome = decode(bytes, size);
            if (size < pixelOffset) {
                ASSERT_EQ(outcome.error, readError) << size;
            } else if (!outcome.error.empty()) {
                ASSERT_TRUE(outcome.error == notValid && firstWhole == 0) << size << ": " << outcome.error;
            } else {
                firstWhole = firstWhole == 0 ? size : firstWhole;
                ASSERT_TRUE(samePixels(outcome.picture, whole)) << size;
            }
            if (!outcome.reason.empty() && seen.find(outcome.reason) == std::string::npos)
                seen += (seen.empty() ? "" : "; ") + outcome.reason;
        }
        EXPECT_GE(firstWhole, bytes.size() - 3);
        EXPECT_EQ(seen, reasons);
    }
}

// Run lengths are checked against the limits alone, since a few bytes can fill any picture.
TEST(Bitmap, PicturesPastTheSizeLimitsAreRefusedBeforeAnythingIsAllocated)
{
    Bytes endOnly = encodeBitmap(TPicture(1, 1, halftonePalette()));
    endOnly.resize(1078);
    endOnly.insert(endOnly.end(), {0, 1}); // the end of the picture at once
    endOnly = withField(endOnly, compressionField, 1);
    const auto sized = [&](std::int64_t width, std::int64_t height) {
        const Bytes file =
            withField(withField(endOnly, widthField, std::uint32_t(width)), heightField, std::uint32_t(height));
        return decode(file, file.size());
    };
    constexpr std::int64_t side = maximumBitmapSide, pixels = maximumBitmapPixels;
    EXPECT_EQ(sized(side, pixels / side).picture.Width(), side);
    EXPECT_EQ(sized(pixels / side, side).picture.Height(), side);
    const std::string longSide = "a side longer than the limit";
    const std::tuple<std::int64_t, std::int64_t, std::string> refusals[] = {
        {side + 1, 1, longSide},
        {1, side + 1, longSide},
        {pixels / side + 1, side, "more pixels than the limit"},
        {0x7FFFFFFF, 0x7FFFFFFF, longSide},
        {-1, 1, "a negative width"}};
    for (const auto& [width, height, reason] : refusals) {
        const Outcome outcome = sized(width, height);
        EXPECT_EQ(outcome.error, notValid) << width << " x " << height;
        EXPECT_EQ(outcome.reason, reason) << width << " x " << height;
    }
    // Within the limits, uncompressed: refused, as the file is far shorter than its pixels.
    const Bytes save = encodeBitmap(TPicture(1, 1));
    const Outcome large = decode(withField(withField(save, widthField, 8192), heightField, 8192), save.size());
    EXPECT_EQ(large.error, notValid);
    EXPECT_EQ(large.reason, "pixel data that ends before the picture does");
}

// What the fuzzer found (README, Fuzzing), each named for what it does; run under the sanitizers too.
TEST(Bitmap, EveryInputThatOnceCrashedTheReaderIsRefused)
{
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SCRIBBO_BITMAP_CRASHES)) {
        const Bytes bytes = readFile(entry.path());
        const Outcome outcome = decode(bytes, bytes.size());
        EXPECT_TRUE(outcome.error == notValid || outcome.error == readError) << entry.path() << ": " << outcome.error;
        ++files;
    }
    EXPECT_GT(files, 0);
}
