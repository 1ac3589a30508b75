// The safety net of the desktop commands that write: what each one saves and
// when, that a backup which cannot be made stops it before any write call,
// and Filter > Restore from Backup.
#include <gtest/gtest.h>

#include "backup/LoadBackup.h"
#include "backup/TakeBackup.h"
#include "desktop/RestoreCommand.h"
#include "tests/desktop/FileCommandFixture.h"

namespace desktop::testing {
namespace {

using essbase::AccessRead;

class BackupCommands : public FileCommandTest {
 protected:
  // Finance/Plan listed and ticked; NoBudget has values of its own, so that a
  // backup that kept the write pass's values instead would show.
  void SetUp() override {
    FileCommandTest::SetUp();
    AddFinanceServer();
    essbase::testing::FakeFilter* noBudget = fake.FindFilter("Finance", "Plan", "NoBudget");
    noBudget->active = 0;
    noBudget->access = AccessRead;
    LoginAt("Db:Finance-Plan");
  }
  std::string Folder() const { return stateHome / "backups"; }
  // The backups' descriptions, oldest first.
  std::vector<std::string> Backups() const {
    std::vector<std::string> out;
    for (const std::string& name : backup::testing::Listing(Folder()))
      if (name.ends_with(".info")) out.push_back(Folder() + "/" + name);
    return out;
  }
  backup::LoadedBackup Load(const std::string& path) const {
    std::string reason;
    std::optional<backup::LoadedBackup> loaded = backup::LoadBackup(path, reason);
    EXPECT_TRUE(loaded) << reason;
    return loaded.value_or(backup::LoadedBackup{});
  }
  // One line per saved filter, then one per name to be created.
  static std::string Saved(const backup::BackupInfo& info) {
    std::string out;
    for (const auto& f : info.filters)
      out += f.application + "/" + f.database + "/" + f.name + " " + std::to_string(f.active) +
             " " + std::to_string(f.access) + " " + std::to_string(f.rows) + "\n";
    for (const auto& c : info.created)
      out += "created " + c.application + "/" + c.database + "/" + c.name + "\n";
    return out;
  }
  // Counts the backups on disk at the command's first write call.
  void WatchFirstWrite() {
    fake.onCall = [this](const essbase::testing::FakeCall& call) {
      const bool write = call.name == "EsbSetFilter" || call.name == "EsbSetFilterRow" ||
                         call.name == "EsbDeleteFilter";
      if (write && backupsAtFirstWrite < 0)
        backupsAtFirstWrite = static_cast<int>(Backups().size());
    };
  }
  int WriteCalls() const {
    return fake.CountCalls("EsbSetFilter") + fake.CountCalls("EsbSetFilterRow") +
           fake.CountCalls("EsbDeleteFilter");
  }
  void ChangeEastToWrite() {
    port.changeDialogScript.push_back({"Write", "East", 0, true});
    form.mnuChange_Click();
  }
  void ImportNewAndExisting() {
    support::WriteFile(Path("in.txt"),
                       "X\tY\tReadEast\t275\tNorth\r\n"
                       "X\tY\tNewOne\t273\tSouth\r\n");
    ChooseFile(Path("in.txt"));
    form.mnuImport_Click();
  }
  // Restore of `path` through the Backups window's open dialog, answering
  // the question with `answer`.
  void Restore(const std::string& path, MessageAnswer answer = MessageAnswer::Yes) {
    port.ClearLog();
    fake.ClearCalls();
    ChooseFile(path);
    port.answers.push_back(answer);
    port.backupsScript.push_back([](BackupsHandler& window) { window.RestoreOther(); });
    form.mnuRestore_Click();
  }
  std::string LastMessage() const { return port.messages.empty() ? "" : port.messages.back().text; }

  std::string FilterRows(const std::string& name) {
    std::string out;
    for (const auto& r : fake.FindFilter("Finance", "Plan", name)->rows)
      out += std::to_string(r.access) + ":" + r.text + "\n";
    return out;
  }

  int backupsAtFirstWrite = -1;
};

TEST_F(BackupCommands, DeleteSavesExactlyTheTickedFiltersBeforeItsFirstDeletion) {
  Tick("ReadEast", false);
  WatchFirstWrite();
  form.mnuDelete_Click();
  EXPECT_EQ(fake.CountCalls("EsbDeleteFilter"), 1);
  EXPECT_EQ(backupsAtFirstWrite, 1);
  const backup::LoadedBackup saved = Load(Backups().at(0));
  EXPECT_EQ(saved.info.command, "delete");
  EXPECT_EQ(saved.info.server, form.connection().Server);
  EXPECT_EQ(Saved(saved.info), "Finance/Plan/NoBudget 0 273 1\n");
  EXPECT_EQ(support::ReadFile(saved.recordsPath), "Finance\tPlan\tNoBudget\t0\tBudget\r\r\n");
}

TEST_F(BackupCommands, DeleteWithNothingTickedReadsAndSavesNothing) {
  form.mnuDeselect_Click();
  form.mnuDelete_Click();
  EXPECT_EQ(fake.CountCalls("EsbGetFilter"), 0);
  EXPECT_TRUE(Backups().empty());
}

TEST_F(BackupCommands, ImportSavesWhatItReplacesAndNamesWhatItCreates) {
  WatchFirstWrite();
  ImportNewAndExisting();
  EXPECT_EQ(backupsAtFirstWrite, 1);
  const backup::LoadedBackup saved = Load(Backups().at(0));
  EXPECT_EQ(saved.info.command, "import");
  EXPECT_EQ(Saved(saved.info),
            "Finance/Plan/ReadEast 1 375 2\n"
            "created Finance/Plan/NewOne\n");
}

TEST_F(BackupCommands, ChangeSavesTheFiltersItRewritesWithTheirOwnValuesOnceDespiteARetry) {
  fake.Fail("EsbSetFilterRow", 7, 1, 1);
  port.answers = {MessageAnswer::Yes, MessageAnswer::Retry};
  WatchFirstWrite();
  ChangeEastToWrite();
  EXPECT_EQ(port.messages.back().text, msg::FiltersChanged(1));
  EXPECT_EQ(backupsAtFirstWrite, 1);
  ASSERT_EQ(Backups().size(), 1u);
  const backup::LoadedBackup saved = Load(Backups().at(0));
  EXPECT_EQ(saved.info.command, "change");
  // Every filter the write pass opens, not only those with a matching row.
  EXPECT_EQ(Saved(saved.info),
            "Finance/Plan/ReadEast 1 375 2\n"
            "Finance/Plan/NoBudget 0 273 1\n");
  EXPECT_EQ(support::ReadFile(saved.recordsPath),
            "Finance\tPlan\tReadEast\t273\tEast\r\r\n"
            "Finance\tPlan\tReadEast\t275\tWest\r\r\n"
            "Finance\tPlan\tNoBudget\t0\tBudget\r\r\n");
}

TEST_F(BackupCommands, ChangeAcrossMarkedDatabasesSavesEachInItsOwn) {
  form.tree_NodeClick(Node("Db:Finance-Budget"));
  form.tree_DblClick();
  form.tree_NodeClick(Node("Db:Finance-Actuals"));
  form.tree_DblClick();
  form.chkAll_Click(1);
  ChangeEastToWrite();
  const backup::LoadedBackup saved = Load(Backups().at(0));
  EXPECT_EQ(Saved(saved.info),
            "Finance/Actuals/ReadEast 1 375 1\n"
            "Finance/Budget/ReadEast 1 375 1\n"
            "Finance/Budget/Other 1 375 1\n");
  EXPECT_EQ(saved.info.databases.size(), 2u);
}

// Each command meets a file where its backups folder should be.
class BackupFolderUnusable : public BackupCommands,
                             public ::testing::WithParamInterface<std::string> {
 protected:
  void Run(const std::string& command) {
    if (command == "Delete") return form.mnuDelete_Click();
    if (command == "Import") return ImportNewAndExisting();
    if (command == "Change") return ChangeEastToWrite();
    ASSERT_EQ(command, "Restore");
    // A backup kept elsewhere, restored into this server.
    const backup::BackupOutcome kept =
        backup::SaveCopies({"change", form.connection().Server, {}},
                           {{"Finance", "Plan", "ReadEast", 1, 375, {{0, "East"}}}}, {dir});
    ASSERT_EQ(kept.result, backup::BackupResult::Written);
    Restore(kept.path);
  }
};

TEST_P(BackupFolderUnusable, CommandStopsBeforeAnyWriteCallAndSaysWhy) {
  support::WriteFile(Folder(), "in the way");
  Run(GetParam());
  EXPECT_EQ(WriteCalls(), 0);
  ASSERT_FALSE(port.messages.empty());
  const ShownMessage& last = port.messages.back();
  EXPECT_EQ(last.text.rfind("No backup of the filters could be made, so nothing was changed: ", 0),
            0u)
      << last.text;
  EXPECT_NE(last.text.find(Folder()), std::string::npos) << last.text;
  EXPECT_EQ(last.icon, MessageIcon::Critical);
  EXPECT_FALSE(port.busy);
  EXPECT_FALSE(port.held);
}

INSTANTIATE_TEST_SUITE_P(Commands, BackupFolderUnusable,
                         ::testing::Values("Delete", "Import", "Change", "Restore"));

TEST_F(BackupCommands, RestoreIsEnabledWhileLoggedIn) {
  EXPECT_TRUE(port.view[Control::mnuRestore].enabled);
  form.mnuLogout_Click();
  EXPECT_FALSE(port.view[Control::mnuRestore].enabled);
  form.mnuLogin_Click();
  EXPECT_TRUE(port.view[Control::mnuRestore].enabled);
  form.Form_Load();
  EXPECT_FALSE(port.view[Control::mnuRestore].enabled);
}

TEST_F(BackupCommands, RestoreBringsBackWhatADeleteRemovedAndListsItAgain) {
  const std::string before = backup::testing::ServerText(fake);
  Tick("ReadEast", false);
  form.mnuDelete_Click();
  ASSERT_EQ(form.filters().Count(), 1);
  Restore(Backups().at(0));
  EXPECT_EQ(backup::testing::ServerText(fake), before);
  EXPECT_EQ(Names(), "ReadEast,NoBudget,");
  ASSERT_EQ(port.fileDialogs.size(), 1u);
  EXPECT_EQ(port.fileDialogs[0].InitDir, Folder());
  EXPECT_EQ(port.fileDialogs[0].DialogTitle, msg::RestoreDialogTitle);
  EXPECT_EQ(port.fileDialogs[0].Filter, msg::BackupFileTypes);
  ASSERT_EQ(port.messages.size(), 2u);
  EXPECT_EQ(port.messages[0].icon, MessageIcon::Question);
  EXPECT_EQ(port.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_NE(port.messages[0].text.find("Finance/Plan: NoBudget"), std::string::npos);
  EXPECT_EQ(port.messages[1].text, msg::Restored(1, 0));
  EXPECT_EQ(port.messages[1].icon, MessageIcon::Information);
}

TEST_F(BackupCommands, RestoreOfAnImportDeletesWhatItCreatedAndPutsBackWhatItReplaced) {
  const std::string before = backup::testing::ServerText(fake);
  ImportNewAndExisting();
  ASSERT_NE(backup::testing::ServerText(fake), before);
  Restore(Backups().at(0));
  EXPECT_EQ(backup::testing::ServerText(fake), before);
  EXPECT_EQ(LastMessage(), msg::Restored(1, 1));
}

TEST_F(BackupCommands, RestoreLeavesABackupOfItsOwnThatUndoesIt) {
  ChangeEastToWrite();
  const std::string changed = backup::testing::ServerText(fake);
  Restore(Backups().at(0));
  ASSERT_EQ(Backups().size(), 2u);
  EXPECT_EQ(Load(Backups().at(1)).info.command, "restore");
  Restore(Backups().at(1));
  EXPECT_EQ(backup::testing::ServerText(fake), changed);
}

TEST_F(BackupCommands, RestoreCancelledOrAnsweredNoMakesNoCall) {
  Tick("ReadEast", false);
  form.mnuDelete_Click();
  fake.ClearCalls();
  form.mnuRestore_Click();  // the dialog cancelled
  Restore(Backups().at(0), MessageAnswer::No);
  EXPECT_TRUE(fake.calls.empty());
  EXPECT_EQ(port.messages.size(), 1u);  // the question
  EXPECT_EQ(Backups().size(), 1u);
}

TEST_F(BackupCommands, RestoreRefusesAnotherServersBackupBeforeAnyCall) {
  const backup::BackupOutcome other = backup::SaveCopies(
      {"change", "elsewhere", {}}, {{"Finance", "Plan", "ReadEast", 1, 375, {{0, "East"}}}}, {dir});
  ASSERT_EQ(other.result, backup::BackupResult::Written);
  Restore(other.path);
  EXPECT_TRUE(fake.calls.empty());
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, msg::BackupOfOtherServer("elsewhere"));
  EXPECT_EQ(port.messages[0].icon, MessageIcon::Critical);
}

TEST_F(BackupCommands, RestoreRefusesABackupCutShortBeforeAnyCall) {
  Tick("ReadEast", false);
  form.mnuDelete_Click();
  const backup::LoadedBackup saved = Load(Backups().at(0));
  const std::string records = support::ReadFile(saved.recordsPath);
  support::WriteFile(saved.recordsPath, records.substr(0, records.size() - 3));
  Restore(saved.infoPath);
  EXPECT_TRUE(fake.calls.empty());
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(
      port.messages[0].text.rfind("The backup " + saved.infoPath + " cannot be restored: ", 0), 0u)
      << port.messages[0].text;
}

TEST_F(BackupCommands, RestoreNamesAFailingCallAndStillRestoresTheOthers) {
  ChangeEastToWrite();
  fake.Fail("EsbSetFilter", 7, 0, 1);
  Restore(Backups().at(0));
  EXPECT_EQ(FilterRows("ReadEast"), "275:East\n275:West\n");  // still changed
  EXPECT_EQ(FilterRows("NoBudget"), "0:Budget\n");
  EXPECT_EQ(fake.FindFilter("Finance", "Plan", "NoBudget")->active, 0);
  EXPECT_EQ(LastMessage(),
            std::string(msg::RestoreFailedStart) +
                msg::RestoreFailedLine("Finance/Plan/ReadEast", false, "EsbSetFilter", 7));
  EXPECT_EQ(port.messages.back().icon, MessageIcon::Critical);
}

TEST_F(BackupCommands, RestoreLogsInAgainWhenTheSessionDropsAndPutsEverythingBack) {
  const std::string before = backup::testing::ServerText(fake);
  ImportNewAndExisting();
  fake.Fail("EsbSetFilter", essbase::ReloginStatus, 0, 1);
  fake.Fail("EsbDeleteFilter", essbase::ReloginStatus, 0, 1);
  Restore(Backups().at(0));
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), 2);
  EXPECT_EQ(backup::testing::ServerText(fake), before);
  EXPECT_EQ(LastMessage(), msg::Restored(1, 1));
}

TEST(BackupSummary, NamesCommandServerTimeAndTheFiltersOfEachDatabase) {
  backup::BackupInfo info;
  info.command = "import";
  info.server = "essdemo";
  info.time = "2026-12-08 08:38:25 +0100";
  info.filters = {
      {"Fin", "Plan", "A", 1, 0, 1}, {"Fin", "Bud", "B", 1, 0, 1}, {"Fin", "Plan", "C", 1, 0, 1}};
  info.created = {{"Fin", "Plan", "New"}};
  EXPECT_EQ(BackupSummary(info),
            "This backup was saved before Import on the server essdemo at "
            "2026-12-08 08:38:25 +0100.\n\n"
            "It puts back 3 filters:\n"
            "Fin/Plan: A, C\n"
            "Fin/Bud: B\n\n"
            "It deletes 1 filter Import created:\n"
            "Fin/Plan: New\n\n"
            "Do you want to put these filters back as they were?");
}

TEST(BackupSummary, ManyNamesAreCountedNotListed) {
  backup::BackupInfo info;
  info.command = "delete";
  for (size_t i = 0; i < MaxNamesShown + 3; ++i)
    info.filters.push_back({"Fin", "Plan", "F" + std::to_string(i), 1, 0, 1});
  const std::string text = BackupSummary(info);
  EXPECT_NE(text.find("F19\n... and 3 more."), std::string::npos) << text;
  EXPECT_EQ(text.find("F20"), std::string::npos);
}

}  // namespace
}  // namespace desktop::testing
