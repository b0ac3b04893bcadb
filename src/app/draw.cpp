// Scribbo: creates the main window and the three dialogs, runs the event
// loop, and puts the display back when it ends.
#include "Confirm.h"
#include "application.h"
#include "brisko_drawu.h"
#include "clock_seeded_random_numbers.h"
#include "desktop_document_opener.h"
#include "loadpicu.h"
#include "qt_dialogs.h"
#include "saveu.h"
#include "termination_signals.h"
#include "xrandr_display_mode.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QSettings>
#include <QTemporaryDir>
#include <fontconfig/fontconfig.h>

#include <thread>

int main(int argc, char* argv[])
{
    // Fontconfig reads its configuration on the second core while Qt
    // connects to the display: the first text drawn needs it.
    std::thread fontConfiguration([] { FcInit(); });
    // One picture pixel is one screen pixel, whatever the desktop's scale.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    // Nothing is logged: Qt's own notes would end up in a terminal or the
    // session's log, never in front of the child. QT_LOGGING_RULES, which
    // these rules give way to, turns them on again for whoever looks into a
    // problem (the end-to-end tests do).
    QLoggingCategory::setFilterRules("*.debug=false\n*.info=false\n*.warning=false\n*.critical=false");
    QApplication application(argc, argv);
    installFontSubstitutes();
    // Scribbo keeps nothing between runs: whatever Qt itself would store
    // (the colour chooser's custom colours) goes to a folder removed at exit.
    const QTemporaryDir throwawaySettings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, throwawaySettings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, throwawaySettings.path());

    XRandrDisplayMode display;
    DesktopDocumentOpener documents;
    QtDialogs dialogs;
    ClockSeededRandomNumbers random;
    Platform platform{display, documents, dialogs, random};
    // Ended by a signal (logout, shutdown, a terminal), the program keeps
    // unsaved work in a file of its own and leaves by the normal way out,
    // asking nothing: nobody may be there to answer.
    TerminationSignals terminationSignals([] {
        if (DrawForm)
            DrawForm->keepUnsavedPicture();
        QApplication::exit(0);
    });

    fontConfiguration.join();
    runGuarded(dialogs, [&] {
        DrawForm = new TDrawForm(platform);
        ConfirmBox = new TConfirmBox(DrawForm);
        LoadPic = new TLoadPic(DrawForm);
        SaveBox = new TSaveBox(DrawForm, dialogs);
    });
    if (!DrawForm)
        return 1;
    DrawForm->showOnPrimaryScreen();
    const int status = application.exec();
    delete DrawForm; // runs FormDestroy, which asks for the old display mode
    return status;
}
