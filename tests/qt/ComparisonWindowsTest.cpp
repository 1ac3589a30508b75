// Compare with File's window and the Backups window on screen, over the
// fake server: what each table shows, the check box that hides the filters
// that are the same, and a restore from the Backups window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>

#include "backup/TakeBackup.h"
#include "desktop/qt/ComparisonTable.h"
#include "tests/qt/MainWindowFixture.h"
#include "tests/qt/Modal.h"

namespace quorvel::qt {
namespace {

using testing::AnswerNextModal;

class ComparisonWindows : public testing::MainWindow {
 protected:
  void AddContent() override {
    api.AddFilter("Sample", "Basic", "f1", {{273, "East"}, {273, "West"}});
    api.AddFilter("Sample", "Basic", "f2", {{0, "x"}});
  }
  void LoginAndChooseSampleBasic() {
    Action("mnuLogin")->trigger();
    window->logic().tree_NodeClick(window->logic().tree().Find("Db:Sample-Basic"));
  }
  // A table's cells of one line, joined by "|".
  static std::string Line(QTableView* table, int row) {
    std::string out;
    for (int c = 0; c < table->model()->columnCount(); ++c)
      out += (c ? "|" : "") + table->model()->index(row, c).data().toString().toStdString();
    return out;
  }
  int Writes() const {
    return api.CountCalls("EsbSetFilter") + api.CountCalls("EsbSetFilterRow") +
           api.CountCalls("EsbDeleteFilter");
  }
};

TEST_F(ComparisonWindows, CompareWindowCannotHideTheFiltersThatAreTheSame) {
  LoginAndChooseSampleBasic();
  const std::string file = stateHome / "in.txt";
  support::WriteFile(file,
                     "a\tb\tf1\t273\tEast\r\r\na\tb\tf1\t275\tWest\r\r\na\tb\tf2\t0\tx\r\r\n");
  window->logic().cdForm().FileName = file;
  std::string title, summary, first;
  int all = -1, differing = -1;
  bool resizable = false;
  AnswerNextModal(
      [&](QWidget* chooser) {
        AnswerNextModal(
            [&](QWidget* shown) {
              title = shown->windowTitle().toStdString();
              auto* comparison = shown->findChild<ComparisonTable*>();
              summary = comparison->summary()->text().toStdString();
              all = comparison->table()->model()->rowCount();
              first = Line(comparison->table(), 0);
              comparison->onlyDifferences()->click();
              differing = comparison->table()->model()->rowCount();
              resizable = shown->minimumSize() != shown->maximumSize();
              shown->findChild<QPushButton*>("cmdClose")->click();
            },
            &pollers);
        static_cast<QDialog*>(chooser)->accept();
      },
      &pollers);
  Action("mnuCompare")->trigger();
  EXPECT_EQ(title, "Compare with File");
  EXPECT_EQ(all, 2);
  EXPECT_EQ(differing, 1);
  EXPECT_EQ(first, "f1|row access changed|West|Read|Write");
  EXPECT_EQ(summary.rfind("Sample/Basic against " + file + ": 1 filter would change", 0), 0u)
      << summary;
  EXPECT_TRUE(resizable);
  EXPECT_EQ(Writes(), 0);
}

TEST_F(ComparisonWindows, BackupsWindowRestoresAnUnreadableBackupOrNotTheSelectedOne) {
  LoginAndChooseSampleBasic();
  const std::string folder = stateHome / "backups";
  const backup::BackupOutcome saved =
      backup::SaveCopies({"delete", window->logic().connection().Server, {}},
                         {{"Sample", "Basic", "f2", 1, 375, {{0, "y"}}}}, {folder});
  ASSERT_EQ(saved.result, backup::BackupResult::Written) << saved.reason;
  support::WriteFile(folder + "/29991231-235959_fakesrv_delete_Sample-Basic.info", "nonsense\n");
  api.ClearCalls();

  int backups = -1;
  bool restoreOnUnreadable = true, restoreOnReadable = false;
  std::string unreadable, changes, question, told;
  AnswerNextModal(
      [&](QWidget* shown) {
        auto* list = shown->findChild<QTableView*>("tblBackups");
        auto* comparison = shown->findChild<ComparisonTable*>();
        auto* restore = shown->findChild<QPushButton*>("cmdRestore");
        backups = list->model()->rowCount();
        // The newest, listed first and selected, cannot be read.
        restoreOnUnreadable = restore->isEnabled();
        unreadable = comparison->summary()->text().toStdString();
        list->selectRow(1);
        restoreOnReadable = restore->isEnabled();
        changes = Line(comparison->table(), 0) + "\n" + Line(comparison->table(), 1);
        AnswerNextModal(
            [&](QWidget* asked) {
              auto* box = qobject_cast<QMessageBox*>(asked);
              if (!box) return static_cast<QDialog*>(asked)->reject();
              question = box->text().toStdString();
              AnswerNextModal(
                  [&](QWidget* done) {
                    auto* info = qobject_cast<QMessageBox*>(done);
                    if (!info) return static_cast<QDialog*>(done)->reject();
                    told = info->text().toStdString();
                    info->button(QMessageBox::Ok)->click();
                  },
                  &pollers);
              box->button(QMessageBox::Yes)->click();
            },
            &pollers);
        restore->click();
        shown->findChild<QPushButton*>("cmdClose")->click();
      },
      &pollers);
  Action("mnuRestore")->trigger();
  EXPECT_EQ(backups, 2);
  EXPECT_FALSE(restoreOnUnreadable);
  EXPECT_EQ(unreadable.rfind("This backup cannot be read: ", 0), 0u) << unreadable;
  EXPECT_TRUE(restoreOnReadable);
  EXPECT_EQ(changes,
            "Sample/Basic|f2|row removed|x|None|\n"
            "Sample/Basic|f2|row added|y||None");
  EXPECT_NE(question.find("It puts back 1 filter:"), std::string::npos) << question;
  EXPECT_EQ(told, "The backup has been restored: 1 filter put back.");
  EXPECT_EQ(api.FindFilter("Sample", "Basic", "f2")->rows.at(0).text, "y");
}

}  // namespace
}  // namespace quorvel::qt
