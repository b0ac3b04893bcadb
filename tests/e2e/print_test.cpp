// Printing through the real "Print" box, answered with the mouse, to a print
// scheduler of our own with a PDF printer. The document Scribbo handed to the
// printer is read back with the PDF tools, as a printer would take it: its
// page, the picture's pixels and place, and the title's place.
#include "picture_check.h"
#include "print_queue.h"
#include "read_file.h"
#include "scribbo_test.h"

#include <QImage>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <regex>
#include <sstream>

namespace {

using titles::noticeBox;
using titles::printBox;

// The box's client area, 370 x 113, is centred on the 800 x 600 screen; its
// Yes and No buttons, 89 x 41, are at (8, 64) and (272, 64) in it.
constexpr scribbo::Point printBoxCorner{(800 - 370) / 2, (600 - 113) / 2};
constexpr scribbo::Point yesButton{printBoxCorner.x + 8 + 44, printBoxCorner.y + 64 + 20};
constexpr scribbo::Point noButton{printBoxCorner.x + 272 + 44, printBoxCorner.y + 64 + 20};
constexpr Rgb printBoxTeal{0, 128, 128};
// The white title box in the tool bar, and the window it is in.
constexpr scribbo::Point titleBox{614, 574};
// Indices into scribbo::swatches().
constexpr int redSwatch = 0;
constexpr int skyBlueSwatch = 3;
constexpr int navySwatch = 8;

// Guards against a hang; not a measure of speed.
constexpr auto printGuard = std::chrono::seconds(60);

// The A4 page of the PDF printer, turned, in points from its top-left
// corner; Qt's printable area leaves 10 points all round.
constexpr double pageWidth = 842;
constexpr double margin = 10;
constexpr double printableWidth = pageWidth - 2 * margin;

// The corners are looked at in renderings of the page at the printer's own
// resolution.
constexpr int renderedDotsPerInch = 1200;
constexpr double dotsPerPoint = renderedDotsPerInch / 72.0;
constexpr int cornerSearch = 48; // dots on each side of where a corner should be

Rgb rgbOf(QRgb colour) { return {qRed(colour), qGreen(colour), qBlue(colour)}; }

struct TitleWord {
    double left, top, right, bottom;
    std::string text;
};

// pdftotext -bbox writes each word as
// <word xMin="368.5" yMin="514.0" xMax="421.2" yMax="541.6">Tom</word>.
std::vector<TitleWord> wordsIn(const std::string& boxes)
{
    static const std::regex word(
        R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
    std::vector<TitleWord> words;
    for (auto match = std::sregex_iterator(boxes.begin(), boxes.end(), word); match != std::sregex_iterator(); ++match)
        words.push_back({std::stod((*match)[1]), std::stod((*match)[2]), std::stod((*match)[3]), std::stod((*match)[4]),
                         (*match)[5]});
    return words;
}

// The non-white dots of a rendering, inclusive; nothing when all are white.
std::optional<QRect> inkedBounds(const QImage& rendering)
{
    QRect bounds;
    for (int y = 0; y < rendering.height(); ++y) {
        for (int x = 0; x < rendering.width(); ++x) {
            if (rendering.pixel(x, y) != qRgb(255, 255, 255))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    if (bounds.isEmpty())
        return std::nullopt;
    return bounds;
}

} // namespace

class ScribboPrintTest : public ScribboTest {
protected:
    virtual PrintQueue::Printers printers() const { return PrintQueue::Printers::DefaultPdfPrinter; }

    // The scheduler first: Scribbo is started with its environment.
    void SetUp() override
    {
        try {
            queue = std::make_unique<PrintQueue>(printers());
        } catch (const std::exception& error) {
            FAIL() << "no print scheduler: " << error.what();
        }
        ScribboTest::SetUp();
    }
    void TearDown() override
    {
        ScribboTest::TearDown();
        queue.reset();
    }
    std::vector<std::pair<std::string, std::string>> scribboEnvironment() const override
    {
        return queue->environment();
    }

    // Clicks the print button and, once the box is painted, its button;
    // returns once the box has gone.
    void printAnswering(scribbo::Point button)
    {
        clickAt(scribbo::buttons::print);
        ASSERT_NO_FATAL_FAILURE(focusWindow(printBox));
        ASSERT_NO_FATAL_FAILURE(
            waitForPixel({printBoxCorner.x + 4, printBoxCorner.y + 4}, printBoxTeal, "the print box's background"));
        clickAt(button);
        ASSERT_NO_FATAL_FAILURE(waitUntilGone(printBox));
    }
    std::string jobsReport()
    {
        std::string text = "jobs:\n";
        for (const PrintJob& job : queue->jobs(PrintQueue::Jobs::All))
            text += job.line + "\n";
        return text + queue->log();
    }
    ProgramRun tool(const std::vector<std::string>& arguments)
    {
        ChildOptions options;
        options.arguments = arguments;
        options.logPath = checks.file("tool_output");
        return runToEnd(options, printGuard);
    }
    std::string checkFile(const std::string& name) const { return checks.file(name); }

    std::unique_ptr<PrintQueue> queue;

private:
    TemporaryDirectory checks{"scribbo-print-check"};
};

TEST_F(ScribboPrintTest, YesPrintsOneLandscapePageWithThePictureLosslessInItsPlaceAndTheTitleCentredBelow)
{
    // Sky blue over the whole picture, so that its edges show on the page,
    // under strokes that tell its corners and sides apart.
    const std::vector<scribbo::ColourArea> swatches = scribbo::swatches();
    clickAt(scribbo::swatchMiddle(skyBlueSwatch));
    clickAt(scribbo::buttons::fill);
    clickAt(scribbo::toScreen({360, 240}));
    const Rgb skyBlue = swatches[skyBlueSwatch].colour;
    ASSERT_NO_FATAL_FAILURE(waitForPixel(scribbo::toScreen({0, 0}), skyBlue, "the fill's top-left corner"));
    ASSERT_NO_FATAL_FAILURE(waitForPixel(scribbo::toScreen({720, 488}), skyBlue, "the fill's bottom-right corner"));
    clickAt(scribbo::buttons::pen);
    clickAt(scribbo::swatchMiddle(redSwatch));
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{20, 30}, {300, 60}, {700, 470}}, swatches[redSwatch].colour));
    clickAt(scribbo::swatchMiddle(navySwatch));
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{40, 450}, {200, 300}}, swatches[navySwatch].colour));

    const std::string title = "Tom and the Cat";
    ASSERT_NO_FATAL_FAILURE(focusMainWindow());
    clickAt(titleBox);
    ASSERT_TRUE(xdotool({"type", "--delay", "0", title}));
    const Screenshot drawn = pictureShown();

    ASSERT_NO_FATAL_FAILURE(printAnswering(yesButton));
    ASSERT_NO_FATAL_FAILURE(waitUntilInputHandled());
    ASSERT_TRUE(queue->waitUntilIdle(printGuard)) << "the job did not end\n" << jobsReport();
    const std::vector<PrintJob> jobs = queue->jobs(PrintQueue::Jobs::All);
    ASSERT_EQ(jobs.size(), 1u) << jobsReport();
    EXPECT_EQ(queue->jobs(PrintQueue::Jobs::Completed).size(), 1u) << jobsReport();
    const std::string document = queue->spooledDocument(jobs.front().number);

    // One page, A4 turned by its size rather than by a rotation.
    const ProgramRun info = tool({"pdfinfo", document});
    ASSERT_TRUE(info.succeeded) << info.output << jobsReport();
    EXPECT_TRUE(std::regex_search(info.output, std::regex(R"(\nPages: +1\n)"))) << info.output;
    EXPECT_TRUE(std::regex_search(info.output, std::regex(R"(\nPage size: +842 x 595 pts)"))) << info.output;
    EXPECT_TRUE(std::regex_search(info.output, std::regex(R"(\nPage rot: +0\n)"))) << info.output;

    // The picture embedded once, at its own size and without loss ("image"
    // is Flate or no compression; JPEG would be "jpeg"), and no mask.
    const ProgramRun images = tool({"pdfimages", "-list", document});
    ASSERT_TRUE(images.succeeded) << images.output;
    static const std::regex imageLine(R"( *\d+ +\d+ +(\S+) +(\d+) +(\d+) +\S+ +\d+ +\d+ +(\S+) .*)");
    std::vector<std::vector<std::string>> imageRows; // type, width, height, encoding
    std::istringstream lines(images.output);
    for (std::string line; std::getline(lines, line);) {
        std::smatch row;
        if (std::regex_match(line, row, imageLine))
            imageRows.push_back({row[1], row[2], row[3], row[4]});
    }
    EXPECT_EQ(imageRows, (std::vector<std::vector<std::string>>{{"image", "721", "489", "image"}})) << images.output;

    // Its pixels, exactly as the screen showed them.
    const ProgramRun extracted = tool({"pdfimages", "-png", document, checkFile("picture")});
    ASSERT_TRUE(extracted.succeeded) << extracted.output;
    const QImage printed(QString::fromStdString(checkFile("picture-000.png")));
    ASSERT_EQ(printed.size(), QSize(scribbo::pictureWidth, scribbo::pictureHeight)) << "the picture did not extract";
    std::vector<Rgb> printedPixels;
    for (int y = 0; y < printed.height(); ++y) {
        for (int x = 0; x < printed.width(); ++x)
            printedPixels.push_back(rgbOf(printed.pixel(x, y)));
    }
    const std::vector<std::string> differences = differencesFromPicture(drawn, printedPixels);
    EXPECT_TRUE(differences.empty()) << "the printed picture is not what the screen showed:\n"
                                     << joinLines(differences) << "screenshot: " << keepScreenshot(drawn, "drawn");

    // Its place: 1 to 10.5 inches across and 0.25 to 7 inches down from the
    // printable area's corner. Qt writes its numbers to seven digits, so an
    // edge may render a dot either side of its exact place.
    struct Corner {
        const char* name;
        double x, y;                // in dots from the page's corner: where the picture's edges should be
        scribbo::Point insidePixel; // of the picture, just inside that corner
    };
    const Corner corners[] = {
        {"top-left", (margin + 72) * dotsPerPoint, (margin + 18) * dotsPerPoint, {0, 0}},
        {"bottom-right", (margin + 756) * dotsPerPoint, (margin + 504) * dotsPerPoint, {720, 488}},
    };
    for (const Corner& corner : corners) {
        const int left = int(std::lround(corner.x)) - cornerSearch;
        const int top = int(std::lround(corner.y)) - cornerSearch;
        const std::string prefix = checkFile(std::string(corner.name) + "-corner");
        const ProgramRun rendered =
            tool({"pdftocairo", "-png", "-r", std::to_string(renderedDotsPerInch), "-x", std::to_string(left), "-y",
                  std::to_string(top), "-W", std::to_string(2 * cornerSearch), "-H", std::to_string(2 * cornerSearch),
                  "-singlefile", document, prefix});
        ASSERT_TRUE(rendered.succeeded) << rendered.output;
        const QImage rendering(QString::fromStdString(prefix + ".png"));
        ASSERT_EQ(rendering.size(), QSize(2 * cornerSearch, 2 * cornerSearch)) << corner.name << " corner";
        const std::optional<QRect> inked = inkedBounds(rendering);
        ASSERT_TRUE(inked) << "no picture near where its " << corner.name << " corner should be";
        const bool topLeft = corner.insidePixel.x == 0;
        // The picture's edges: where its first dots start, or its last ones end.
        const double edgeX = left + (topLeft ? inked->left() : inked->right() + 1);
        const double edgeY = top + (topLeft ? inked->top() : inked->bottom() + 1);
        EXPECT_NEAR(edgeX, corner.x, 1.0) << "the picture's " << corner.name << " corner across, in 1/1200 inch";
        EXPECT_NEAR(edgeY, corner.y, 1.0) << "the picture's " << corner.name << " corner down, in 1/1200 inch";
        const QPoint inside = topLeft ? inked->topLeft() : inked->bottomRight();
        EXPECT_EQ(std::optional<Rgb>(rgbOf(rendering.pixel(inside))), pictureAt(drawn, corner.insidePixel))
            << "the " << corner.name << " corner's colour on the page";
    }

    // The title in words, on one line, centred on the printable width, its
    // top (the font's ascent above the baseline, which is where Qt puts the
    // top of a line of text and what pdftotext measures) at 7 inches down.
    ASSERT_TRUE(tool({"pdftotext", "-bbox", document, checkFile("words.html")}).succeeded);
    const std::vector<TitleWord> words = wordsIn(readFile(checkFile("words.html")));
    std::string printedTitle;
    for (const TitleWord& word : words)
        printedTitle += (printedTitle.empty() ? "" : " ") + word.text;
    ASSERT_EQ(printedTitle, title) << readFile(checkFile("words.html"));
    for (const TitleWord& word : words) {
        EXPECT_NEAR(word.top, words.front().top, 0.01) << word.text;
        EXPECT_NEAR(word.bottom, words.front().bottom, 0.01) << word.text;
    }
    EXPECT_NEAR((words.front().left + words.back().right) / 2, margin + printableWidth / 2, 1.0)
        << "the title's middle across, in points";
    EXPECT_NEAR(words.front().top, margin + 7 * 72, 1.0) << "the title's top, in points";
    // 24 points: from ascent to descent a font spans a little more than its
    // size (27.6 points for Comic Neue), 12 or 36 points far from that.
    EXPECT_NEAR(words.front().bottom - words.front().top, 24 * 1.15, 24 * 0.25) << "the title's height, in points";
    const ProgramRun fonts = tool({"pdffonts", document});
    ASSERT_TRUE(fonts.succeeded) << fonts.output;
    EXPECT_TRUE(std::regex_search(fonts.output, std::regex(R"(\n\S*Bold\S* )"))) << "the title is not bold:\n"
                                                                                 << fonts.output;
}

// A print scheduler that does not answer keeps nothing waiting: the session
// ends at once, with the picture kept.
TEST_F(ScribboPrintTest, AHungSchedulerKeepsTheSessionsEndWaitingForNothing)
{
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{100, 100}, {400, 300}}, colours::black));
    queue->stopAnswering();
    ASSERT_NO_FATAL_FAILURE(printAnswering(yesButton));
    scribboProcess().signal(SIGTERM);
    ASSERT_NO_FATAL_FAILURE(expectExitWithStatusZero("after SIGTERM, the scheduler hung"));
    bool kept = false;
    for (const auto& entry : std::filesystem::directory_iterator(workingDirectory()))
        kept = kept || entry.path().filename().string().starts_with("Unsaved picture ");
    EXPECT_TRUE(kept) << "the picture was not kept";
}

// No, the window system's close message and the session ending while the
// question waits all print nothing.
TEST_F(ScribboPrintTest, OnlyYesPrints)
{
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{100, 100}, {400, 300}}, colours::black));
    ASSERT_NO_FATAL_FAILURE(printAnswering(noButton));
    ASSERT_NO_FATAL_FAILURE(waitUntilInputHandled());
    EXPECT_TRUE(queue->jobs(PrintQueue::Jobs::All).empty()) << jobsReport();

    clickAt(scribbo::buttons::print);
    ASSERT_NO_FATAL_FAILURE(closeThroughWindowSystem(printBox));
    ASSERT_NO_FATAL_FAILURE(waitUntilGone(printBox));
    ASSERT_NO_FATAL_FAILURE(waitUntilInputHandled());
    EXPECT_TRUE(queue->jobs(PrintQueue::Jobs::All).empty()) << "printed after the close message\n" << jobsReport();

    clickAt(scribbo::buttons::print);
    ASSERT_NO_FATAL_FAILURE(focusWindow(printBox));
    scribboProcess().signal(SIGTERM);
    ASSERT_NO_FATAL_FAILURE(expectExitWithStatusZero("after SIGTERM, the print question up"));
    EXPECT_TRUE(queue->jobs(PrintQueue::Jobs::All).empty()) << "printed as the session ended\n" << jobsReport();
}

struct PrinterSetUp {
    PrintQueue::Printers printers;
    const char* name;

    friend void PrintTo(const PrinterSetUp& setUp, std::ostream* out) { *out << setUp.name; }
};

class ScribboPrinterFailureTest : public ScribboPrintTest, public ::testing::WithParamInterface<PrinterSetUp> {
protected:
    PrintQueue::Printers printers() const override { return GetParam().printers; }
};

// No printer to print on, or a queue that refuses the job.
TEST_P(ScribboPrinterFailureTest, YesShowsTheErrorPrintsNothingAndTheProgramGoesOn)
{
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{100, 100}, {400, 300}}, colours::black));
    const Screenshot drawn = pictureShown();
    ASSERT_NO_FATAL_FAILURE(printAnswering(yesButton));
    // "There is no default printer currently selected.", or the scheduler's
    // reason for refusing the job.
    ASSERT_NO_FATAL_FAILURE(answer(noticeBox, "Return"));
    EXPECT_FALSE(windowShown(printBox)) << "the print box came back";
    ASSERT_NO_FATAL_FAILURE(expectPictureUnchanged(drawn, "Printing without a default printer"));
    EXPECT_TRUE(queue->jobs(PrintQueue::Jobs::All).empty()) << jobsReport();
    // Still drawing, and still asking before printing.
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{100, 400}, {600, 50}}, colours::black));
    ASSERT_NO_FATAL_FAILURE(printAnswering(noButton));
}

INSTANTIATE_TEST_SUITE_P(
    PrinterSetUps, ScribboPrinterFailureTest,
    ::testing::Values(PrinterSetUp{PrintQueue::Printers::None, "NoPrinter"},
                      PrinterSetUp{PrintQueue::Printers::PdfPrinterNotDefault, "PrinterNotDefault"},
                      PrinterSetUp{PrintQueue::Printers::DefaultPdfPrinterRefusingJobs, "QueueRefusingJobs"}),
    [](const ::testing::TestParamInfo<PrinterSetUp>& info) { return std::string(info.param.name); });
