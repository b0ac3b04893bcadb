// Answers a modal dialog that the code under test opens and waits on
// (QDialog::exec, a modal QMessageBox) the way a person would: once it is up,
// from inside the dialog's own event loop. Header-only, so that test_support
// itself needs no Qt.
//
//     const auto reply = answerModal<QMessageBox>([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
//     const TModalResult result = dialogs.messageBox(request);
//     EXPECT_TRUE(reply.answered());
//     EXPECT_FALSE(reply.stayedOpen());
#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <concepts>
#include <functional>
#include <stdexcept>
#include <utility>

// While it lives, answers the first modal widget of type Dialog (or derived
// from it) shown from then on, once; later ones are left alone.
template <std::derived_from<QWidget> Dialog>
class ModalAnswer {
public:
    // Guards against an answer that leaves the dialog open; not a measure of speed.
    static constexpr std::chrono::milliseconds defaultGuard{5000};

    // Throws std::logic_error when there is no application object yet.
    explicit ModalAnswer(std::function<void(Dialog&)> answer, std::chrono::milliseconds guard = defaultGuard)
        : watcher(std::move(answer), guard)
    {
    }

    // The watcher's callbacks hold its address.
    ModalAnswer(const ModalAnswer&) = delete;
    ModalAnswer& operator=(const ModalAnswer&) = delete;

    bool answered() const { return watcher.answered; }
    // The dialog was still open a guard's time after the answer, so the guard
    // closed it (a QDialog with Rejected, any other widget hidden): a failure.
    bool stayedOpen() const { return watcher.stayedOpen; }

private:
    // An event filter on the application, so it sees every widget being shown.
    class Watcher : public QObject {
    public:
        Watcher(std::function<void(Dialog&)> answerFunction, std::chrono::milliseconds guardTime)
            : answer(std::move(answerFunction)), guard(guardTime)
        {
            QCoreApplication* application = QCoreApplication::instance();
            if (!application)
                throw std::logic_error("answering a modal dialog needs the application object");
            application->installEventFilter(this);
        }

        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() != QEvent::Show || answered)
                return false;
            auto* dialog = dynamic_cast<Dialog*>(watched); // the program's own dialogs have no meta-object
            if (!dialog || !dialog->isModal())
                return false;
            candidate = dialog;
            // The Show event comes before the window is up and exec() waits:
            // a queued call runs once the dialog's own event loop does.
            if (!queued) {
                queued = true;
                QMetaObject::invokeMethod(
                    this, [this] { answerCandidate(); }, Qt::QueuedConnection);
            }
            return false;
        }

        void answerCandidate()
        {
            queued = false;
            const QPointer<Dialog> dialog = candidate;
            if (!dialog || !dialog->isVisible())
                return; // gone before it could be answered: wait for the next
            answered = true;
            answer(*dialog);
            if (dialog && dialog->isVisible())
                QTimer::singleShot(guard, this, [this, dialog] { closeIfOpen(dialog); });
        }

        void closeIfOpen(const QPointer<Dialog>& dialog)
        {
            if (!dialog || !dialog->isVisible())
                return;
            stayedOpen = true; // end the test, do not hang it
            if (auto* modalDialog = dynamic_cast<QDialog*>(dialog.data()))
                modalDialog->done(QDialog::Rejected);
            else
                dialog->hide();
        }

        std::function<void(Dialog&)> answer;
        std::chrono::milliseconds guard;
        QPointer<Dialog> candidate;
        bool queued = false;
        bool answered = false;
        bool stayedOpen = false;
    };

    Watcher watcher;
};

// answerModal<QMessageBox>(...) reads better than the constructor at the call.
template <std::derived_from<QWidget> Dialog>
ModalAnswer<Dialog> answerModal(std::function<void(Dialog&)> answer,
                                std::chrono::milliseconds guard = ModalAnswer<Dialog>::defaultGuard)
{
    return ModalAnswer<Dialog>(std::move(answer), guard);
}
