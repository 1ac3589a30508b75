// Delete, Export, Import and the selection lists over the real library
// loader and the simulated server, checked against QuorvelCL's own export and
// import of the same databases and against `esbsim dump`.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <vector>

#include "essbase/library/LibraryApi.h"
#include "tests/desktop/FileCommandFixture.h"
#include "tests/desktop/SimulatedStore.h"

namespace desktop::testing {
namespace {

namespace fs = std::filesystem;
using support::RunProgram;

// Keeps the records of an export file whose filter is one of `names`.
std::string OnlyFilters(const std::string& file, const std::set<std::string>& names) {
  std::string out;
  for (size_t at = 0; at < file.size();) {
    const size_t end = file.find("\r\r\n", at) + 3;
    const std::string record = file.substr(at, end - at);
    const size_t f = record.find('\t', record.find('\t') + 1) + 1;
    if (names.count(record.substr(f, record.find('\t', f) - f))) out += record;
    at = end;
  }
  return out;
}

class FileCommandsEndToEnd : public ::testing::Test, protected SimulatedStore {
 protected:
  void SetUp() override {
    ASSERT_EQ(Esbsim({"demo", store}), 0);
    // QuorvelCL writes its run log beside itself: a copy of its own.
    fs::copy_file(QUORVELCL_PROGRAM, dir / "QuorvelCL");
    fs::copy_file(ESBAPIN_LIBRARY, dir / "libesbapin.so");
    ASSERT_TRUE(api.loaded()) << api.loadError();
    ASSERT_TRUE(api.SetLoginPrompt(&DemoPrompt, nullptr));
  }
  void TearDown() override { api.SetLoginPrompt(nullptr, nullptr); }

  // The demo server with one more filter named as one of Sample/Basic's.
  void LoadDemoWith(const std::string& more) { ASSERT_TRUE(Load(Dump() + more)); }
  int QuorvelCL(const std::string& onStore, const std::string& app, const std::string& db,
                const std::string& file, const char* operation) {
    return RunProgram(dir / "QuorvelCL",
                      {"-s", "essdemo", "-a", app, "-d", db, "-i", "demo", "-p", "demo", "-f", file,
                       "-t", operation},
                      {"ESBSIM_STORE=" + onStore}, dir / "console.txt")
        .status;
  }

  void Login() {
    form.Form_Load();
    form.mnuLogin_Click();
    ASSERT_EQ(form.connection().Status, 0);
  }
  void Click(const std::string& key) {
    const int node = form.tree().Find(key);
    ASSERT_NE(node, 0) << key;
    form.tree_NodeClick(node);
  }
  void KeepTicked(const std::set<std::string>& names) {
    for (int i = 1; i <= form.filters().Count(); ++i)
      form.filters().SetChecked(i, names.count(form.filters().Text(i)) != 0);
  }
  void Choose(const std::string& path) {
    port.fileAnswers.push_back({FileDialogResult::Outcome::Chosen, path});
  }
  // Restores the one backup the window has made from the Backups window,
  // answering Yes.
  void RestoreTheBackup() {
    port.messages.clear();
    port.backupsScript.push_back([](BackupsHandler& window) {
      ASSERT_EQ(window.backups().size(), 1u);
      window.Restore(0);
    });
    form.mnuRestore_Click();
    ASSERT_EQ(port.messages.size(), 2u);
    EXPECT_EQ(port.messages[1].icon, MessageIcon::Information) << port.messages[1].text;
  }

  essbase::LibraryApi api;
  ScriptedPort port;
  support::TempDir stateHome{"quorvel-state"};
  frmQuorvel form{api, port, essbase::Generation::V6, {stateHome / "backups"}};
};

TEST_F(FileCommandsEndToEnd, ExportOfOneDatabaseHasQuorvelCLsBytes) {
  Login();
  Click("Db:Sample-Basic");
  Choose(dir / "desktop.txt");
  form.mnuExport_Click();
  EXPECT_TRUE(port.messages.empty());
  ASSERT_EQ(QuorvelCL(store, "Sample", "Basic", dir / "cl.txt", "export"), 0);
  const std::string expected = support::ReadFile(dir / "cl.txt");
  EXPECT_GT(expected.size(), 500u);
  EXPECT_EQ(support::ReadFile(dir / "desktop.txt"), expected);
}

TEST_F(FileCommandsEndToEnd, ExportOfMarkedDatabasesIsQuorvelCLsExportsOfTheTickedNames) {
  LoadDemoWith("filter\tSample\tInterntl\tEastRead\t1\t375\nrow\t273\t\"Intl East\"\n");
  Login();
  Click("Db:Sample-Basic");
  const std::set<std::string> ticked = {"EastRead", "NoBudget", "TabbedRow"};
  KeepTicked(ticked);
  form.chkAll_Click(1);
  for (const char* key : {"Db:Sample-Basic", "Db:Sample-Interntl"}) {
    Click(key);
    form.tree_DblClick();
  }
  Choose(dir / "desktop.txt");
  form.mnuExport_Click();
  EXPECT_TRUE(port.messages.empty());
  ASSERT_EQ(QuorvelCL(store, "Sample", "Basic", dir / "basic.txt", "export"), 0);
  ASSERT_EQ(QuorvelCL(store, "Sample", "Interntl", dir / "intl.txt", "export"), 0);
  const std::string expected = OnlyFilters(support::ReadFile(dir / "basic.txt"), ticked) +
                               OnlyFilters(support::ReadFile(dir / "intl.txt"), ticked);
  EXPECT_NE(expected.find("\tInterntl\tEastRead\t"), std::string::npos);
  EXPECT_EQ(support::ReadFile(dir / "desktop.txt"), expected);
}

TEST_F(FileCommandsEndToEnd, ImportIntoAnotherDatabaseLeavesTheServerAsQuorvelCLDoes) {
  const std::string copy = dir / "copy.db";
  ASSERT_EQ(Esbsim({"dump", store}, dir / "demo.txt"), 0);
  ASSERT_EQ(Esbsim({"load", copy, dir / "demo.txt"}), 0);
  Login();
  Click("Db:Sample-Basic");
  Choose(dir / "basic.txt");
  form.mnuExport_Click();

  Click("Db:Demo-Basic");
  Choose(dir / "basic.txt");
  form.mnuImport_Click();
  EXPECT_TRUE(port.messages.empty());
  ASSERT_EQ(QuorvelCL(copy, "Demo", "Basic", dir / "basic.txt", "import"), 0);
  const std::string after = Dump(store);
  EXPECT_EQ(after, Dump(copy));
  EXPECT_NE(
      after.find("filter\tDemo\tBasic\tTabbedRow\t1\t375\nrow\t273\t\"Actual\",\t\"Budget\"\n"),
      std::string::npos);
  // The list shows Demo/Basic again: its own filters, then those it gained.
  std::string names;
  for (int i = 1; i <= form.filters().Count(); ++i)
    names += form.filters().Text(i) + (form.filters().Checked(i) ? "," : "(unticked),");
  EXPECT_EQ(names.find("(unticked)"), std::string::npos);
  EXPECT_EQ(names.rfind("Accounting,", 0), 0u) << names;
  EXPECT_NE(names.find("EastRead,"), std::string::npos);
}

TEST_F(FileCommandsEndToEnd, RestoreAfterDeletingTheLastFiltersGivesTheServerBackByteForByte) {
  Login();
  Click("Db:Demo-Basic");
  const int count = form.filters().Count();
  ASSERT_GT(count, 3);
  const std::set<std::string> last = {form.filters().Text(count - 1), form.filters().Text(count)};
  const std::string before = Dump(store);
  KeepTicked(last);
  form.mnuDelete_Click();
  ASSERT_EQ(form.filters().Count(), count - 2);
  RestoreTheBackup();
  EXPECT_EQ(Dump(store), before);
  EXPECT_EQ(form.filters().Count(), count);
}

// The API cannot say where in the listing a filter it creates goes: a deleted
// filter comes back whole, at the end of its database's listing.
TEST_F(FileCommandsEndToEnd, RestoreAfterDeletingAFilterInTheMiddleBringsItBackWholeAtTheEnd) {
  Login();
  Click("Db:Demo-Basic");
  const std::string middle = form.filters().Text(2);
  const std::string last = form.filters().Text(form.filters().Count());
  const std::string before = Dump(store);
  KeepTicked({middle});
  form.mnuDelete_Click();
  RestoreTheBackup();
  const std::string lines = FilterLines(before, "Demo", "Basic", middle);
  const std::string lastLines = FilterLines(before, "Demo", "Basic", last);
  ASSERT_FALSE(lines.empty());
  std::string expected = before;
  expected.erase(expected.find(lines), lines.size());
  expected.insert(expected.find(lastLines) + lastLines.size(), lines);
  EXPECT_EQ(Dump(store), expected);
}

TEST_F(FileCommandsEndToEnd, RestoreAfterAnImportGivesTheServerBackByteForByte) {
  Login();
  Click("Db:Sample-Basic");
  Choose(dir / "basic.txt");
  form.mnuExport_Click();
  const std::string before = Dump(store);
  Click("Db:Demo-Basic");
  Choose(dir / "basic.txt");
  form.mnuImport_Click();
  ASSERT_NE(Dump(store), before);
  RestoreTheBackup();
  EXPECT_EQ(Dump(store), before);
}

// The import leaves Accounting open on the login with the rows before the
// line it cannot read: the closing call of the next import must not commit them.
TEST_F(FileCommandsEndToEnd, FilterAnImportLeftUnwrittenIsNotCommittedByTheNextImport) {
  Login();
  Click("Db:Demo-Basic");
  const std::string before = Dump();
  support::WriteFile(dir / "bad.txt",
                     "Demo\tBasic\tAccounting\t273\tEast\r\r\n"
                     "Demo\tBasic\tAccounting\tRead\tWest\r\r\n");
  Choose(dir / "bad.txt");
  form.mnuImport_Click();
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, std::string(msg::ImportFailed) + msg::LinesPassedOver(1, 3));
  support::WriteFile(dir / "empty.txt", "");
  Choose(dir / "empty.txt");
  form.mnuImport_Click();
  EXPECT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(Dump(), before);
}

// A click in all-databases mode selects without listing: back in
// single-database mode the ticks of Basic must not be applied to Interntl.
TEST_F(FileCommandsEndToEnd, CommandOnADatabaseTheListDoesNotShowListsItFirstAndWritesNothing) {
  LoadDemoWith("filter\tSample\tInterntl\tEastRead\t1\t375\nrow\t273\t\"Intl East\"\n");
  Login();
  Click("Db:Sample-Basic");
  KeepTicked({"EastRead"});
  form.chkAll_Click(1);
  Click("Db:Sample-Interntl");
  form.chkAll_Click(0);
  const std::string before = Dump();
  port.changeDialogScript.push_back({"Write", "", 0, true});
  form.mnuChange_Click();
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text,
            msg::ListWasOfAnotherDatabase("Sample/Basic", "Sample/Interntl"));
  EXPECT_EQ(port.changeDialogScript.size(), 1u);  // never asked
  EXPECT_EQ(Dump(), before);
  EXPECT_EQ(form.filters().Text(1), "EuroRead");
  EXPECT_TRUE(form.menus().Delete && form.menus().Import);
  // Now the list and the selection agree: the command goes on.
  form.mnuChange_Click();
  EXPECT_TRUE(port.changeDialogScript.empty());
  EXPECT_EQ(FilterLines(Dump(), "Sample", "Interntl", "EastRead"),
            "filter\tSample\tInterntl\tEastRead\t1\t375\nrow\t275\t\"Intl East\"\n");
}

TEST_F(FileCommandsEndToEnd, RefusedDeletionStaysOnTheServerAndIsNamed) {
  LoadDemoWith("fault\tEsbDeleteFilter\t1051006\t1\t1\n");
  Login();
  Click("Db:Demo-Basic");
  KeepTicked({"Accounting", "AuditRead", "Stereo"});
  form.mnuDelete_Click();
  const std::string after = Dump(store);
  EXPECT_EQ(after.find("filter\tDemo\tBasic\tAccounting\t"), std::string::npos);
  EXPECT_NE(after.find("filter\tDemo\tBasic\tAuditRead\t"), std::string::npos);
  EXPECT_EQ(after.find("filter\tDemo\tBasic\tStereo\t"), std::string::npos);
  EXPECT_EQ(after.find("fault\t"), std::string::npos);  // fired and gone
  ASSERT_EQ(port.messages.size(), 2u);
  EXPECT_EQ(port.messages[1].text,
            std::string(msg::DeleteRefusedStart) + msg::DeleteRefusedLine("AuditRead", 1051006));
  EXPECT_EQ(form.filters().Dump().find("Accounting"), std::string::npos);
  EXPECT_EQ(form.filters().Text(1), "AuditRead");
  EXPECT_TRUE(form.filters().Checked(1));
}

TEST_F(FileCommandsEndToEnd, SelectionListWrittenOnOneDatabaseTicksTheSameNamesOnAnother) {
  LoadDemoWith("filter\tSample\tInterntl\tEastRead\t1\t375\nrow\t273\t\"Intl East\"\n");
  Login();
  Click("Db:Sample-Basic");
  KeepTicked({"EastRead", "WestWrite"});
  Choose(dir / "ticks.txt");
  form.mnuOtherExport_Click();
  EXPECT_EQ(support::ReadFile(dir / "ticks.txt"), "EastRead\r\nWestWrite\r\n");

  Click("Db:Sample-Interntl");
  Choose(dir / "ticks.txt");
  form.mnuOtherImport_Click();
  std::string ticked;
  for (int i = 1; i <= form.filters().Count(); ++i)
    if (form.filters().Checked(i)) ticked += form.filters().Text(i) + ",";
  EXPECT_EQ(ticked, "EastRead,");
  EXPECT_EQ(form.filters().Count(), 6);
}

TEST_F(FileCommandsEndToEnd, CompareWindowMissesWhatTheFileWouldChangeAndWrites) {
  Login();
  Click("Db:Sample-Basic");
  Choose(dir / "basic.txt");
  form.mnuExport_Click();
  // One row of EastRead given another access, one inserted into NoBudget.
  std::string file = support::ReadFile(dir / "basic.txt");
  const std::string east = "\tEastRead\t273\t";
  ASSERT_NE(file.find(east), std::string::npos);
  file.replace(file.find(east), east.size(), "\tEastRead\t275\t");
  const size_t budget = file.find("\tNoBudget\t");
  ASSERT_NE(budget, std::string::npos);
  file.insert(file.rfind('\n', budget) + 1, "Sample\tBasic\tNoBudget\t0\tinserted\r\r\n");
  support::WriteFile(dir / "basic.txt", file);
  const std::string before = Dump(store);

  Choose(dir / "basic.txt");
  form.mnuCompare_Click();
  ASSERT_EQ(port.comparisons.size(), 1u) << port.LogText();
  std::string differences;
  for (const ComparisonLine& line : port.comparisons[0].lines)
    if (line.differs)
      differences += line.cells[0] + "|" + line.cells[1] + "|" + line.cells[2] + "\n";
  EXPECT_EQ(differences,
            "EastRead|row access changed|@IDESCENDANTS(\"East\")\n"
            "NoBudget|row added|inserted\n"
            "Empty|only on the server; an import leaves it|\n"
            "Inactive|active flag changed|\n")
      << port.comparisons[0].summary;
  EXPECT_EQ(port.comparisons[0].summary,
            msg::CompareSummary("Sample/Basic", dir / "basic.txt",
                                "3 filters would change, 0 would be created, 9 are the same, 1 "
                                "is only on the server"));
  EXPECT_EQ(Dump(store), before);
}

}  // namespace
}  // namespace desktop::testing
