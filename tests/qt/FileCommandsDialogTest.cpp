// The file dialogs of Export, Import, the selection lists and the Backups
// window's other backup as the real window shows them through its Qt file
// dialog.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <functional>
#include <memory>

#include "desktop/FileDialogSetup.h"
#include "desktop/frmQuorvel.h"
#include "desktop/qt/QuorvelWindow.h"
#include "tests/qt/Modal.h"
#include "tests/support/FakeEssbaseApi.h"
#include "tests/support/TestFiles.h"

namespace quorvel::qt {
namespace {

struct ShownDialog {
  QString title;
  QStringList nameFilters;
  QString defaultSuffix;
  QString directory;
  QString proposedName;
  bool save = false;
  bool overwriteAsked = true;
};

struct DialogCase {
  const char* action;
  const char* title;
  const char* proposedName;
  bool save;
};

class FileCommandDialogs : public ::testing::TestWithParam<DialogCase> {
 protected:
  void SetUp() override {
    api.AddFilter("Sample", "Basic", "f1");
    api.promptAvailable = true;
    window = std::make_unique<QuorvelWindow>(essbase::Generation::V6);
    logic = std::make_unique<desktop::frmQuorvel>(api, *window, essbase::Generation::V6,
                                                  backup::Place{stateHome / "backups"});
    window->Attach(*logic);
    window->show();
    window->findChild<QAction*>("mnuLogin")->trigger();
    window->logic().tree_NodeClick(window->logic().tree().Find("Db:Sample-Basic"));
    api.ClearCalls();
  }
  void TearDown() override {
    window.reset();
    logic.reset();
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  }

  // Triggers the action and cancels the file dialog it shows, keeping what it
  // showed. `through`, when given, gets the window the action opens first,
  // opens the file dialog from it, and sees it closed after.
  ShownDialog Cancelled(const char* action, std::function<void(QWidget*)> through = {}) {
    ShownDialog shown;
    bool seen = false;
    auto answer = [&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      if (dialog) {
        seen = true;
        shown.title = dialog->windowTitle();
        shown.nameFilters = dialog->nameFilters();
        shown.defaultSuffix = dialog->defaultSuffix();
        shown.directory = dialog->directory().absolutePath();
        if (auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit"))
          shown.proposedName = edit->text();
        shown.save = dialog->acceptMode() == QFileDialog::AcceptSave;
        shown.overwriteAsked = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
      }
      static_cast<QDialog*>(modal)->reject();
    };
    if (through) {
      testing::AnswerNextModal(
          [&](QWidget* window) {
            testing::AnswerNextModal(answer, &pollers);
            through(window);
            static_cast<QDialog*>(window)->reject();
          },
          &pollers);
    } else {
      testing::AnswerNextModal(answer, &pollers);
    }
    window->findChild<QAction*>(action)->trigger();
    EXPECT_TRUE(seen) << "no file dialog for " << action;
    return shown;
  }

  essbase::testing::FakeEssbaseApi api;
  support::TempDir stateHome{"quorvel-state"};
  std::unique_ptr<QuorvelWindow> window;
  std::unique_ptr<desktop::frmQuorvel> logic;
  QObject pollers;
};

TEST_P(FileCommandDialogs, ShowsItsTitleTypesExtensionFolderAndName) {
  const DialogCase c = GetParam();
  const ShownDialog shown = Cancelled(c.action);
  EXPECT_EQ(shown.title.toStdString(), c.title);
  EXPECT_EQ(shown.nameFilters, QStringList({"Text (*.txt)", "All Files (*.*)"}));
  EXPECT_EQ(shown.defaultSuffix, "txt");
  EXPECT_EQ(shown.directory.toStdString(), desktop::ProgramFolder());
  EXPECT_EQ(shown.proposedName.toStdString(), c.proposedName);
  EXPECT_EQ(shown.save, c.save);
  EXPECT_FALSE(shown.overwriteAsked);
  // Cancel ends the command: no server call, no message, ticks kept.
  EXPECT_EQ(api.CallsText(), "");
  EXPECT_TRUE(window->logic().filters().Checked(1));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FileCommandDialogs,
    ::testing::Values(DialogCase{"mnuExport", "Export filters", "Sample-Basic", true},
                      DialogCase{"mnuImport", "Import filters", "", false},
                      DialogCase{"mnuCompare", "Compare with File", "", false},
                      DialogCase{"mnuOtherExport", "Export Selected Filters", "", true},
                      DialogCase{"mnuOtherImport", "Export Selected Filters", "", false}),
    [](const auto& info) { return std::string(info.param.action); });

class RestoreDialog : public FileCommandDialogs {};

TEST_P(RestoreDialog, OtherBackupOpensTheBackupsFolderShowingBackups) {
  std::filesystem::create_directories(stateHome / "backups");
  bool backupsWindow = false;
  const ShownDialog shown = Cancelled("mnuRestore", [&](QWidget* window) {
    backupsWindow = window->objectName() == "frmBackups";
    window->findChild<QPushButton*>("cmdOther")->click();
  });
  EXPECT_TRUE(backupsWindow);
  EXPECT_EQ(shown.title.toStdString(), "Restore from Backup");
  EXPECT_EQ(shown.nameFilters, QStringList({"Quorvel backups (*.info)", "All Files (*.*)"}));
  EXPECT_EQ(shown.defaultSuffix, "info");
  EXPECT_EQ(shown.directory.toStdString(), stateHome / "backups");
  EXPECT_FALSE(shown.save);
  EXPECT_EQ(api.CallsText(), "");
  EXPECT_TRUE(QApplication::activeModalWidget() == nullptr);
}

INSTANTIATE_TEST_SUITE_P(Backups, RestoreDialog, ::testing::Values(DialogCase{}));

}  // namespace
}  // namespace quorvel::qt
