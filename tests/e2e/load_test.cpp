// Loading a picture through the real dialog: which files it lists and in
// which order, the picture drawn at its own size in the middle of a new one,
// and a broken file that changes nothing. The files come from the bitmap
// corpus, copied into Scribbo's folder before the dialog lists it, and are
// read back here through Qt's bitmap reader, which shares nothing with
// Scribbo's.
#include "picture_check.h"
#include "scribbo_test.h"

#include <QImage>

#include <filesystem>

namespace {

using titles::confirmBox;
using titles::loadDialog;
using titles::noticeBox;

// The dialog's client area, 373 x 255, is centred on the 800 x 600 screen;
// its Load button's middle is at (56, 224) in it.
constexpr scribbo::Point loadButton{(800 - 373) / 2 + 56, (600 - 255) / 2 + 224};

// Where a point of a picture small enough to be previewed at its own size
// shows: the 161 x 161 preview's corner is at (192, 24) in the dialog.
scribbo::Point previewOf(const QImage& image, scribbo::Point inImage)
{
    return {(800 - 373) / 2 + 192 + (161 - image.width()) / 2 + inImage.x,
            (600 - 255) / 2 + 24 + (161 - image.height()) / 2 + inImage.y};
}

Rgb rgbAt(const QImage& image, scribbo::Point point)
{
    const QRgb colour = image.pixel(point.x, point.y);
    return {qRed(colour), qGreen(colour), qBlue(colour)};
}

std::string corpusFile(const std::string& path) { return std::string(SCRIBBO_BMPSUITE) + "/" + path; }

// The whole drawing area after a load: white, with the image at its own
// size and its corner where halving the spare width and height puts it.
std::vector<Rgb> centredOnWhite(const QImage& image)
{
    std::vector<Rgb> pixels(std::size_t(scribbo::pictureWidth * scribbo::pictureHeight), colours::white);
    const int left = (scribbo::pictureWidth - image.width()) / 2;
    const int top = (scribbo::pictureHeight - image.height()) / 2;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            pixels[std::size_t((top + y) * scribbo::pictureWidth + left + x)] = rgbAt(image, {x, y});
    }
    return pixels;
}

} // namespace

class ScribboLoadTest : public ScribboTest {
protected:
    void copyFromCorpus(const std::string& path, const std::string& name)
    {
        std::filesystem::copy_file(corpusFile(path), workingDirectory() + "/" + name);
    }
    // Opens the dialog, which lists the folder as it is then, and walks down
    // the list to the entry (the first is 0); each step previews its file.
    void openAndSelect(int entry)
    {
        clickAt(scribbo::buttons::load);
        ASSERT_NO_FATAL_FAILURE(focusWindow(loadDialog));
        std::vector<std::string> keys{"key"};
        keys.insert(keys.end(), std::size_t(entry + 1), "Down");
        ASSERT_TRUE(xdotool(keys));
    }
};

TEST_F(ScribboLoadTest, ListedPictureReplacesTheDrawingCentredAtItsOwnSizeInItsOwnColours)
{
    // A picture saved in an earlier session. Saving makes the picture 8 bits
    // deep for the rest of the run, so the load is tried in a new run, where
    // a 24-bit file keeps its colours exactly.
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{100, 100}, {400, 300}}, colours::black));
    ASSERT_NO_FATAL_FAILURE(saveAs("Tree"));
    clickAt(scribbo::buttons::close);
    ASSERT_TRUE(waitForScribboExit(stepGuard)) << "Scribbo did not end on close after saving\n" << scribboReport();

    // Without regard to case the list is PAL8.BMP, rgb24.bmp, shortfile.bmp,
    // Tree.bmp. Sorted by character code, or with PAL8.BMP left out or
    // pal8.txt listed, the second entry would be another file. The broken
    // file comes after it, so the walk down previews none.
    copyFromCorpus("g/pal8.bmp", "PAL8.BMP");
    copyFromCorpus("g/pal8.bmp", "pal8.txt");
    copyFromCorpus("g/rgb24.bmp", "rgb24.bmp");
    copyFromCorpus("b/shortfile.bmp", "shortfile.bmp");
    ASSERT_NO_FATAL_FAILURE(restartScribbo());

    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{50, 400}, {600, 30}}, colours::black));
    ASSERT_NO_FATAL_FAILURE(openAndSelect(1));
    clickAt(loadButton);
    ASSERT_NO_FATAL_FAILURE(answer(confirmBox, "alt+n"));
    const Screenshot loaded = pictureShown();

    const QImage image(QString::fromStdString(corpusFile("g/rgb24.bmp")));
    ASSERT_EQ(image.size(), QSize(127, 64)) << "Qt did not read the corpus file";
    const std::vector<std::string> differences = differencesFromPicture(loaded, centredOnWhite(image));
    EXPECT_TRUE(differences.empty()) << "the drawing area is not rgb24.bmp centred on white:\n"
                                     << joinLines(differences) << "screenshot: " << keepScreenshot(loaded, "loaded");
}

TEST_F(ScribboLoadTest, BrokenFileIsRefusedWithAnErrorAndNeitherAsksToSaveNorChangesThePicture)
{
    copyFromCorpus("g/rgb24.bmp", "rgb24.bmp");
    copyFromCorpus("b/shortfile.bmp", "shortfile.bmp");
    // Unsaved drawing, for which a file that loads would ask "Save Changes?".
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{100, 100}, {400, 300}}, colours::black));
    const Screenshot drawn = pictureShown();

    // The good file's preview first, so the errors that follow can only be
    // about the broken one.
    ASSERT_NO_FATAL_FAILURE(openAndSelect(0));
    const QImage image(QString::fromStdString(corpusFile("g/rgb24.bmp")));
    ASSERT_NO_FATAL_FAILURE(waitForPixel(previewOf(image, {10, 10}), rgbAt(image, {10, 10}), "rgb24.bmp's preview"));
    ASSERT_TRUE(xdotool({"key", "Down"}));
    // The preview reads the file first, and refuses it already.
    ASSERT_NO_FATAL_FAILURE(answer(noticeBox, "Return"));
    ASSERT_TRUE(windowShown(loadDialog)) << "the dialog closed when the preview was refused";
    clickAt(loadButton);
    ASSERT_NO_FATAL_FAILURE(answer(noticeBox, "Return"));
    ASSERT_NO_FATAL_FAILURE(waitUntilGone(loadDialog));
    EXPECT_FALSE(windowShown(confirmBox)) << "\"Save Changes?\" was asked for a file that was refused";
    ASSERT_NO_FATAL_FAILURE(expectPictureUnchanged(drawn, "Loading a broken file"));
}
