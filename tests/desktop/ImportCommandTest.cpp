#include "tests/desktop/FileCommandFixture.h"

namespace desktop::testing {
namespace {

using essbase::ReloginStatus;

const char* const ExampleFile =
    "Finance\tPlan\tReadEast\t273\tEast\r\r\n"
    "Finance\tPlan\tReadEast\t275\tWest\r\r\n"
    "Finance\tPlan\tNoBudget\t0\tBudget\r\r\n";

int Occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class ImportCommand : public FileCommandTest {
 protected:
  void SetUp() override {
    FileCommandTest::SetUp();
    file = Path("in.txt");
  }
  // Imports `bytes` into Ledger/Actuals; returns the server calls made.
  std::string Import(const std::string& bytes) {
    StartAt("Db:Ledger-Actuals");
    support::WriteFile(file, bytes);
    ChooseFile(file);
    form.mnuImport_Click();
    return fake.CallsText();
  }
  // The row calls made, closing calls left out: whether a filter with a
  // failed row is closed is the sink's business.
  std::string RowCalls() const {
    std::string out;
    for (const auto& call : fake.calls)
      if (call.name == "EsbSetFilterRow" && call.args.at(0) != "null") out += call.text() + "\n";
    return out;
  }
  std::string file;
};

TEST_F(ImportCommand, RecordsGoIntoTheSelectedDatabaseWhateverTheirOwnFields) {
  EXPECT_EQ(Import(ExampleFile),
            "EsbListFilters(Ledger,Actuals)\n"  // the backup's read: no filter of either name
            "EsbSetFilter(Ledger,Actuals,ReadEast,1,375)\n"
            "EsbSetFilterRow(East,273)\n"
            "EsbSetFilterRow(West,275)\n"
            "EsbSetFilterRow(null,375)\n"
            "EsbSetFilter(Ledger,Actuals,NoBudget,1,375)\n"
            "EsbSetFilterRow(Budget,0)\n"
            "EsbSetFilterRow(null,375)\n"
            "EsbListFilters(Ledger,Actuals)\n"
            "EsbGetNextItem(12,30)\n"
            "EsbGetNextItem(12,30)\n");
  EXPECT_EQ(form.filters().Dump(),
            "1|_ReadEast|ReadEast|0|3|4|x\n"
            "2|_NoBudget|NoBudget|0|3|4|x\n");
  EXPECT_TRUE(port.messages.empty());
  EXPECT_EQ(form.connection().Access, essbase::FilterAccess);
  EXPECT_FALSE(port.busy);
  EXPECT_FALSE(port.held);
}

TEST_F(ImportCommand, DialogKeepsTheNameItsLastUseLeft) {
  StartAt("Db:Ledger-Actuals");
  form.cdForm().FileName = "/somewhere/exported.txt";
  form.mnuImport_Click();
  ASSERT_EQ(port.fileDialogs.size(), 1u);
  const FileDialogOptions& o = port.fileDialogs[0];
  EXPECT_EQ(o.DialogTitle, "Import filters");
  EXPECT_EQ(o.Filter, "Text (*.txt)|*.txt|All Files (*.*)|*.*");
  EXPECT_EQ(o.DefaultExt, ".txt");
  EXPECT_EQ(o.FileName, "/somewhere/exported.txt");
  EXPECT_TRUE(o.CancelError);
  EXPECT_EQ(port.LogText(), "ShowOpen(Import filters)\n");
  EXPECT_EQ(fake.CallsText(), "");  // cancelled: the list is not shown again
}

TEST_F(ImportCommand, EmptyFileMakesOneClosingCallAndNoMessage) {
  EXPECT_EQ(Import("\r\n\n"),
            "EsbSetFilterRow(null,375)\n"
            "EsbListFilters(Ledger,Actuals)\n");
  EXPECT_TRUE(port.messages.empty());
}

TEST_F(ImportCommand, ExistingFilterReplacedOthersLeftAlone) {
  fake.AddFilter("Ledger", "Actuals", "Keep", {{273, "k"}});
  fake.AddFilter("Ledger", "Actuals", "NoBudget", {{275, "old"}});
  Import(ExampleFile);
  EXPECT_EQ(Names(), "Keep,NoBudget,ReadEast,");
  EXPECT_EQ(Ticks(), "Keep,NoBudget,ReadEast,");
  EXPECT_EQ(fake.FindFilter("Ledger", "Actuals", "NoBudget")->rows.at(0).text, "Budget");
  EXPECT_EQ(fake.FindFilter("Ledger", "Actuals", "Keep")->rows.at(0).text, "k");
}

// The dropped session takes the open definition with it: the repeated row
// finds no filter open on the new login, so that filter keeps its previous
// definition and the import says it failed; the next filter still goes in.
TEST_F(ImportCommand, DroppedSessionOnARowLogsInOnceAndLeavesThatFilterUnchanged) {
  fake.AddFilter("Ledger", "Actuals", "ReadEast", {{275, "old"}});
  fake.Fail("EsbSetFilterRow", ReloginStatus, 1, 1);
  Import(ExampleFile);
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), 1);
  EXPECT_EQ(fake.CallsText("EsbSetFilterRow"),
            "EsbSetFilterRow(East,273)\n"
            "EsbSetFilterRow(West,275)\n"
            "EsbSetFilterRow(West,275)\n"
            "EsbSetFilterRow(Budget,0)\n"
            "EsbSetFilterRow(null,375)\n");
  EXPECT_EQ(fake.FindFilter("Ledger", "Actuals", "ReadEast")->rows.at(0).text, "old");
  EXPECT_EQ(fake.FindFilter("Ledger", "Actuals", "NoBudget")->rows.at(0).text, "Budget");
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, msg::ImportFailed);
}

// Each row call gets its own login again, but a repeat that fails is not
// repeated again.
TEST_F(ImportCommand, RowRefusedAgainAfterTheLoginIsNotRepeatedAgain) {
  fake.Fail("EsbSetFilterRow", ReloginStatus, 1, 2);
  Import(ExampleFile);
  EXPECT_EQ(Occurrences(fake.CallsText("EsbSetFilterRow"), "EsbSetFilterRow(West,275)\n"), 2);
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, msg::ImportFailed);
}

struct NotRepeated {
  const char* operation;
  int after;
};

class DroppedSessionOutsideRows : public ImportCommand,
                                  public ::testing::WithParamInterface<NotRepeated> {};

// Opening and closing calls only mark the import as failed.
TEST_P(DroppedSessionOutsideRows, OnlyFailsTheImport) {
  fake.Fail(GetParam().operation, ReloginStatus, GetParam().after, 1);
  const std::string calls = Import(ExampleFile);
  // Neither an opening nor a closing call is repeated (a row call that then
  // finds the session gone gets its own login again).
  EXPECT_EQ(fake.CountCalls("EsbSetFilter"), 2) << calls;
  EXPECT_LE(Occurrences(calls, "EsbSetFilterRow(null,375)\n"), 2) << calls;
  // A session dropped at the last call also fails the listing that follows.
  ASSERT_GE(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, msg::ImportFailed);
  EXPECT_EQ(port.messages[0].icon, MessageIcon::Critical);
}

INSTANTIATE_TEST_SUITE_P(Calls, DroppedSessionOutsideRows,
                         ::testing::Values(NotRepeated{"EsbSetFilter", 0},
                                           NotRepeated{"EsbSetFilter", 1},
                                           NotRepeated{"EsbSetFilterRow", 2},
                                           NotRepeated{"EsbSetFilterRow", 4}));

TEST_F(ImportCommand, LinesNotRowRecordsAreCountedAndTheFirstNamed) {
  const std::string calls = Import(
      "a\tb\tReadEast\t273\tEast\r\n"
      "a\tb\tStale\t70000\tWest\r\n"  // access beyond 16 bits
      "\r\n"
      "a\tb\tReadEast\tthree\tx\r\n"
      "only\tthree\tTABs\r\n"
      "a\tb\tReadEast\t275\tLast\r\n");
  EXPECT_EQ(calls.find("Stale"), std::string::npos);
  EXPECT_EQ(fake.CallsText("EsbSetFilter"), "EsbSetFilter(Ledger,Actuals,ReadEast,1,375)\n");
  EXPECT_EQ(RowCalls(),
            "EsbSetFilterRow(East,273)\n"
            "EsbSetFilterRow(Last,275)\n");
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, std::string(msg::ImportFailed) + msg::LinesPassedOver(3, 2));
}

TEST_F(ImportCommand, NulInANameIsPassedOver) {
  Import(std::string("a\tb\tRead\0East\t273\tEast\r\n", 24));
  EXPECT_EQ(fake.CountCalls("EsbSetFilter"), 0);
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, std::string(msg::ImportFailed) + msg::LinesPassedOver(1, 1));
}

TEST_F(ImportCommand, FileThatCannotBeOpenedMakesNoServerCallButListsAgain) {
  StartAt("Db:Ledger-Actuals");
  ChooseFile(Path("absent.txt"));
  form.mnuImport_Click();
  EXPECT_EQ(fake.CallsText(), "EsbListFilters(Ledger,Actuals)\n");
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, msg::ImportFailed);
}

// After an import that wrote, "no filters have been changed" would be false.
class ImportListingFailure : public ImportCommand, public ::testing::WithParamInterface<bool> {};

TEST_P(ImportListingFailure, ShowsStatusAndCaptionAndLeavesTheListEmpty) {
  const bool wrote = GetParam();
  fake.AddFilter("Ledger", "Actuals", "Keep");
  StartAt("Db:Ledger-Actuals");
  support::WriteFile(file, wrote ? ExampleFile : "");
  ChooseFile(file);
  // The list's own listing and the backup's go through.
  fake.Fail("EsbListFilters", ReloginStatus, wrote ? 2 : 1);
  form.mnuImport_Click();
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), 0);  // the listing is not repeated
  EXPECT_EQ(form.filters().Count(), 0);
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text,
            wrote ? "An error (1051021) has occured accessing the filters.  2 filters were "
                    "imported before the filters could be listed again."
                  : "An error (1051021) has occured accessing the filters.  No filters have "
                    "been changed.");
  EXPECT_EQ(port.view[Control::Window].caption,
            wrote ? "An error (1051021) occured.  2 filters were imported."
                  : "An error (1051021) occured.  No changes were made.");
}

INSTANTIATE_TEST_SUITE_P(AfterImport, ImportListingFailure, ::testing::Bool());

TEST_F(ImportCommand, ApplicationNodeSelectedStopsBeforeTheDialog) {
  StartAt("Db:Ledger-Actuals");
  form.tree_NodeClick(Node("App:Ledger"));
  port.ClearLog();
  form.mnuImport_Click();
  EXPECT_TRUE(port.fileDialogs.empty());
  EXPECT_EQ(fake.CallsText(), "");
  EXPECT_EQ(port.LogText(),
            "ShowMessage(Critical,Quorvel," + std::string(msg::NoDatabaseSelected) + ")\n");
}

}  // namespace
}  // namespace desktop::testing
