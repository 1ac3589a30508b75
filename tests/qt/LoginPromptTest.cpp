#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <string>

#include "desktop/qt/LoginPrompt.h"
#include "tests/qt/Modal.h"

namespace quorvel::qt {
namespace {

using testing::AnswerNextModal;

class LoginPromptDialog : public ::testing::Test {
 protected:
  void TearDown() override {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  }
  LoginPrompt prompt{nullptr};
  std::string server = std::string(30, ' ');
  std::string user = "demo";
  std::string password;
};

TEST_F(LoginPromptDialog, OffersUserAgainWithServerBlank) {
  QString shownServer = "unset", shownUser;
  AnswerNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<LoginDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    shownServer = dialog->server()->text();
    shownUser = dialog->user()->text();
    dialog->reject();
  });
  prompt.Ask(server, user, password);
  EXPECT_EQ(shownServer, "");
  EXPECT_EQ(shownUser, "demo");
}

// The answers come back as typed, any character included; a library's
// fields are the session's business.
TEST_F(LoginPromptDialog, OkGivesTheAnswersBackAsTyped) {
  AnswerNextModal([](QWidget* modal) {
    auto* dialog = static_cast<LoginDialog*>(modal);
    dialog->server()->setText("https://essbase.example.com:9001/essbase");
    dialog->user()->setText(QString::fromUtf8("J\u00f6rg\u4e2d"));
    dialog->password()->setText("s3cret");
    dialog->accept();
  });
  EXPECT_EQ(prompt.Ask(server, user, password), 0);
  EXPECT_EQ(server, "https://essbase.example.com:9001/essbase");
  EXPECT_EQ(user, "J\u00f6rg\u4e2d");
  EXPECT_EQ(password, "s3cret");
}

TEST_F(LoginPromptDialog, OkRefusedForANameLongerThanALibraryFieldButNotForAUrl) {
  bool okForName = true, okForUrl = false;
  AnswerNextModal([&](QWidget* modal) {
    auto* dialog = static_cast<LoginDialog*>(modal);
    QPushButton* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    dialog->server()->setText(QString(31, 's'));
    okForName = ok->isEnabled();
    dialog->server()->setText("http://" + QString(200, 'h'));
    okForUrl = ok->isEnabled();
    dialog->reject();
  });
  prompt.Ask(server, user, password);
  EXPECT_FALSE(okForName);
  EXPECT_TRUE(okForUrl);
}

TEST_F(LoginPromptDialog, CancelReturnsNonZeroAndLeavesBuffers) {
  AnswerNextModal([](QWidget* modal) {
    static_cast<LoginDialog*>(modal)->user()->setText("someone");
    static_cast<QDialog*>(modal)->reject();
  });
  EXPECT_NE(prompt.Ask(server, user, password), 0);
  EXPECT_EQ(user, "demo");
  EXPECT_EQ(server, std::string(30, ' '));
}

TEST_F(LoginPromptDialog, NormalPointerWhileTypingHourglassAfter) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  Qt::CursorShape whileShown = Qt::WaitCursor;
  AnswerNextModal([&](QWidget* modal) {
    whileShown = QApplication::overrideCursor()->shape();
    static_cast<QDialog*>(modal)->accept();
  });
  prompt.Ask(server, user, password);
  EXPECT_EQ(whileShown, Qt::ArrowCursor);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
}

TEST_F(LoginPromptDialog, EnterOnPrefilledPromptAccepts) {
  std::string filledServer = "demosrv";
  std::string filledPassword = "demo";
  AnswerNextModal([](QWidget* modal) {
    QWidget* focus = modal->focusWidget();
    ASSERT_NE(focus, nullptr);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(focus, &enter);
    if (QApplication::activeModalWidget() == modal) static_cast<QDialog*>(modal)->reject();
  });
  EXPECT_EQ(prompt.Ask(filledServer, user, filledPassword), 0);
  EXPECT_EQ(filledServer, "demosrv");
  EXPECT_EQ(filledPassword, "demo");
}

}  // namespace
}  // namespace quorvel::qt
