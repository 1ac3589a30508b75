// The Change dialog and the Preview window on screen, and the main window
// refusing input while a change runs.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>

#include "desktop/Messages.h"
#include "desktop/frmQuorvel.h"
#include "desktop/qt/ChangeDialog.h"
#include "desktop/qt/ListControl.h"
#include "desktop/qt/NodeListModel.h"
#include "desktop/qt/QuorvelWindow.h"
#include "tests/qt/MainWindowFixture.h"
#include "tests/qt/Modal.h"
#include "tests/support/FakeEssbaseApi.h"

namespace quorvel::qt {
namespace {

using testing::AnswerNextModal;

class ChangeWindow : public testing::MainWindow {
 protected:
  void AddContent() override {
    api.AddFilter("Sample", "Basic", "f1", {{273, "East"}, {273, "West"}});
    api.AddFilter("Sample", "Basic", "f2", {{0, "eastern"}});
  }
  void LoginAndChooseSampleBasic() {
    Action("mnuLogin")->trigger();
    window->logic().tree_NodeClick(window->logic().tree().Find("Db:Sample-Basic"));
    ASSERT_EQ(window->logic().filters().Count(), 2);
  }
  template <typename T>
  static T* Child(QWidget* parent, const char* name) {
    return parent->findChild<T*>(name);
  }
};

TEST_F(ChangeWindow, DialogShowsItsControlsWithReadChosenOnFirstUse) {
  QString title, search, access, ok, cancel, preview;
  QStringList items, labels;
  bool okDefault = false, fixed = false;
  AnswerNextModal(
      [&](QWidget* modal) {
        title = modal->windowTitle();
        search = Child<QLineEdit>(modal, "txtSearch")->text();
        auto* combo = Child<QComboBox>(modal, "cboAccess");
        for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
        access = combo->currentText();
        for (auto* label : modal->findChildren<QLabel*>()) labels << label->text();
        auto* okButton = Child<QPushButton>(modal, "cmdOK");
        ok = okButton->text();
        okDefault = okButton->isDefault();
        cancel = Child<QPushButton>(modal, "cmdCancel")->text();
        preview = Child<QPushButton>(modal, "cmdPreview")->text();
        fixed = modal->layout()->sizeConstraint() == QLayout::SetFixedSize;
        Child<QPushButton>(modal, "cmdCancel")->click();
      },
      &pollers);
  desktop::ChangeDialogValues values;
  EXPECT_FALSE(window->ShowChangeDialog(values, nullptr));
  EXPECT_EQ(title, "Change Filter");
  EXPECT_EQ(search, "");
  EXPECT_EQ(items, (QStringList{"None", "Read", "Write"}));
  EXPECT_EQ(access, "Read");
  EXPECT_TRUE(labels.contains("&Search For:"));
  EXPECT_TRUE(labels.contains("&Change Access To:"));
  EXPECT_EQ(ok, "Continue");
  EXPECT_TRUE(okDefault);
  EXPECT_EQ(cancel, "Cancel");
  EXPECT_EQ(preview, "&Preview");
  EXPECT_TRUE(fixed);
}

class DialogKeys : public ChangeWindow, public ::testing::WithParamInterface<bool> {};

TEST_P(DialogKeys, EnterContinuesAndEscapeCancelsKeepingTheEdits) {
  const bool enter = GetParam();
  AnswerNextModal(
      [&](QWidget* modal) {
        auto* search = Child<QLineEdit>(modal, "txtSearch");
        QTest::keyClicks(search, "East");
        Child<QComboBox>(modal, "cboAccess")->setCurrentIndex(2);
        QTest::keyClick(search, enter ? Qt::Key_Return : Qt::Key_Escape);
        if (modal->isVisible()) static_cast<QDialog*>(modal)->reject();
      },
      &pollers);
  desktop::ChangeDialogValues values;
  EXPECT_EQ(window->ShowChangeDialog(values, nullptr), enter);
  EXPECT_EQ(values.searchText, "East");
  EXPECT_EQ(values.accessText, "Write");
}

INSTANTIATE_TEST_SUITE_P(EnterOrEscape, DialogKeys, ::testing::Bool());

TEST_F(ChangeWindow, SecondUseShowsTheValuesOfTheFirstInTheSameDialog) {
  LoginAndChooseSampleBasic();
  AnswerNextModal(
      [&](QWidget* modal) {
        QTest::keyClicks(Child<QLineEdit>(modal, "txtSearch"), "west");
        Child<QComboBox>(modal, "cboAccess")->setCurrentIndex(0);
        Child<QPushButton>(modal, "cmdCancel")->click();
      },
      &pollers);
  Action("mnuChange")->trigger();
  ChangeDialog* first = window->changeDialog();
  ASSERT_NE(first, nullptr);
  QString search, access;
  AnswerNextModal(
      [&](QWidget* modal) {
        search = Child<QLineEdit>(modal, "txtSearch")->text();
        access = Child<QComboBox>(modal, "cboAccess")->currentText();
        static_cast<QDialog*>(modal)->reject();  // closing counts as Cancel
      },
      &pollers);
  Action("mnuChange")->trigger();
  EXPECT_EQ(window->changeDialog(), first);
  EXPECT_EQ(search, "west");
  EXPECT_EQ(access, "None");
  EXPECT_EQ(api.CountCalls("EsbSetFilter"), 0);
}

TEST_F(ChangeWindow, PreviewOpensAResizableTableOverTheDialogAndWritesNothing) {
  LoginAndChooseSampleBasic();
  int rows = -1, columns = -1;
  QString title, firstRow, summary;
  bool resizable = false, dialogStillOpen = false;
  AnswerNextModal(
      [&](QWidget* dialog) {
        QTest::keyClicks(Child<QLineEdit>(dialog, "txtSearch"), "EAST");
        AnswerNextModal(
            [&](QWidget* preview) {
              title = preview->windowTitle();
              auto* table = Child<QTableView>(preview, "tblRows");
              rows = table->model()->rowCount();
              columns = table->model()->columnCount();
              firstRow = table->model()->index(0, 2).data().toString() + "|" +
                         table->model()->index(0, 3).data().toString() + "|" +
                         table->model()->index(0, 4).data().toString() + "|" +
                         table->model()->index(0, 5).data().toString();
              summary = Child<QLabel>(preview, "lblSummary")->text();
              resizable = preview->minimumSize() != preview->maximumSize();
              Child<QPushButton>(preview, "cmdClose")->click();
            },
            &pollers);
        Child<QPushButton>(dialog, "cmdPreview")->click();
        dialogStillOpen = dialog->isVisible();
        Child<QPushButton>(dialog, "cmdCancel")->click();
      },
      &pollers);
  Action("mnuChange")->trigger();
  EXPECT_EQ(title, "Change Filter Preview");
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(columns, 6);
  EXPECT_EQ(firstRow, "f1|East|Read|Read");
  EXPECT_TRUE(summary.startsWith("2 rows match; 2 filters")) << summary.toStdString();
  EXPECT_TRUE(resizable);
  EXPECT_TRUE(dialogStillOpen);
  EXPECT_EQ(api.CountCalls("EsbSetFilter"), 0);
  EXPECT_EQ(window->logic().state().changeDialog.searchText, "EAST");
}

TEST_F(ChangeWindow, MainWindowRefusesInputWhileTheChangeRuns) {
  LoginAndChooseSampleBasic();
  bool heldDuringRun = false;
  QString progress;
  int logins = 0;
  api.onCall = [&](const essbase::testing::FakeCall& call) {
    if (call.name != "EsbSetFilter" || !progress.isEmpty()) return;
    heldDuringRun = window->inputHeld();
    progress = window->progressText();
    logins = api.CountCalls("EsbAutoLogin");
    QTest::mouseClick(window->chkAll(), Qt::LeftButton);
    QTest::keyClick(window->tree(), Qt::Key_L, Qt::ControlModifier);
    QTest::keyClick(window->filters(), Qt::Key_D, Qt::ControlModifier);
    QCoreApplication::processEvents();
  };
  QString result;
  AnswerNextModal(
      [&](QWidget* dialog) {
        QTest::keyClicks(Child<QLineEdit>(dialog, "txtSearch"), "east");
        AnswerNextModal(
            [&](QWidget* question) {
              AnswerNextModal(
                  [&](QWidget* done) {
                    auto* box = qobject_cast<QMessageBox*>(done);
                    if (!box) return static_cast<QDialog*>(done)->reject();
                    result = box->text();
                    box->button(QMessageBox::Ok)->click();
                  },
                  &pollers);
              static_cast<QMessageBox*>(question)->button(QMessageBox::Yes)->click();
            },
            &pollers);
        Child<QPushButton>(dialog, "cmdOK")->click();
      },
      &pollers);
  Action("mnuChange")->trigger();
  EXPECT_TRUE(heldDuringRun);
  EXPECT_EQ(progress, "Writing filters: 1 of 2");
  EXPECT_EQ(result, "2 filters have been changed!");
  EXPECT_EQ(window->logic().chkAll(), 0);
  EXPECT_FALSE(window->chkAll()->isChecked());
  EXPECT_EQ(api.CountCalls("EsbAutoLogin"), logins);
  EXPECT_TRUE(window->logic().filters().Checked(1));
  EXPECT_FALSE(window->inputHeld());
  EXPECT_EQ(window->progressText(), "");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ChangeWindow, SearchTextOutsideEightBitIsNamedAndKeptForCorrection) {
  LoginAndChooseSampleBasic();
  QString refused, again;
  AnswerNextModal(
      [&](QWidget* dialog) {
        Child<QLineEdit>(dialog, "txtSearch")->setText(QString::fromUtf8("Ost\u20ACuro"));
        AnswerNextModal(
            [&](QWidget* box) {
              refused = static_cast<QMessageBox*>(box)->text();
              AnswerNextModal(
                  [&](QWidget* shownAgain) {
                    again = Child<QLineEdit>(shownAgain, "txtSearch")->text();
                    static_cast<QDialog*>(shownAgain)->reject();
                  },
                  &pollers);
              static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
            },
            &pollers);
        Child<QPushButton>(dialog, "cmdOK")->click();
      },
      &pollers);
  Action("mnuChange")->trigger();
  EXPECT_EQ(refused.toStdString(), desktop::msg::SearchTextNotHeld(0x20AC, 4));
  EXPECT_EQ(again, QString::fromUtf8("Ost\u20ACuro"));
  EXPECT_EQ(api.CountCalls("EsbGetFilter"), 0);
}

// Closing the window under the retry question must neither answer it nor
// cut the run short: the window closes once the command is done.
TEST_F(ChangeWindow, ClosingTheWindowDuringARunWaitsForTheRunToEnd) {
  LoginAndChooseSampleBasic();
  api.Fail("EsbSetFilterRow", 1042, 1);
  bool stillAsking = false, closedEarly = true;
  AnswerNextModal(
      [&](QWidget* dialog) {
        AnswerNextModal(
            [&](QWidget* question) {
              AnswerNextModal(
                  [&](QWidget* retry) {
                    window->close();
                    QCoreApplication::processEvents();
                    stillAsking = retry->isVisible();
                    closedEarly = !window->isVisible();
                    static_cast<QMessageBox*>(retry)->button(QMessageBox::Cancel)->click();
                  },
                  &pollers);
              static_cast<QMessageBox*>(question)->button(QMessageBox::Yes)->click();
            },
            &pollers);
        Child<QPushButton>(dialog, "cmdOK")->click();
      },
      &pollers);
  Action("mnuChange")->trigger();
  EXPECT_TRUE(stillAsking);
  EXPECT_FALSE(closedEarly);
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(window->closeWaiting());
}

}  // namespace
}  // namespace quorvel::qt
