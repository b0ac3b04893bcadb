// A monkey at the controls: a long run of random presses, moves, releases,
// clicks and keys on the real main window (offscreen), from a fixed seed, as
// a child might make them. After every step it checks what must always hold.
//
//   monkey [--seed N] [--steps N] [--runs N] [--seconds N]
//
// It makes --runs runs of --steps each, with the seed and those after it,
// and with --seconds goes on with further seeds until the time is up. A failure names the seed and step and lists the
// steps before it, ready to become a fixed test.
#include "brisko_drawu.h"
#include "colours.h"
#include "doubles.h"
#include "gesture_driver.h"
#include "modal_answer.h"
#include "program.h"
#include "swatches.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <random>
#include <string>

namespace {

// The spray's chance, from the run's seed.
class SeededRandomNumbers : public RandomNumbers {
public:
    explicit SeededRandomNumbers(unsigned seed) : generator(seed) {}
    void reseed() override {}
    int below(int bound) override { return std::uniform_int_distribution<int>(0, bound - 1)(generator); }

private:
    std::mt19937 generator;
};

struct Failure {
    std::string what;
};

// Closes, as a child would with its "Cancel", every dialog that nobody
// planned to answer (a double click opens one twice). Made before any
// planned answer, so those, installed later, come first.
class UnplannedDialogCloser : public QObject {
public:
    UnplannedDialogCloser() { QCoreApplication::instance()->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = dynamic_cast<TDialogForm*>(watched);
        if (event->type() == QEvent::Show && dialog) {
            const QPointer<TDialogForm> shown = dialog;
            QMetaObject::invokeMethod(
                this,
                [shown] {
                    if (shown && shown->isVisible())
                        shown->done(mrNo);
                },
                Qt::QueuedConnection);
        }
        return false;
    }
};

class Monkey {
public:
    explicit Monkey(unsigned seed) : seed(seed), chance(seed), random(seed)
    {
        if (!showOnScreen(form))
            throw Failure{"the window was never shown"};
        // Every click on New Picture, close or Load Picture with unsaved work
        // may ask "Save Changes?" once, and a double click is two clicks. A
        // button tells of its click first as released.
        for (TSpeedButton* asking : {form.NewBtn, form.SpeedButton1, form.SpeedButton2})
            QObject::connect(asking, &QAbstractButton::released, [this] { questionsAllowed += form.Modified; });
    }

    ~Monkey()
    {
        // Let go of whatever is held, so the next run starts with no button down.
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
            if (held & button)
                QTest::mouseRelease(window(), button, {}, pointer);
    }

    void run(int steps)
    {
        for (step = 1; step <= steps; ++step) {
            act();
            check();
        }
    }

    // A digest of the picture the run left: the same seed and steps give the same one.
    std::uint64_t pictureDigest() const
    {
        const TPicture& picture = form.Image1->Picture();
        std::uint64_t digest = 14695981039346656037u; // FNV-1a
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.stride(); ++x)
                digest = (digest ^ picture.row(y)[x]) * 1099511628211u;
        return digest;
    }

    std::string lastSteps() const
    {
        std::string lines;
        for (const std::string& line : log)
            lines += "  " + line + "\n";
        return lines;
    }

    const unsigned seed;
    int step = 0;

private:
    QWindow* window() { return form.windowHandle(); }

    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    bool chanceOf(int percent) { return number(1, 100) <= percent; }

    void note(const std::string& action)
    {
        log.push_back(std::to_string(step) + ": " + action);
        if (log.size() > 40)
            log.pop_front();
    }

    static std::string describe(QPoint point)
    {
        return "(" + std::to_string(point.x()) + ", " + std::to_string(point.y()) + ")";
    }

    // Mostly on the drawing area, sometimes anywhere in the window, now and
    // then off it altogether.
    QPoint somewhere()
    {
        const int where = number(1, 100);
        if (where <= 70) {
            const QRect area = form.Image1->geometry();
            return {number(area.left() - 5, area.right() + 5), number(area.top() - 5, area.bottom() + 5)};
        }
        if (where <= 95)
            return {number(0, 799), number(0, 599)};
        return {number(-300, -1), number(-300, 900)};
    }

    QPoint inside(const QWidget* control)
    {
        const QRect box(control->mapTo(&form, QPoint(0, 0)), control->size());
        return {number(box.left(), box.right()), number(box.top(), box.bottom())};
    }

    Qt::MouseButton anyButton()
    {
        const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
        return buttons[number(0, 2)];
    }

    Qt::KeyboardModifiers keys() { return chanceOf(30) ? Qt::ShiftModifier : Qt::NoModifier; }

    void press(Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers modifiers)
    {
        note("press " + std::to_string(int(button)) + " at " + describe(at) + (modifiers ? " with Shift" : ""));
        pointer = at;
        held |= button;
        QTest::mousePress(window(), button, modifiers, at);
    }

    void release(Qt::MouseButton button, QPoint at)
    {
        note("release " + std::to_string(int(button)) + " at " + describe(at));
        pointer = at;
        held &= ~button;
        leftReleased = button == Qt::LeftButton;
        QTest::mouseRelease(window(), button, {}, at);
    }

    void click(Qt::MouseButton button, QPoint at)
    {
        press(button, at, {});
        release(button, at);
    }

    void act()
    {
        const int choice = number(1, 100);
        lastWasMove = choice > 22 && choice <= 70;
        leftReleased = false;
        if (choice <= 22) {
            const Qt::MouseButton button = anyButton();
            if (held & button)
                release(button, somewhere());
            else
                press(button, somewhere(), keys()); // sometimes a second button while one is held
        } else if (choice <= 70) {
            pointer = chanceOf(80) ? pointer + QPoint(number(-40, 40), number(-40, 40)) : somewhere();
            const Qt::KeyboardModifiers modifiers = keys();
            note("move to " + describe(pointer) + (modifiers ? " with Shift" : ""));
            QTest::mouseEvent(QTest::MouseMove, window(), Qt::NoButton, modifiers, pointer);
        } else if (choice <= 78) {
            const Qt::MouseButton button = anyButton();
            if (held & button)
                release(button, pointer);
        } else if (choice <= 85) {
            TSpeedButton* const tools[] = {form.SpeedButton8,  form.SpeedButton11, form.SpeedButton12,
                                           form.SpeedButton13, form.SpeedButton5,  form.LineBtn,
                                           form.SpeedButton6,  form.SprayBtn,      form.pensizeBtn};
            if (!held)
                click(Qt::LeftButton, inside(tools[number(0, 8)]));
        } else if (choice <= 90) {
            if (!held)
                click(anyButton(), inside(form.Shape[std::size_t(swatches[std::size_t(number(0, 19))].number)]));
        } else if (choice <= 94) {
            // Now and then all the way up or down, so the widest pens get their turn.
            const bool bigger = chanceOf(50);
            for (int clicks = chanceOf(20) ? 18 : 1; clicks > 0 && !held; --clicks)
                click(Qt::LeftButton, inside(bigger ? form.SpeedButton4 : form.SpeedButton9));
        } else if (choice <= 96) {
            if (!held) {
                if (chanceOf(50))
                    fake.dialogs.colours.push_back(
                        ColourChoice{QColor::fromRgb(QRgb(number(0, 0xFFFFFF))), QList<QColor>(16, Qt::white)});
                click(anyButton(), inside(chanceOf(50) ? static_cast<QWidget*>(form.FG) : form.BG));
                fake.dialogs.colours.clear();
            }
        } else if (choice <= 97) {
            if (!held)
                clickTopBar();
        } else if (choice <= 98) {
            if (!held) {
                pointer = somewhere();
                const Qt::MouseButton button = anyButton();
                note("double click " + std::to_string(int(button)) + " at " + describe(pointer));
                leftReleased = button == Qt::LeftButton;
                QTest::mouseDClick(window(), button, {}, pointer);
            }
        } else {
            typeSomething();
        }
    }

    // Help, Undo, New Picture, Load, Save or Print Picture or close, with
    // the questions and the dialogs answered every way a child can.
    void clickTopBar()
    {
        TSpeedButton* const buttons[] = {form.SpeedButton7, form.UndoBtn,      form.NewBtn,  form.SaveBtn,
                                         form.SpeedButton2, form.SpeedButton1, form.printbtn};
        TSpeedButton* const button = buttons[number(0, 6)];
        if (button == form.printbtn) {
            print();
            return;
        }
        note("click " + (button == form.SpeedButton1 ? std::string("close") : button->hint().toStdString()));
        std::optional<ModalAnswer<TSaveBox>> saveDialog;
        std::optional<ModalAnswer<TLoadPic>> loadDialog;
        if (button == form.SpeedButton2) {
            // A picture it saved, or none picked, or Cancel.
            const int row = number(-1, 4);
            const bool cancel = chanceOf(20);
            note(cancel ? "the load dialog would be cancelled"
                        : "the load dialog would load row " + std::to_string(row));
            loadDialog.emplace([row, cancel](TLoadPic& dialog) {
                dialog.FileListBox1->setCurrentRow(std::min(row, dialog.FileListBox1->count() - 1));
                (cancel ? dialog.SpeedButton3 : dialog.LoadBtn)->click();
            });
        }
        if (button == form.NewBtn || button == form.SpeedButton1 || button == form.SpeedButton2) {
            const TModalResult answers[] = {mrYes, mrNo, mrCancel};
            fake.dialogs.answers = {answers[number(0, 2)]};
            note("\"Save Changes?\" would be answered " + std::to_string(int(fake.dialogs.answers.front())));
        }
        if (button == form.SaveBtn || fake.dialogs.answers == std::deque{mrYes}) {
            const bool save = chanceOf(70);
            // Now and then a name used before, which is refused.
            const QString name = QString("picture %1").arg(chanceOf(10) ? 1 : ++pictures);
            note(save ? "the save dialog would save as \"" + name.toStdString() + "\""
                      : "the save dialog would be cancelled");
            saveDialog.emplace([save, name](TSaveBox& box) {
                if (save)
                    typeName(box, name);
                if (box.isVisible())
                    box.SpeedButton2->click();
            });
        }
        click(Qt::LeftButton, inside(button));
        fake.dialogs.answers.clear();
        if ((saveDialog && saveDialog->stayedOpen()) || (loadDialog && loadDialog->stayedOpen()))
            fail("a dialog stayed open");
    }

    // Now and then the printer fails at one of its steps; whatever happens,
    // no document is left begun.
    void print()
    {
        const bool yes = chanceOf(70);
        const char* const steps[] = {"resolution", "setLandscape",  "beginDocument",
                                     "textOut",    "stretchBitmap", "endDocument"};
        fake.printer.failAt = chanceOf(30) ? steps[number(0, 5)] : "";
        note(std::string("click Print Picture, answered ") + (yes ? "Yes" : "No")
             + (fake.printer.failAt.empty() ? "" : ", the printer failing at " + fake.printer.failAt));
        fake.printer.calls.clear();
        const ModalAnswer<TConfirmBox> reply(
            [yes](TConfirmBox& box) { (yes ? box.SpeedButton1 : box.SpeedButton2)->click(); });
        click(Qt::LeftButton, inside(form.printbtn));
        const std::vector<std::string>& calls = fake.printer.calls;
        const std::string& failed = fake.printer.failAt;
        if (reply.stayedOpen())
            fail("the print question stayed open");
        if (!yes && !calls.empty())
            fail("the printer was used after No");
        const bool begun = failed != "beginDocument" && std::ranges::count(calls, "beginDocument") == 1;
        const bool ended = !calls.empty() && calls.back() == "endDocument" && failed != "endDocument";
        if (begun && !ended && calls.back() != "abort")
            fail("a document was left begun");
        if (yes && !failed.empty()) {
            auto& boxes = fake.dialogs.boxes;
            if (boxes.empty() || boxes.back().text != "Printer selected is not valid.")
                fail("the failing printer gave no error box");
            boxes.pop_back();
        }
    }

    void typeSomething()
    {
        const Qt::Key specials[] = {Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Delete};
        if (chanceOf(30)) {
            const Qt::Key key = specials[number(0, 4)];
            note("key " + std::to_string(int(key)));
            QTest::keyClick(window(), key);
        } else {
            const char letter = char(number(' ', '~'));
            note(std::string("key '") + letter + "'");
            QTest::keyClick(window(), letter);
        }
    }

    void fail(const std::string& what) { throw Failure{what}; }

    void check()
    {
        if (!form.isVisible()) {
            // Only the close button may take the window away; a child then
            // starts it again, and so does the monkey.
            if (leftReleased && form.SpeedButton1->geometry().translated(form.Panel2->pos()).contains(pointer)) {
                note("closed by the close button; shown again");
                form.show();
                if (!QTest::qWaitForWindowExposed(&form))
                    fail("the window did not come back");
            } else {
                fail("the main window vanished");
            }
        }
        for (const TImage* image : {form.Image1, form.Image3})
            checkPicture(image->Picture(), image == form.Image1 ? "Image1" : "Image3");
        const TRect& band = form.BandRect;
        if (band.Left > band.Right || band.Top > band.Bottom)
            fail("BandRect is not normalised");
        // A release may go astray (a popup took the mouse), but the next move
        // over the picture must not draw with no button held.
        if (!held && form.Drawing && lastWasMove && form.Image1->geometry().contains(pointer)
            && !QApplication::activePopupWidget())
            fail("no button is down, yet a gesture is open");
        const int tools =
            form.PenTool + form.LineTool + form.FillTool + form.SprayTool + form.RectTool + form.EllipseTool;
        if (tools != 1)
            fail(std::to_string(tools) + " tools are chosen");
        if (form.OutlineShape && !form.RectTool && !form.EllipseTool)
            fail("OutlineShape without a shape tool");
        if (form.PenSize < 2 || form.PenSize > 20)
            fail("PenSize is " + std::to_string(form.PenSize));
        if (form.FG->brushColour() != toQColor(form.PenColor) || form.BG->brushColour() != toQColor(form.FillColor)
            || form.buttonBG->brushColour() != toQColor(form.FillColor))
            fail("a swatch shows another colour than the one in use");
        if (form.Edit1->text().size() > 50)
            fail("the title is longer than 50 characters");
        for (const MessageBoxRequest& box : fake.dialogs.boxes) {
            const bool question = box.text == "Save Changes?";
            const bool expected = (question && questionsAllowed > 0)
                || box.text == "Filename exists, save under another name"
                || box.text == "Unknown picture file extension (.)"; // Load with no entry picked
            if (!expected)
                fail("a box said \"" + box.text.toStdString() + "\"");
            questionsAllowed -= question;
        }
        fake.dialogs.boxes.clear();
        questionsAllowed = 0;
        // The pictures, and the recovery copy beside them, are always whole.
        // Each is looked at once, afresh: the copy may have gone since the
        // listing (QFileInfo would ask twice, and see 0 bytes in between).
        for (const auto& entry : std::filesystem::directory_iterator(".")) {
            std::error_code gone;
            const std::uintmax_t size = std::filesystem::file_size(entry.path(), gone);
            if (!gone && entry.path().extension() == ".bmp" && size != 14 + 40 + 1024 + 724 * 489)
                fail(entry.path().filename().string() + " has " + std::to_string(size) + " bytes");
        }
        if (QApplication::activeModalWidget())
            fail("a modal window stays open");
        // Still answering: a call queued now runs at the next turn of the loop.
        bool answered = false;
        QMetaObject::invokeMethod(
            &form, [&] { answered = true; }, Qt::QueuedConnection);
        QApplication::processEvents();
        if (!answered)
            fail("the event loop no longer answers");
    }

    // Every row's padding bytes stay zero: nothing was written past the
    // picture's right edge, and the picture keeps its size.
    void checkPicture(const TPicture& picture, const std::string& name)
    {
        if (picture.Width() != 721 || picture.Height() != 489)
            fail(name + " changed its size");
        const int used = picture.Width() * picture.bitsPerPixel() / 8;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = used; x < picture.stride(); ++x)
                if (picture.row(y)[x] != 0)
                    fail(name + " has a byte written past the end of row " + std::to_string(y));
    }

    UnplannedDialogCloser closer;
    SeededRandomNumbers chance;
    Program program{&chance};
    TDrawForm& form = program.form;
    FakePlatform& fake = program.fake;
    int pictures = 1;         // the names saved under so far
    int questionsAllowed = 0; // "Save Changes?" questions that the clicks of this step may ask
    std::mt19937 random;
    QPoint pointer;
    Qt::MouseButtons held;
    bool lastWasMove = false;
    bool leftReleased = false; // the last step let go of the left button
    std::deque<std::string> log;
};

// QTest notes every event it sends off the window, which the monkey means
// to send, and the offscreen platform notes what popups would ask of a
// window system.
void quietAboutWhatTheMonkeyMeans(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (message.contains("occurs outside target window") || message.startsWith("This plugin does not support"))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    qInstallMessageHandler(quietAboutWhatTheMonkeyMeans);
    unsigned seed = 1;
    int steps = 3000;
    int runs = 1;
    long seconds = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--seed")
            seed = unsigned(std::stoul(argv[i + 1]));
        else if (option == "--steps")
            steps = std::stoi(argv[i + 1]);
        else if (option == "--runs")
            runs = std::stoi(argv[i + 1]);
        else if (option == "--seconds")
            seconds = std::stol(argv[i + 1]);
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int done = 0;
    std::uint64_t digest = 0;
    do {
        Monkey monkey(seed + unsigned(done));
        try {
            monkey.run(steps);
        } catch (const Failure& failure) {
            std::fprintf(stderr, "monkey: seed %u, step %d: %s\nThe last steps:\n%s", monkey.seed, monkey.step,
                         failure.what.c_str(), monkey.lastSteps().c_str());
            return 1;
        }
        digest = monkey.pictureDigest();
        ++done;
    } while (done < runs || std::chrono::steady_clock::now() < end);
    std::printf("monkey: %d run(s) of %d steps from seed %u, nothing wrong; the last picture's digest %016llx\n", done,
                steps, seed, static_cast<unsigned long long>(digest));
    return 0;
}
