// What the main window shows over itself: the pointer, messages, About, the login prompt.
#include <QAbstractButton>
#include <QFontInfo>
#include <QMessageBox>

#include "tests/qt/MainWindowFixture.h"
#include "tests/qt/Modal.h"

namespace quorvel::qt::testing {
namespace {

TEST_F(MainWindow, HourglassEndsWithOneNormalAfterRepeatedBusy) {
  window->SetBusy(true);
  window->SetBusy(true);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  window->SetBusy(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  window->SetBusy(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindow, MessageWithoutTitleShowsProductName) {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  AnswerNextModal(
      [&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
      },
      &pollers);
  EXPECT_EQ(
      window->ShowMessage("Gone.", "", desktop::MessageIcon::Critical, desktop::MessageButtons::OK),
      desktop::MessageAnswer::OK);
  EXPECT_EQ(title, "Quorvel");
  EXPECT_EQ(text, "Gone.");
  EXPECT_EQ(icon, QMessageBox::Critical);
}

class YesNo : public MainWindow, public ::testing::WithParamInterface<bool> {};

TEST_P(YesNo, QuestionReturnsTheButtonChosen) {
  const bool yes = GetParam();
  QString title;
  AnswerNextModal(
      [&](QWidget* modal) {
        auto* box = static_cast<QMessageBox*>(modal);
        title = box->windowTitle();
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
      },
      &pollers);
  const auto answer = window->ShowMessage("Sure?", "Change", desktop::MessageIcon::Question,
                                          desktop::MessageButtons::YesNo);
  EXPECT_EQ(answer, yes ? desktop::MessageAnswer::Yes : desktop::MessageAnswer::No);
  EXPECT_EQ(title, "Change");
}

INSTANTIATE_TEST_SUITE_P(Answers, YesNo, ::testing::Bool());

TEST_F(MainWindow, AboutIsModalWithCloseButton) {
  QString caption, close;
  bool hasPicture = false, hasText = false;
  AnswerNextModal(
      [&](QWidget* modal) {
        caption = modal->windowTitle();
        hasPicture = modal->findChild<QWidget*>("Image1") != nullptr;
        hasText = modal->findChild<QWidget*>("txtInfo") != nullptr;
        auto* button = modal->findChild<QAbstractButton*>("Command1");
        if (!button) return static_cast<QDialog*>(modal)->reject();
        close = button->text();
        button->click();
      },
      &pollers);
  Action("mnuAbout")->trigger();
  EXPECT_EQ(caption, "About Quorvel");
  EXPECT_EQ(close, "Close");
  EXPECT_TRUE(hasPicture);
  EXPECT_TRUE(hasText);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindow, LoginPromptRegisteredWhenTheLibraryHasTheHook) {
  EXPECT_TRUE(window->loginPromptRegistered());
  FakeEssbaseApi realLibrary;  // no hook
  QuorvelWindow other(essbase::Generation::V5);
  desktop::frmQuorvel otherLogic(realLibrary, other, essbase::Generation::V5, backup::Place{});
  other.Attach(otherLogic);
  EXPECT_FALSE(other.loginPromptRegistered());
}

TEST_F(MainWindow, GenerationFiveBuildInitialisesWith0x50200) {
  FakeEssbaseApi api5;
  QuorvelWindow five(essbase::Generation::V5);
  desktop::frmQuorvel fiveLogic(api5, five, essbase::Generation::V5, backup::Place{});
  five.Attach(fiveLogic);
  five.menus().mnuLogin->trigger();
  EXPECT_EQ(api5.lastInitVersion, 0x50200u);
}

TEST(Fonts, ApplicationFontHasAFamily) {
  EXPECT_FALSE(QFontInfo(QApplication::font()).family().isEmpty());
}

}  // namespace
}  // namespace quorvel::qt::testing
