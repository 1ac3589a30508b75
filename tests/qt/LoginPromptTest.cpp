#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <array>
#include <cstring>
#include <string>

#include "desktop/qt/LoginPrompt.h"
#include "tests/qt/Modal.h"

namespace quorvel::qt {
namespace {

using testing::AnswerNextModal;

constexpr char Canary = '\x5a';
constexpr size_t Guard = 16;

// A library-owned buffer of `size` bytes followed by guard bytes that the
// prompt must never touch.
template <size_t Size>
struct Buffer {
  std::array<char, Size + Guard> bytes{};
  explicit Buffer(const std::string& text) {
    bytes.fill(Canary);
    std::memcpy(bytes.data(), text.c_str(), std::min(text.size() + 1, Size));
  }
  char* data() { return bytes.data(); }
  std::string text() const { return std::string(bytes.data(), strnlen(bytes.data(), Size)); }
  bool terminated() const { return std::memchr(bytes.data(), '\0', Size) != nullptr; }
  bool guardIntact() const {
    for (size_t i = Size; i < Size + Guard; ++i)
      if (bytes[i] != Canary) return false;
    return true;
  }
};

using NameBuf = Buffer<ESB_NAME_BUFFER>;
using PasswordBuf = Buffer<ESB_PASSWORD_BUFFER>;

TEST(WriteBack, LongAnswerCutWithinBufferAndTerminated) {
  NameBuf server("");
  WriteBack(QString(45, 'S'), server.data(), ESB_NAME_BUFFER);
  EXPECT_EQ(server.text(), std::string(ESB_NAME_WIDTH, 'S'));
  EXPECT_TRUE(server.terminated());
  EXPECT_TRUE(server.guardIntact());
}

TEST(WriteBack, CharacterOutsideSingleByteRangeBecomesQuestionMark) {
  NameBuf user("");
  WriteBack(QString::fromUtf8("J\u00f6rg\u4e2d"), user.data(), ESB_NAME_BUFFER);
  EXPECT_EQ(user.text(), "J\xf6rg?");
}

TEST(WriteBack, ZeroSizedBufferUntouched) {
  char byte = Canary;
  WriteBack("x", &byte, 0);
  EXPECT_EQ(byte, Canary);
}

TEST(ReadIn, BlankPaddedServerShownEmpty) {
  NameBuf server(std::string(ESB_NAME_WIDTH, ' '));
  EXPECT_TRUE(ReadIn(server.data(), ESB_NAME_BUFFER).isEmpty());
}

TEST(ReadIn, UnterminatedBufferReadOnlyToItsSize) {
  std::array<char, 8> field;
  field.fill('A');
  EXPECT_EQ(ReadIn(field.data(), 4).toStdString(), "AAAA");
}

class LoginPromptDialog : public ::testing::Test {
 protected:
  void TearDown() override {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  }
  LoginPrompt prompt{nullptr};
  NameBuf server{std::string(ESB_NAME_WIDTH, ' ')};
  NameBuf user{"demo"};
  PasswordBuf password{""};
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
  LoginPrompt::Ask(&prompt, server.data(), user.data(), password.data());
  EXPECT_EQ(shownServer, "");
  EXPECT_EQ(shownUser, "demo");
}

TEST_F(LoginPromptDialog, OkWritesAnswersBackWithinBufferSizes) {
  AnswerNextModal([](QWidget* modal) {
    auto* dialog = static_cast<LoginDialog*>(modal);
    // Longer than any field: the dialog may cut it, the write-back must.
    dialog->server()->setText(QString(60, 's'));
    dialog->user()->setText("administrator");
    dialog->password()->setText(QString(150, 'p'));
    dialog->accept();
  });
  EXPECT_EQ(LoginPrompt::Ask(&prompt, server.data(), user.data(), password.data()), 0);
  EXPECT_EQ(server.text(), std::string(ESB_NAME_WIDTH, 's'));
  EXPECT_EQ(user.text(), "administrator");
  EXPECT_EQ(password.text(), std::string(ESB_PASSWORD_WIDTH, 'p'));
  EXPECT_TRUE(server.terminated() && user.terminated() && password.terminated());
  EXPECT_TRUE(server.guardIntact() && user.guardIntact() && password.guardIntact());
}

TEST_F(LoginPromptDialog, CancelReturnsNonZeroAndLeavesBuffers) {
  AnswerNextModal([](QWidget* modal) {
    static_cast<LoginDialog*>(modal)->user()->setText("someone");
    static_cast<QDialog*>(modal)->reject();
  });
  EXPECT_NE(LoginPrompt::Ask(&prompt, server.data(), user.data(), password.data()), 0);
  EXPECT_EQ(user.text(), "demo");
  EXPECT_EQ(server.text(), std::string(ESB_NAME_WIDTH, ' '));
}

TEST_F(LoginPromptDialog, NormalPointerWhileTypingHourglassAfter) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  Qt::CursorShape whileShown = Qt::WaitCursor;
  AnswerNextModal([&](QWidget* modal) {
    whileShown = QApplication::overrideCursor()->shape();
    static_cast<QDialog*>(modal)->accept();
  });
  LoginPrompt::Ask(&prompt, server.data(), user.data(), password.data());
  EXPECT_EQ(whileShown, Qt::ArrowCursor);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
}

TEST_F(LoginPromptDialog, EnterOnPrefilledPromptAccepts) {
  NameBuf filledServer("demosrv");
  PasswordBuf filledPassword("demo");
  AnswerNextModal([](QWidget* modal) {
    QWidget* focus = modal->focusWidget();
    ASSERT_NE(focus, nullptr);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(focus, &enter);
    if (QApplication::activeModalWidget() == modal) static_cast<QDialog*>(modal)->reject();
  });
  EXPECT_EQ(LoginPrompt::Ask(&prompt, filledServer.data(), user.data(), filledPassword.data()), 0);
  EXPECT_EQ(filledServer.text(), "demosrv");
  EXPECT_EQ(filledPassword.text(), "demo");
}

}  // namespace
}  // namespace quorvel::qt
