// Saving, Undo, New Picture and the picture kept when a signal ends the
// program: driven through the real dialogs, checked on the screen and on the
// files Scribbo writes, read back here without any of Scribbo's own code.
#include "picture_check.h"
#include "read_file.h"
#include "scribbo_test.h"
#include "wait_until.h"

#include <QImage>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <regex>
#include <set>

#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using scribbo::pictureHeight;
using scribbo::pictureWidth;
// A 721 x 489 picture at 8 bits per pixel: the headers, 256 colours, rows of 724 bytes.
constexpr std::size_t fileBytes = 14 + 40 + 256 * 4 + 724 * pictureHeight;

using titles::confirmBox;
using titles::noticeBox;
using titles::saveDialog;
// The save dialog's client area, 369 x 136, is centred on the 800 x 600
// screen; its Cancel button's middle is at (312, 108) in it.
constexpr scribbo::Point saveDialogCancel{(800 - 369) / 2 + 312, (600 - 136) / 2 + 108};

struct PictureFile {
    std::vector<std::string> faults; // where it is not an 8-bit bitmap of the picture's size
    std::vector<Rgb> pixels;         // row by row from the top
};

// The file as another program reads it: through Qt's bitmap reader, which
// shares nothing with Scribbo's writer.
PictureFile readPictureFile(const std::string& path)
{
    PictureFile file;
    const std::string bytes = readFile(path);
    const QImage image = QImage::fromData(QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())), "BMP");
    if (bytes.size() != fileBytes)
        file.faults.push_back(std::to_string(bytes.size()) + " bytes, not " + std::to_string(fileBytes));
    if (image.format() != QImage::Format_Indexed8 || image.colorCount() != 256
        || image.size() != QSize(pictureWidth, pictureHeight))
        file.faults.push_back("not read as an 8-bit picture of 256 colours and 721 x 489 pixels");
    if (!file.faults.empty())
        return file;
    for (int y = 0; y < pictureHeight; ++y)
        for (int x = 0; x < pictureWidth; ++x)
            file.pixels.push_back({qRed(image.pixel(x, y)), qGreen(image.pixel(x, y)), qBlue(image.pixel(x, y))});
    return file;
}

// Whether the process is held by strace at the call that would give the
// name its bytes (a write to it) or the name itself (a link or rename).
bool heldAtThePublishingOf(pid_t process, const std::string& name)
{
    const std::string proc = "/proc/" + std::to_string(process);
    std::ifstream call(proc + "/syscall");
    long number = -1;
    std::string firstArgument;
    call >> number >> firstArgument;
    if (number == SYS_linkat || number == SYS_renameat2 || number == SYS_rename)
        return true;
    std::error_code error;
    return number == SYS_write
        && std::filesystem::read_symlink(proc + "/fd/" + std::to_string(std::stol(firstArgument, nullptr, 16)), error)
               .filename()
        == name;
}

} // namespace

class ScribboSaveTest : public ScribboTest {
protected:
    // The files a family sees, or the hidden ones of the recovery copy.
    std::set<std::string> filesWritten(bool hidden = false) const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(workingDirectory()))
            if (entry.path().filename().string().starts_with(".") == hidden)
                names.insert(entry.path().filename().string());
        return names;
    }
    std::set<std::string> hiddenFiles() const { return filesWritten(true); }
    // Until Scribbo keeps a recovery copy of what the screen shows.
    void waitForRecoveryCopyOf(const Screenshot& shown)
    {
        const auto copied = [&] {
            for (const std::string& name : hiddenFiles())
                if (name.starts_with(".scribbo-recovery-") && name.ends_with(".bmp")) {
                    const PictureFile copy = readPictureFile(workingDirectory() + "/" + name);
                    return copy.faults.empty() && differencesFromPicture(shown, copy.pixels).empty();
                }
            return false;
        };
        ASSERT_TRUE(waitUntil(copied, stepGuard))
            << "no recovery copy of the picture; hidden files: " << ::testing::PrintToString(hiddenFiles());
    }
    // Kills Scribbo as the out-of-memory killer or a crash would end it.
    void killScribbo()
    {
        const pid_t scribbo = scribboPid();
        ASSERT_GT(scribbo, 0);
        ::kill(scribbo, SIGKILL);
        // strace does not end when its tracee is killed in a delayed call.
        if (scribbo != scribboProcess().pid())
            ::kill(scribboProcess().pid(), SIGKILL);
        ASSERT_TRUE(waitForScribboExit(stepGuard)) << scribboReport();
        const auto gone = [scribbo] {
            std::ifstream status("/proc/" + std::to_string(scribbo) + "/stat");
            std::string pid, name, state;
            return !(status >> pid >> name >> state) || state == "Z";
        };
        ASSERT_TRUE(waitUntil(gone, stepGuard)) << "Scribbo outlived SIGKILL";
    }
    void expectFileShows(const std::string& name, const Screenshot& shot)
    {
        const PictureFile file = readPictureFile(workingDirectory() + "/" + name);
        ASSERT_TRUE(file.faults.empty()) << name << ":\n" << joinLines(file.faults);
        const std::vector<std::string> differences = differencesFromPicture(shot, file.pixels);
        EXPECT_TRUE(differences.empty()) << name << " is not what the screen showed:\n"
                                         << joinLines(differences) << "screenshot: " << keepScreenshot(shot, "shown");
    }
    void removeFile(const std::string& name) { std::filesystem::remove(workingDirectory() + "/" + name); }
    void expectOneUnsavedPicture(const Screenshot& drawn)
    {
        const std::set<std::string> files = filesWritten();
        ASSERT_EQ(files.size(), 1u) << ::testing::PrintToString(files);
        const std::string name = *files.begin();
        EXPECT_TRUE(std::regex_match(name, std::regex(R"(Unsaved picture \d{4}-\d\d-\d\d \d\d-\d\d-\d\d\.bmp)")))
            << name;
        expectFileShows(name, drawn);
    }
};

TEST_F(ScribboSaveTest, SavedFileIsAnEightBitBitmapOfTheScreenNeverWrittenOverAndClosingThenAsksNothing)
{
    // A black line down the picture crossed by a stroke in each swatch's
    // colour, each in a row of its own: the white one shows as a gap in the
    // black, and rows in the wrong order would show.
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{200, 10}, {200, 470}}, colours::black));
    const std::vector<scribbo::ColourArea> swatches = scribbo::swatches();
    for (int index = 0; index < int(swatches.size()); ++index) {
        clickAt(scribbo::swatchMiddle(index));
        const int y = 20 + 22 * index;
        ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{40, y}, {400, y}}, swatches[index].colour));
    }
    const Screenshot drawn = pictureShown();
    std::vector<std::string> missing;
    for (int index = 0; index < int(swatches.size()); ++index) {
        const int y = 20 + 22 * index;
        for (const std::string& line : pixelsNotShowing(drawn, {{200, y}, {300, y}}, swatches[index].colour))
            missing.push_back(swatches[index].name + ": " + line);
    }
    ASSERT_TRUE(missing.empty()) << joinLines(missing) << "screenshot: " << keepScreenshot(drawn, "drawn");

    ASSERT_NO_FATAL_FAILURE(saveAs("cat"));
    EXPECT_EQ(filesWritten(), std::set<std::string>{"cat.bmp"});
    ASSERT_NO_FATAL_FAILURE(expectFileShows("cat.bmp", drawn));
    const std::string saved = readFile(workingDirectory() + "/cat.bmp");

    // The same name again: the notice ("Filename exists, save under another
    // name"), which OK answers, and the dialog stays for another name.
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{500, 50}, {500, 300}}, swatches.back().colour));
    clickAt(scribbo::buttons::save);
    ASSERT_NO_FATAL_FAILURE(typeName("cat"));
    ASSERT_NO_FATAL_FAILURE(answer(noticeBox, "Return"));
    EXPECT_TRUE(windowShown(saveDialog)) << "the save dialog closed after the notice";
    EXPECT_EQ(filesWritten(), std::set<std::string>{"cat.bmp"});
    EXPECT_TRUE(readFile(workingDirectory() + "/cat.bmp") == saved) << "cat.bmp was written over";
    ASSERT_NO_FATAL_FAILURE(typeName("dog"));
    ASSERT_NO_FATAL_FAILURE(waitUntilGone(saveDialog));

    // Everything is saved: closing asks nothing.
    clickAt(scribbo::buttons::close);
    ASSERT_NO_FATAL_FAILURE(expectExitWithStatusZero("after the close button, everything saved"));
    EXPECT_EQ(filesWritten(), (std::set<std::string>{"cat.bmp", "dog.bmp"}));
}

TEST_F(ScribboSaveTest, NewPictureAsksToSaveChangesAndKeepsThePictureWhenTheSaveIsCancelled)
{
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{100, 100}, {400, 300}}, colours::black));
    const Screenshot drawn = pictureShown();

    clickAt(scribbo::buttons::newPicture);
    ASSERT_NO_FATAL_FAILURE(answer(confirmBox, "Return")); // Yes, the default
    ASSERT_NO_FATAL_FAILURE(focusWindow(saveDialog));
    clickAt(saveDialogCancel);
    ASSERT_NO_FATAL_FAILURE(waitUntilGone(saveDialog));
    ASSERT_NO_FATAL_FAILURE(expectPictureUnchanged(drawn, "New Picture with the save cancelled"));
    EXPECT_TRUE(filesWritten().empty());

    // Still unsaved, so it asks again; No wipes the picture.
    clickAt(scribbo::buttons::newPicture);
    ASSERT_NO_FATAL_FAILURE(answer(confirmBox, "alt+n"));
    const Screenshot wiped = pictureShown();
    const std::vector<std::string> left = strayPixels(wiped, {}, 0);
    EXPECT_TRUE(left.empty()) << "New Picture answered No left drawing:\n"
                              << joinLines(left) << "screenshot: " << keepScreenshot(wiped, "wiped");
}

TEST_F(ScribboSaveTest, UndoTakesBackTheLastStrokeOnly)
{
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{100, 100}, {400, 100}}, colours::black));
    const Screenshot firstStroke = pictureShown();
    // Across the first, so the pixels they share must come back black.
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{250, 50}, {250, 300}}, colours::black));
    ASSERT_NO_FATAL_FAILURE(waitUntilInputHandled());

    clickAt(scribbo::buttons::undo);
    ASSERT_NO_FATAL_FAILURE(expectPictureUnchanged(firstStroke, "Undo, compared with the first stroke alone,"));
    clickAt(scribbo::buttons::undo);
    ASSERT_NO_FATAL_FAILURE(expectPictureUnchanged(firstStroke, "A second Undo"));
}

struct EndingSignal {
    int number;
    const char* name;

    friend void PrintTo(const EndingSignal& signal, std::ostream* out) { *out << signal.name; }
};

class ScribboSignalTest : public ScribboSaveTest, public ::testing::WithParamInterface<EndingSignal> {};

// The question is up, as when a logout's close request came first: the
// signal is answered all the same.
TEST_P(ScribboSignalTest, UnsavedPictureIsKeptInAFileOfItsOwnAndTheProgramExitsWithStatusZero)
{
    // Slanted, so a file flipped either way would differ.
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{50, 400}, {600, 30}}, colours::black));
    const Screenshot drawn = pictureShown();
    clickAt(scribbo::buttons::close);
    ASSERT_NO_FATAL_FAILURE(focusWindow(confirmBox));

    scribboProcess().signal(GetParam().number);
    ASSERT_NO_FATAL_FAILURE(expectExitWithStatusZero("after the signal"));
    expectOneUnsavedPicture(drawn);
}

INSTANTIATE_TEST_SUITE_P(EndingSignals, ScribboSignalTest,
                         ::testing::Values(EndingSignal{SIGTERM, "Terminate"}, EndingSignal{SIGHUP, "HangUp"},
                                           EndingSignal{SIGINT, "Interrupt"}),
                         [](const ::testing::TestParamInfo<EndingSignal>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(ScribboSaveTest, UnsavedPictureIsKeptWhenTheXServerGoesAway)
{
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{50, 400}, {600, 30}}, colours::black));
    const Screenshot drawn = pictureShown();
    endXServer();
    ASSERT_TRUE(waitForScribboExit(stepGuard)) << "Scribbo still runs without its X server\n" << scribboReport();
    expectOneUnsavedPicture(drawn);
}

// Killed in the middle of a save, Scribbo leaves no broken picture under the
// name, and the next start keeps the work it had not saved.
TEST_F(ScribboSaveTest, AKilledScribboLeavesNoBrokenPictureAndTheNextStartKeepsItsUnsavedWork)
{
    // strace holds the save back where it would give cat.bmp its bytes or its name.
    scribboProcess().stop();
    const std::string name = "cat.bmp";
    ASSERT_NO_FATAL_FAILURE(restartScribbo(
        {"strace", "-f", "--seccomp-bpf", "-o", "/dev/null", "-P", name, "-P", workingDirectory() + "/" + name, "-e",
         "trace=write,linkat,renameat2,rename", "-e", "inject=write,linkat,renameat2,rename:delay_enter=60000000"}));
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{50, 400}, {600, 30}}, colours::black));
    const Screenshot drawn = pictureShown();
    ASSERT_NO_FATAL_FAILURE(waitForRecoveryCopyOf(drawn));
    clickAt(scribbo::buttons::save);
    ASSERT_NO_FATAL_FAILURE(typeName("cat"));
    const pid_t scribbo = scribboPid();
    ASSERT_TRUE(waitUntil([&] { return heldAtThePublishingOf(scribbo, name); }, stepGuard))
        << "the save never reached " << name << "\n"
        << scribboReport();
    ASSERT_NO_FATAL_FAILURE(killScribbo());
    if (filesWritten().contains(name)) { // nothing, or the whole picture
        ASSERT_NO_FATAL_FAILURE(expectFileShows(name, drawn));
        removeFile(name);
    }

    ASSERT_NO_FATAL_FAILURE(restartScribbo());
    ASSERT_NO_FATAL_FAILURE(expectOneUnsavedPicture(drawn));
    EXPECT_EQ(hiddenFiles(), std::set<std::string>{}) << "the copy stays after it was taken";
    ASSERT_NO_FATAL_FAILURE(saveAs("cat")); // the name is free, or holds the whole picture
    EXPECT_TRUE(filesWritten().contains(name));
}

// A file-size limit (`prlimit --fsize`) is a failed write: the error box,
// and the picture and the program stay.
TEST_F(ScribboSaveTest, AFileSizeLimitGivesTheErrorBoxAndLosesNothing)
{
    scribboProcess().stop();
    ASSERT_NO_FATAL_FAILURE(restartScribbo({"prlimit", "--fsize=100000", "--"}));
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{50, 400}, {600, 30}}, colours::black));
    const Screenshot drawn = pictureShown();
    clickAt(scribbo::buttons::save);
    ASSERT_NO_FATAL_FAILURE(typeName("cat"));
    ASSERT_NO_FATAL_FAILURE(answer(noticeBox, "Return")); // "Stream write error."
    ASSERT_NO_FATAL_FAILURE(focusWindow(saveDialog));
    clickAt(saveDialogCancel);
    ASSERT_NO_FATAL_FAILURE(waitUntilGone(saveDialog));
    ASSERT_NO_FATAL_FAILURE(expectPictureUnchanged(drawn, "A save that failed"));
    EXPECT_EQ(filesWritten(), std::set<std::string>{});
    EXPECT_FALSE(waitForScribboExit(std::chrono::milliseconds(0))) << scribboReport();
}
