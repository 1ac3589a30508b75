// Change Access over the real library loader and the simulated server's
// library, checked in the store with `esbsim dump`.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "desktop/Messages.h"
#include "desktop/ToolkitPort.h"
#include "essbase/library/LibraryApi.h"
#include "tests/desktop/DesktopFixture.h"
#include "tests/desktop/SimulatedStore.h"

namespace desktop::testing {
namespace {

namespace fs = std::filesystem;

const std::string LongRow = "@IDESCENDANTS(\"East\"), " + std::string(4000, 'x');

// Sample is loaded, Cold is not. Rows of "east" in any case, and one row
// longer than the program's row buffer.
std::string Description() {
  return "server\tessdemo\n"
         "user\tdemo\tdemo\t275\n"
         "app\tSample\tloaded\n"
         "db\tSample\tBasic\n"
         "db\tSample\tInterim\n"
         "app\tCold\tunloaded\n"
         "db\tCold\tStore\n"
         "filter\tSample\tBasic\tEast\t0\t273\n"
         "row\t273\t@IDESCENDANTS(\"East\")\n"
         "row\t0\t\"West\"\n"
         "row\t273\t" +
         LongRow +
         "\n"
         "filter\tSample\tBasic\tOther\t1\t375\n"
         "row\t0\teastern\n"
         "filter\tSample\tInterim\tEast\t1\t375\n"
         "row\t273\tEast\n"
         "filter\tCold\tStore\tZone\t1\t375\n"
         "row\t273\tZone EAST\n"
         "row\t273\tZone West\n";
}

class ChangeEndToEnd : public ::testing::TestWithParam<essbase::Generation>,
                       protected SimulatedStore {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Load(Description()));
    ASSERT_TRUE(api.loaded()) << api.loadError();
    ASSERT_TRUE(api.SetLoginPrompt(&DemoPrompt, nullptr));
    form = std::make_unique<frmQuorvel>(api, port, GetParam(), backup::Place{dir / "backups"});
    form->Form_Load();
    form->mnuLogin_Click();
    ASSERT_EQ(form->connection().Status, 0);
  }
  void TearDown() override {
    form.reset();
    api.SetLoginPrompt(nullptr, nullptr);
  }
  std::string Filter(const std::string& app, const std::string& db, const std::string& name) {
    return FilterLines(Dump(), app, db, name);
  }
  int Node(const std::string& key) const { return form->tree().Find(key); }
  void Choose(const std::string& key) { form->tree_NodeClick(Node(key)); }
  void Answer(std::string access, std::string search) {
    port.changeDialogScript.push_back({std::move(access), std::move(search), 0, true});
  }
  // Runs `command`, which must change the server, then Restore of the backup
  // it left: the server must be as it was, byte for byte.
  void ExpectRestoreUndoes(const std::function<void()>& command) {
    const std::string before = Dump();
    command();
    ASSERT_NE(Dump(), before);
    RestoreTheBackup();
    EXPECT_EQ(Dump(), before);
  }
  // Restores the one backup the window has made from the Backups window,
  // answering Yes.
  void RestoreTheBackup() {
    port.messages.clear();
    port.answers = {MessageAnswer::Yes};
    port.backupsScript.push_back([](BackupsHandler& window) {
      ASSERT_EQ(window.backups().size(), 1u);
      window.Restore(0);
    });
    form->mnuRestore_Click();
    ASSERT_EQ(port.messages.size(), 2u);
    EXPECT_EQ(port.messages[1].icon, MessageIcon::Information) << port.messages[1].text;
  }

  essbase::LibraryApi api;
  ScriptedPort port;
  std::unique_ptr<frmQuorvel> form;
};

TEST_P(ChangeEndToEnd, OneDatabaseChangesTheMatchingRowsOfTheTickedFiltersOnly) {
  Choose("Db:Sample-Basic");
  ASSERT_EQ(form->filters().Count(), 2);
  form->filters().SetChecked(2, false);  // Other
  Answer("Write", "east");
  form->mnuChange_Click();
  ASSERT_FALSE(port.messages.empty());
  EXPECT_EQ(port.messages.back().text, "1 filters have been changed!");
  EXPECT_EQ(Filter("Sample", "Basic", "East"),
            "filter\tSample\tBasic\tEast\t1\t375\n"
            "row\t275\t@IDESCENDANTS(\"East\")\n"
            "row\t0\t\"West\"\n"
            "row\t275\t" +
                LongRow + "\n");
  EXPECT_EQ(Filter("Sample", "Basic", "Other"),
            "filter\tSample\tBasic\tOther\t1\t375\nrow\t0\teastern\n");
  EXPECT_EQ(Filter("Sample", "Interim", "East"),
            "filter\tSample\tInterim\tEast\t1\t375\nrow\t273\tEast\n");
}

TEST_P(ChangeEndToEnd, ThreeMarkedDatabasesChangeAndTheUnloadedApplicationIsUnloadedAgain) {
  form->chkAll_Click(1);
  for (const char* key : {"Db:Sample-Basic", "Db:Sample-Interim", "Db:Cold-Store"}) {
    Choose(key);
    form->tree_DblClick();
  }
  Answer("None", "EAST");
  form->mnuChange_Click();
  ASSERT_FALSE(port.messages.empty());
  EXPECT_EQ(port.messages.back().text, "4 filters have been changed!");
  const std::string dump = Dump();
  EXPECT_NE(dump.find("app\tCold\tunloaded\n"), std::string::npos) << dump;
  EXPECT_NE(dump.find("app\tSample\tloaded\n"), std::string::npos) << dump;
  EXPECT_EQ(Filter("Cold", "Store", "Zone"),
            "filter\tCold\tStore\tZone\t1\t375\nrow\t0\tZone EAST\nrow\t273\tZone West\n");
  EXPECT_EQ(Filter("Sample", "Interim", "East"),
            "filter\tSample\tInterim\tEast\t1\t375\nrow\t0\tEast\n");
  EXPECT_EQ(Filter("Sample", "Basic", "Other"),
            "filter\tSample\tBasic\tOther\t1\t375\nrow\t0\teastern\n");
}

TEST_P(ChangeEndToEnd, WriteFailureArmedOnTheServerIsRetriedAndEveryFilterWritten) {
  ASSERT_TRUE(Load(Description() + "fault\tEsbSetFilterRow\t1042\t1\t1\n"));
  Choose("Db:Sample-Basic");
  Answer("Write", "east");
  form->mnuChange_Click();
  ASSERT_EQ(port.messages.size(), 3u);
  EXPECT_EQ(port.messages[1].text, msg::ChangeWriteFailed());
  EXPECT_EQ(port.messages[1].buttons, MessageButtons::RetryCancel);
  EXPECT_EQ(port.messages[2].text, "2 filters have been changed!");
  EXPECT_EQ(Filter("Sample", "Basic", "East"),
            "filter\tSample\tBasic\tEast\t1\t375\n"
            "row\t275\t@IDESCENDANTS(\"East\")\n"
            "row\t0\t\"West\"\n"
            "row\t275\t" +
                LongRow + "\n");
  EXPECT_EQ(Filter("Sample", "Basic", "Other"),
            "filter\tSample\tBasic\tOther\t1\t375\nrow\t275\teastern\n");
  EXPECT_EQ(Dump().find("fault\t"), std::string::npos);
}

// The interrupted filter stays open on the login with its first row: the
// closing call of a later command (an import of an empty file sends one)
// must not commit it.
TEST_P(ChangeEndToEnd, CancelAfterAWriteFailureLeavesTheInterruptedFilterAsItWasForGood) {
  ASSERT_TRUE(Load(Description() + "fault\tEsbSetFilterRow\t1042\t1\t1\n"));
  const std::string before = Filter("Sample", "Basic", "East");
  ASSERT_EQ(before.substr(0, before.find('\n')), "filter\tSample\tBasic\tEast\t0\t273");
  Choose("Db:Sample-Basic");
  Answer("Write", "east");
  port.answers = {MessageAnswer::Yes, MessageAnswer::Cancel};
  form->mnuChange_Click();
  EXPECT_EQ(port.messages.back().text, msg::ChangeWriteFailed());
  EXPECT_EQ(Filter("Sample", "Basic", "East"), before);

  support::WriteFile(dir / "empty.txt", "");
  port.fileAnswers.push_back({FileDialogResult::Outcome::Chosen, dir / "empty.txt"});
  port.messages.clear();
  form->mnuImport_Click();
  EXPECT_TRUE(port.messages.empty()) << port.messages.front().text;
  EXPECT_EQ(Filter("Sample", "Basic", "East"), before);
}

TEST_P(ChangeEndToEnd, RestoreAfterAChangeOfOneDatabaseGivesTheServerBackByteForByte) {
  ExpectRestoreUndoes([&] {
    Choose("Db:Sample-Basic");
    Answer("Write", "east");
    form->mnuChange_Click();
  });
}

TEST_P(ChangeEndToEnd, RestoreAfterAChangeOfAllMarkedDatabasesGivesTheServerBackByteForByte) {
  ExpectRestoreUndoes([&] {
    form->chkAll_Click(1);
    for (const char* key : {"Db:Sample-Basic", "Db:Sample-Interim", "Db:Cold-Store"}) {
      Choose(key);
      form->tree_DblClick();
    }
    Answer("None", "EAST");
    form->mnuChange_Click();
  });
}

// Cancelled in the retry question half-way: the first filter was rewritten,
// the second was not; Restore puts back the one and leaves the other as it is.
TEST_P(ChangeEndToEnd, RestoreAfterAChangeCancelledHalfWayGivesTheServerBackByteForByte) {
  ExpectRestoreUndoes([&] {
    // East's three rows and its closing call go through; Other's first row fails.
    ASSERT_TRUE(Load(Description() + "fault\tEsbSetFilterRow\t1042\t4\t1\n"));
    Choose("Db:Sample-Basic");
    Answer("Write", "east");
    port.answers = {MessageAnswer::Yes, MessageAnswer::Cancel};
    form->mnuChange_Click();
    EXPECT_EQ(port.messages.back().text, msg::ChangeWriteFailed());
    EXPECT_NE(Filter("Sample", "Basic", "East").find("row\t275\t"), std::string::npos);
    EXPECT_EQ(Filter("Sample", "Basic", "Other"),
              "filter\tSample\tBasic\tOther\t1\t375\nrow\t0\teastern\n");
  });
}

INSTANTIATE_TEST_SUITE_P(Generations, ChangeEndToEnd,
                         ::testing::Values(essbase::Generation::V6, essbase::Generation::V5));

}  // namespace
}  // namespace desktop::testing
