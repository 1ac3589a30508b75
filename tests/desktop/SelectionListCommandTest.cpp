#include "tests/desktop/FileCommandFixture.h"

namespace desktop::testing {
namespace {

class SelectionListCommand : public FileCommandTest {
 protected:
  void SetUp() override {
    FileCommandTest::SetUp();
    file = Path("ticks.txt");
    AddFinanceServer();
    fake.AddFilter("Finance", "Plan", "ReadWest");
    fake.AddFilter("Ledger", "Actuals", "ReadWest");
    fake.AddFilter("Ledger", "Actuals", "WriteAll");
    LoginAt("Db:Finance-Plan");  // ReadEast, NoBudget, ReadWest
  }
  std::string file;
};

TEST_F(SelectionListCommand, SavesTickedNamesInListOrderAndSaysSo) {
  Tick("NoBudget", false);
  ChooseFile(file);
  form.mnuOtherExport_Click();
  EXPECT_EQ(support::ReadFile(file), "ReadEast\r\nReadWest\r\n");
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, "Your selections were saved.");
  EXPECT_EQ(port.messages[0].title, "Quorvel");
  EXPECT_EQ(port.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(fake.CallsText(), "");
}

TEST_F(SelectionListCommand, NothingTickedReplacesTheFileWithAnEmptyOne) {
  form.mnuDeselect_Click();
  support::WriteFile(file, "Old\r\n");
  ChooseFile(file);
  form.mnuOtherExport_Click();
  EXPECT_EQ(support::ReadFile(file), "");
  EXPECT_EQ(port.messages.size(), 1u);
}

TEST_F(SelectionListCommand, BothDialogsShareTheTitleAndProposeNoName) {
  form.cdForm().FileName = "left over";
  form.mnuOtherExport_Click();
  form.cdForm().FileName = "left over";
  form.mnuOtherImport_Click();
  ASSERT_EQ(port.fileDialogs.size(), 2u);
  for (const FileDialogOptions& o : port.fileDialogs) {
    EXPECT_EQ(o.DialogTitle, "Export Selected Filters");
    EXPECT_EQ(o.Filter, "Text (*.txt)|*.txt|All Files (*.*)|*.*");
    EXPECT_EQ(o.DefaultExt, ".txt");
    EXPECT_EQ(o.FileName, "");
    EXPECT_FALSE(o.CancelError);
  }
  EXPECT_EQ(port.LogText(),
            "ShowSave(Export Selected Filters)\nShowOpen(Export Selected Filters)\n");
}

TEST_F(SelectionListCommand, LoadOnAnotherDatabaseTicksExactlyTheNamedEntries) {
  support::WriteFile(file, "ReadEast\r\nReadWest\r\n");
  form.tree_NodeClick(Node("Db:Ledger-Actuals"));  // ReadWest, WriteAll
  port.ClearLog();
  ChooseFile(file);
  form.mnuOtherImport_Click();
  EXPECT_EQ(Ticks(), "ReadWest,");
  EXPECT_TRUE(port.messages.empty());
}

TEST_F(SelectionListCommand, MatchingIsWholeAndCaseSensitive) {
  support::WriteFile(file, "readeast\r\nRead\r\nReadWest \r\n\r\nNoBudget");
  ChooseFile(file);
  form.mnuOtherImport_Click();
  EXPECT_EQ(Ticks(), "NoBudget,");
}

TEST_F(SelectionListCommand, CancelLeavesTheTicks) {
  Tick("ReadEast", false);
  form.mnuOtherImport_Click();
  EXPECT_EQ(Ticks(), "NoBudget,ReadWest,");
}

TEST_F(SelectionListCommand, FileThatCannotBeCreatedIsNamedAndNothingClaimedSaved) {
  const std::string bad = Path("absent/ticks.txt");
  ChooseFile(bad);
  form.mnuOtherExport_Click();
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, msg::SelectionFileNotWritten(bad, "No such file or directory"));
  EXPECT_EQ(port.messages[0].icon, MessageIcon::Critical);
}

struct Unreadable {
  const char* name;
  const char* reason;
};

class UnreadableList : public SelectionListCommand,
                       public ::testing::WithParamInterface<Unreadable> {};

// The open, and the reading, come before the unticking.
TEST_P(UnreadableList, KeepsTheTicksAndNamesTheFile) {
  std::filesystem::create_directory(Path("folder"));
  Tick("NoBudget", false);
  const std::string path = Path(GetParam().name);
  ChooseFile(path);
  form.mnuOtherImport_Click();
  EXPECT_EQ(Ticks(), "ReadEast,ReadWest,");
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, msg::SelectionFileNotRead(path, GetParam().reason));
  EXPECT_EQ(port.messages[0].icon, MessageIcon::Critical);
}

INSTANTIATE_TEST_SUITE_P(Files, UnreadableList,
                         ::testing::Values(Unreadable{"absent.txt", "No such file or directory"},
                                           Unreadable{"folder", "Is a directory"}));

}  // namespace
}  // namespace desktop::testing
