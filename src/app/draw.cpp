// Scribbo: creates the main window and the three dialogs, runs the event
// loop, and puts the display back when it ends.
#include "Confirm.h"
#include "application.h"
#include "brisko_drawu.h"
#include "clock_seeded_random_numbers.h"
#include "desktop_document_opener.h"
#include "dialog_placement.h"
#include "loadpicu.h"
#include "printer_on_first_use.h"
#include "qt_dialogs.h"
#include "recovery.h"
#include "saveu.h"
#include "session_bus.h"
#include "termination_signals.h"
#include "xrandr_display_mode.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QSettings>
#include <QTemporaryDir>
#include <fontconfig/fontconfig.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Whoever starts Scribbo may pick Qt's platform themselves, as for any Qt
// program: QT_QPA_PLATFORM, or -platform (also --platform) on the command line.
bool platformAskedFor(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    for (int index = 1; index < argc; ++index) {
        const std::string_view argument = argv[index];
        if (argument == "-platform" || argument == "--platform")
            return true;
    }
    return false;
}

// The display-mode switch, the cursors and the window's place are X11
// features, so an X display that answers (Xwayland's too) is taken first;
// without one, Wayland. The choice goes to Qt on its command line: in the
// environment the programs Scribbo starts (the help page's browser) would
// inherit it.
std::vector<char*> withPreferredPlatform(int argc, char* argv[])
{
    static char option[] = "-platform";
    static char preference[] = "xcb;wayland";
    std::vector<char*> arguments(argv, argv + argc);
    if (argc > 0 && !platformAskedFor(argc, argv))
        arguments.insert(arguments.begin() + 1, {option, preference});
    arguments.push_back(nullptr);
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    // Fontconfig reads its configuration on the second core while Qt
    // connects to the display: the first text drawn needs it.
    std::thread fontConfiguration([] { FcInit(); });
    // The window is drawn at one scale of Scribbo's own, the largest at which
    // its layout fits the screen; Qt's scaling from the desktop's font
    // resolution or from the environment would come on top of it.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    // Nothing is logged: Qt's own notes would end up in a terminal or the
    // session's log, never in front of the child. QT_LOGGING_RULES, which
    // these rules give way to, turns them on again for whoever looks into a
    // problem (the end-to-end tests do).
    QLoggingCategory::setFilterRules("*.debug=false\n*.info=false\n*.warning=false\n*.critical=false");
    std::vector<char*> arguments = withPreferredPlatform(argc, argv);
    int argumentCount = int(arguments.size()) - 1;
    QApplication application(argumentCount, arguments.data());
    lookForAccessibilityWithoutStartingABus();
    // Desktops find the menu entry, and its icon, for the window by this name.
    QGuiApplication::setDesktopFileName("org.scribbo.Scribbo");
    installFontSubstitutes();
    sizeDefaultFontInPixels();
    // Scribbo keeps nothing between runs: whatever Qt itself would store
    // (the colour chooser's custom colours) goes to a folder removed at exit.
    const QTemporaryDir throwawaySettings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, throwawaySettings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, throwawaySettings.path());

    XRandrDisplayMode display;
    DesktopDocumentOpener documents;
    QtDialogs dialogs;
    ClockSeededRandomNumbers random;
    PrinterOnFirstUse printer;
    Platform platform{display, documents, dialogs, random, printer};
    // Ended by a signal (logout, shutdown, a terminal), the program keeps
    // unsaved work in a file of its own and leaves by the normal way out,
    // asking nothing: nobody may be there to answer.
    TerminationSignals terminationSignals([] {
        beginSessionEnd(); // a dialog waiting for an answer gets none
        if (DrawForm)
            DrawForm->keepUnsavedPicture(std::time(nullptr));
        QApplication::exit(0);
    });
    // When the X server goes away (the session ends with it), Qt ends the
    // process with exit() from inside the event loop: the window is still
    // there, and its unsaved work is kept on the way out.
    std::atexit([] {
        if (DrawForm)
            DrawForm->keepUnsavedPicture(std::time(nullptr));
    });

    // A file-size limit makes a write fail, which a save reports, instead of
    // ending the program in the middle of it.
    std::signal(SIGXFSZ, SIG_IGN);

    fontConfiguration.join();
    runGuarded(dialogs, [&] { DrawForm = new TDrawForm(platform); });
    // The dialogs are made over the main window when first opened.
    ConfirmBox.makeWith([&dialogs] { return new TConfirmBox(DrawForm, dialogs); });
    LoadPic.makeWith([&dialogs] { return new TLoadPic(DrawForm, dialogs); });
    SaveBox.makeWith([&dialogs] { return new TSaveBox(DrawForm, dialogs); });
    setDialogArea([] { return DrawForm ? DrawForm->layoutArea() : QRect(); });
    if (!DrawForm)
        return 1;
    DrawForm->showOnPrimaryScreen();
    recoverEarlierWork(dialogs);
    const int status = application.exec();
    // Ended the normal way: whatever was not saved was given up on purpose.
    delete std::exchange(DrawForm, nullptr); // runs FormDestroy, which asks for the old display mode
    return status;
}
