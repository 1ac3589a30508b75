#include <sys/stat.h>

#include "desktop/FileDialogSetup.h"
#include "platform/ProgramFolder.h"
#include "tests/desktop/FileCommandFixture.h"

namespace desktop::testing {
namespace {

using essbase::ReloginStatus;

const char* const PlanReadEast =
    "Finance\tPlan\tReadEast\t273\tEast\r\r\n"
    "Finance\tPlan\tReadEast\t275\tWest\r\r\n";
const char* const BudgetReadEast = "Finance\tBudget\tReadEast\t273\tB-East\r\r\n";

class ExportCommand : public FileCommandTest {
 protected:
  // All-databases mode with Plan and Budget marked, the list keeping Plan's
  // entries with only ReadEast ticked.
  void MarkPlanAndBudget() {
    StartAt("Db:Finance-Plan");
    Tick("NoBudget", false);
    form.chkAll_Click(1);
    for (const char* key : {"Db:Finance-Plan", "Db:Finance-Budget"}) {
      form.tree_NodeClick(Node(key));
      form.tree_DblClick();
    }
    fake.ClearCalls();
    port.ClearLog();
  }
  void SetUp() override {
    FileCommandTest::SetUp();
    file = Path("out.txt");
  }
  std::string file;
};

TEST_F(ExportCommand, DialogOffersApplicationDashDatabaseInTheProgramsFolder) {
  StartAt("Db:Finance-Plan");
  form.cdForm().FileName = "left by an earlier dialog";
  form.mnuExport_Click();
  ASSERT_EQ(port.fileDialogs.size(), 1u);
  const FileDialogOptions& o = port.fileDialogs[0];
  EXPECT_EQ(o.DialogTitle, "Export filters");
  EXPECT_EQ(o.Filter, "Text (*.txt)|*.txt|All Files (*.*)|*.*");
  EXPECT_EQ(o.DefaultExt, ".txt");
  EXPECT_EQ(o.FileName, "Finance-Plan");
  EXPECT_TRUE(o.CancelError);
  std::string folder = platform::BesideProgram("");
  folder.pop_back();
  EXPECT_EQ(o.InitDir, folder);
  EXPECT_EQ(port.LogText(), "ShowSave(Export filters)\n");
}

TEST_F(ExportCommand, CancelWritesNothingAndCallsNothing) {
  StartAt("Db:Finance-Plan");
  port.fileAnswers.push_back({FileDialogResult::Outcome::Failed, ""});
  form.mnuExport_Click();
  EXPECT_EQ(fake.CallsText(), "");
  EXPECT_TRUE(port.messages.empty());
}

TEST_F(ExportCommand, SingleDatabaseWritesOnlyTickedFiltersWithTheDesktopBuffer) {
  StartAt("Db:Finance-Plan");
  Tick("NoBudget", false);
  ChooseFile(file);
  form.mnuExport_Click();
  EXPECT_EQ(support::ReadFile(file), PlanReadEast);
  EXPECT_TRUE(port.messages.empty());
  EXPECT_EQ(fake.CallsText("EsbGetFilterRow"),
            "EsbGetFilterRow(3000)\n"
            "EsbGetFilterRow(3000)\n"
            "EsbGetFilterRow(3000)\n"
            "EsbGetFilterRow(3000)\n"
            "EsbGetFilterRow(3000)\n");
  EXPECT_EQ(form.state().cdForm.FileName, file);
  EXPECT_FALSE(port.busy);
  EXPECT_FALSE(port.held);
}

TEST_F(ExportCommand, TickDifferingInLetterCaseSelectsNothing) {
  StartAt("Db:Finance-Plan");
  form.filters().SetText(form.filters().Find("_ReadEast"), "readeast");
  Tick("NoBudget", false);
  ChooseFile(file);
  form.mnuExport_Click();
  EXPECT_EQ(support::ReadFile(file), "");
}

TEST_F(ExportCommand, NothingTickedEmptiesAnExistingFileWithoutAMessage) {
  StartAt("Db:Finance-Plan");
  form.mnuDeselect_Click();
  support::WriteFile(file, "old content");
  ChooseFile(file);
  form.mnuExport_Click();
  EXPECT_EQ(support::ReadFile(file), "");
  EXPECT_TRUE(port.messages.empty());
}

TEST_F(ExportCommand, MarkedDatabasesGoIntoOneFileInTreeOrderWithTheListsNames) {
  MarkPlanAndBudget();
  form.tree_NodeClick(Node("Db:Finance-Actuals"));  // selected, not marked
  support::WriteFile(file, "replaced by the first database\r\n");
  ChooseFile(file);
  form.mnuExport_Click();
  EXPECT_EQ(port.fileDialogs.at(0).FileName, "Finance-Actuals");
  EXPECT_EQ(support::ReadFile(file), std::string(PlanReadEast) + BudgetReadEast);
  EXPECT_EQ(fake.CallsText("EsbListFilters"),
            "EsbListFilters(Finance,Plan)\nEsbListFilters(Finance,Budget)\n");
  EXPECT_TRUE(port.messages.empty());
}

TEST_F(ExportCommand, NoMarkedDatabaseTouchesNoFileAndSaysTheExportFailed) {
  StartAt("Db:Finance-Plan");
  form.chkAll_Click(1);
  form.tree_NodeClick(Node("App:Finance"));
  port.ClearLog();
  ChooseFile(file);
  form.mnuExport_Click();
  EXPECT_EQ(port.fileDialogs.at(0).FileName, "");
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(fake.CallsText(), "");
  EXPECT_EQ(port.LogText(), "ShowSave(Export filters)\nShowMessage(Critical,Quorvel," +
                                std::string(msg::ExportFailed) + ")\n");
}

TEST_F(ExportCommand, FailureInFirstDatabaseIsReportedOnceAndTheSecondStillAppends) {
  MarkPlanAndBudget();
  fake.Fail("EsbGetFilterRow", 1030030, 0, 1);
  ChooseFile(file);
  form.mnuExport_Click();
  EXPECT_EQ(support::ReadFile(file), BudgetReadEast);
  EXPECT_EQ(port.LogText(),
            "ShowSave(Export filters)\n"
            "HoldInput(1)\nSetBusy(1)\nSetBusy(0)\nHoldInput(0)\n"
            "ShowMessage(Critical,Quorvel," +
                std::string(msg::ExportDatabaseFailed) +
                ")\n"
                "HoldInput(1)\nSetBusy(1)\nSetBusy(0)\nHoldInput(0)\n"
                "ShowMessage(Critical,Quorvel," +
                std::string(msg::ExportFailed) + ")\n");
}

TEST_F(ExportCommand, FileThatCannotBeCreatedIsNamedWithTheReasonAndNoServerCall) {
  StartAt("Db:Finance-Plan");
  const std::string absent = Path("no-such-folder/out.txt");
  ChooseFile(absent);
  form.mnuExport_Click();
  EXPECT_EQ(fake.CallsText(), "");
  ASSERT_EQ(port.messages.size(), 2u);
  EXPECT_EQ(port.messages[0].text, msg::ExportFileNotOpened(absent, SystemReason(ENOENT)));
  EXPECT_EQ(port.messages[1].text, msg::ExportFailed);
}

TEST_F(ExportCommand, FileRemovedBetweenDatabasesIsNotCreatedAgainForTheSecond) {
  MarkPlanAndBudget();
  fake.onCall = [&](const essbase::testing::FakeCall& call) {
    if (call.name == "EsbGetFilter") std::filesystem::remove(file);
  };
  ChooseFile(file);
  form.mnuExport_Click();
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(fake.CallsText("EsbListFilters"), "EsbListFilters(Finance,Plan)\n");
  ASSERT_EQ(port.messages.size(), 2u);
  EXPECT_EQ(port.messages[0].text, msg::ExportFileNotOpened(file, SystemReason(ENOENT)));
  EXPECT_EQ(port.messages[1].text, msg::ExportFailed);
}

TEST_F(ExportCommand, DroppedSessionOnTheListingLogsInOnceAndListsAgain) {
  StartAt("Db:Finance-Plan");
  fake.Fail("EsbListFilters", ReloginStatus, 0, 2);
  ChooseFile(file);
  form.mnuExport_Click();
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), 1);
  EXPECT_EQ(fake.CountCalls("EsbListFilters"), 2);
  EXPECT_EQ(form.connection().Status, ReloginStatus);
  ASSERT_EQ(port.messages.size(), 2u);
  EXPECT_EQ(port.messages[0].text, msg::ExportDatabaseFailed);
}

TEST_F(ExportCommand, DroppedSessionOnTheListingIsRepeatedOnTheNewContext) {
  StartAt("Db:Finance-Plan");
  fake.Fail("EsbListFilters", ReloginStatus, 0, 1);
  ChooseFile(file);
  form.mnuExport_Click();
  EXPECT_EQ(support::ReadFile(file),
            std::string(PlanReadEast) + "Finance\tPlan\tNoBudget\t0\tBudget\r\r\n");
  EXPECT_TRUE(port.messages.empty());
  EXPECT_EQ(fake.calls.back().context, form.connection().ContextHandle);
  EXPECT_NE(fake.calls.front().context, form.connection().ContextHandle);
}

TEST_F(ExportCommand, DroppedSessionOnARowIsAFailureWithoutLoginAgain) {
  StartAt("Db:Finance-Plan");
  fake.Fail("EsbGetFilterRow", ReloginStatus, 1, 1);
  ChooseFile(file);
  form.mnuExport_Click();
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), 0);
  EXPECT_EQ(support::ReadFile(file), "Finance\tPlan\tReadEast\t273\tEast\r\r\n");
  EXPECT_EQ(form.connection().Status, ReloginStatus);
  ASSERT_EQ(port.messages.size(), 2u);
}

TEST_F(ExportCommand, NoDatabaseSelectedInSingleModeStopsBeforeTheDialog) {
  StartAt("Db:Finance-Plan");
  form.tree_NodeClick(Node("App:Ledger"));
  port.ClearLog();
  form.mnuExport_Click();
  EXPECT_TRUE(port.fileDialogs.empty());
  EXPECT_EQ(fake.CallsText(), "");
  EXPECT_EQ(port.LogText(),
            "ShowMessage(Critical,Quorvel," + std::string(msg::NoDatabaseSelected) + ")\n");
}

}  // namespace
}  // namespace desktop::testing
