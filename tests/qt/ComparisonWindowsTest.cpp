// The Backups window on screen, over the fake server: the list, what the
// comparison table shows for the selected backup, and a restore from it.
#include <gtest/gtest.h>

#include <QCheckBox>
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
};

TEST_F(ComparisonWindows, BackupsWindowRestoresAnUnreadableBackupOrNotTheSelectedOne) {
  LoginAndChooseSampleBasic();
  const std::string folder = stateHome / "backups";
  const backup::BackupOutcome saved =
      backup::SaveCopies({"delete", window->logic().connection().Server, {}},
                         {{"Sample", "Basic", "f2", 1, 375, {{0, "y"}}}}, {folder});
  ASSERT_EQ(saved.result, backup::BackupResult::Written) << saved.reason;
  support::WriteFile(folder + "/29991231-235959_fakesrv_delete_Sample-Basic.info", "nonsense\n");
  api.ClearCalls();

  int backups = -1, shownLines = -1;
  bool restoreOnUnreadable = true, restoreOnReadable = false;
  std::string unreadable, changes, told;
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
        // Shows the filters that are the same too: there are none.
        EXPECT_TRUE(comparison->onlyDifferences()->isChecked());
        comparison->onlyDifferences()->click();
        shownLines = comparison->table()->model()->rowCount();
        AnswerNextModal(
            [&](QWidget* asked) {
              auto* box = qobject_cast<QMessageBox*>(asked);
              if (!box) return static_cast<QDialog*>(asked)->reject();
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
  EXPECT_EQ(shownLines, 2);
  EXPECT_EQ(told, "The backup has been restored: 1 filter put back.");
  EXPECT_EQ(api.FindFilter("Sample", "Basic", "f2")->rows.at(0).text, "y");
}

}  // namespace
}  // namespace quorvel::qt
