// answerModal on real dialogs (offscreen): what it answers, what it leaves
// alone, and the guard that closes a dialog its answer left open.
#include "modal_answer.h"

#include <QApplication>
#include <QMessageBox>

#include <gtest/gtest.h>

namespace {

class ModalAnswerTest : public ::testing::Test {
protected:
    int argc = 1;
    char programName[14] = "support_tests";
    char* argv[2] = {programName, nullptr};
    QApplication application{argc, argv};
};

TEST_F(ModalAnswerTest, AnswersTheModalDialogOfItsTypeAndLeavesOthersAlone)
{
    QWidget* answeredBox = nullptr;
    const auto boxReply = answerModal<QMessageBox>([&](QMessageBox& box) {
        answeredBox = &box;
        box.done(QMessageBox::Yes);
    });
    const auto dialogReply = answerModal<QDialog>([](QDialog& dialog) { dialog.accept(); });
    QMessageBox notModal;
    notModal.setModal(false); // a message box is modal unless told
    notModal.show();
    QDialog otherType;
    QMessageBox modal;

    EXPECT_EQ(otherType.exec(), QDialog::Accepted);
    EXPECT_TRUE(dialogReply.answered());
    ASSERT_FALSE(boxReply.answered()) << "a plain QDialog or a box without modality was answered";

    EXPECT_EQ(modal.exec(), QMessageBox::Yes);
    EXPECT_TRUE(boxReply.answered());
    EXPECT_FALSE(boxReply.stayedOpen());
    EXPECT_EQ(answeredBox, &modal);
}

TEST_F(ModalAnswerTest, ClosesADialogThatItsAnswerLeftOpenAndSaysSo)
{
    QDialog dialog;
    const auto reply = answerModal<QDialog>([](QDialog&) {}, std::chrono::milliseconds(0)); // looks, does nothing
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_TRUE(reply.answered());
    EXPECT_TRUE(reply.stayedOpen());
}

} // namespace
