// Compare with File and the Backups window over the fake server and the
// scripted port: what each lists, what each refuses, and that only a
// confirmed restore writes.
#include "tests/desktop/FileCommandFixture.h"

namespace desktop::testing {
namespace {

class CompareWindows : public FileCommandTest {
 protected:
  void SetUp() override {
    FileCommandTest::SetUp();
    StartAt("Db:Finance-Plan");
  }
  // A window's lines, cells joined by "|"; a line the window may hide ends "=".
  static std::string Lines(const ComparisonView& view) {
    std::string out;
    for (const ComparisonLine& line : view.lines) {
      for (size_t i = 0; i < line.cells.size(); ++i) out += (i ? "|" : "") + line.cells[i];
      out += line.differs ? "\n" : "=\n";
    }
    return out;
  }
  int Writes() const {
    return fake.CountCalls("EsbSetFilter") + fake.CountCalls("EsbSetFilterRow") +
           fake.CountCalls("EsbDeleteFilter");
  }
  void CompareWith(const std::string& bytes) {
    support::WriteFile(Path("in.txt"), bytes);
    ChooseFile(Path("in.txt"));
    form.mnuCompare_Click();
  }
};

const char* const Drifted =
    "X\tY\tReadEast\t273\tEast\r\r\n"
    "X\tY\tReadEast\t273\tWest\r\r\n"
    "X\tY\tNew\t0\tn\r\r\n";

struct Refusal {
  const char* fault;
  const char* operationToFail;  // nullptr: none
  bool fileExists;
  bool databaseSelected;
  std::string message;  // IN stands for the file's path
};

class CompareRefusals : public CompareWindows, public ::testing::WithParamInterface<Refusal> {};

TEST_P(CompareRefusals, FailureShowsAnEmptyComparison) {
  const Refusal& r = GetParam();
  if (!r.databaseSelected) form.tree_NodeClick(Node("App:Finance"));
  if (r.operationToFail) fake.Fail(r.operationToFail, 1030030);
  if (r.fileExists) support::WriteFile(Path("in.txt"), Drifted);
  ChooseFile(Path("in.txt"));
  form.mnuCompare_Click();
  std::string message = r.message;
  if (size_t at = message.find("IN"); at != std::string::npos)
    message.replace(at, 2, Path("in.txt"));
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, message);
  EXPECT_EQ(port.messages[0].icon, MessageIcon::Critical);
  EXPECT_TRUE(port.comparisons.empty());
  EXPECT_FALSE(port.held);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, CompareRefusals,
    ::testing::Values(
        Refusal{"NoDatabase", nullptr, true, false, std::string(msg::NoDatabaseSelected)},
        Refusal{"MissingFile", nullptr, false, true,
                msg::CompareFileNotOpened("IN", "No such file or directory")},
        Refusal{"RefusedRow", "EsbGetFilterRow", true, true, msg::CompareReadFailed(1030030)}),
    [](const auto& info) { return std::string(info.param.fault); });

// A filter read that met an ended login is read again, whole, after a new
// one; the listing is not made again.
TEST_F(CompareWindows, DroppedSessionOnAReadLogsInOnceAndReadsTheFilterAgain) {
  fake.Fail("EsbGetFilterRow", essbase::ReloginStatus, 1, 1);
  const int logins = fake.CountCalls("EsbAutoLogin");
  CompareWith(Drifted);
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), logins + 1);
  ASSERT_EQ(port.comparisons.size(), 1u);
  EXPECT_TRUE(port.messages.empty());
}

TEST_F(CompareWindows, DroppedSessionOnTheListingEndsTheComparison) {
  fake.Fail("EsbListFilters", essbase::ReloginStatus);
  const int logins = fake.CountCalls("EsbAutoLogin");
  CompareWith(Drifted);
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), logins);
  EXPECT_TRUE(port.comparisons.empty());
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, msg::CompareReadFailed(essbase::ReloginStatus));
}

// The window holds the differences; the filters that are the same come when
// asked for, by comparing once more.
TEST_F(CompareWindows, FiltersThatAreTheSameComeOnlyWhenAskedFor) {
  CompareWith(
      "X\tY\tReadEast\t273\tEast\r\r\nX\tY\tReadEast\t275\tNorth\r\r\n"
      "X\tY\tNoBudget\t0\tBudget\r\r\nX\tY\tNew\t0\ta\r\r\nX\tY\tNew\t0\tb\r\r\n");
  ASSERT_EQ(port.comparisons.size(), 1u);
  const ComparisonView& view = port.comparisons[0];
  EXPECT_EQ(Lines(view),
            "ReadEast|row removed|West|Write|\n"
            "ReadEast|row added|North||Write\n"
            "New|would be created|2 rows||\n");
  ASSERT_TRUE(view.unchanged);
  const int reads = fake.CountCalls("EsbGetFilter");
  const std::vector<ComparisonLine> same = view.unchanged();
  EXPECT_EQ(Lines({{}, {}, {}, same, {}}), "NoBudget|the same|||=\n");
  EXPECT_EQ(fake.CountCalls("EsbGetFilter"), reads + 2);
}

TEST_F(CompareWindows, CompareIsNotEnabledAsImportIs) {
  EXPECT_TRUE(port.view[Control::mnuCompare].enabled);
  form.chkAll_Click(1);
  EXPECT_FALSE(port.view[Control::mnuCompare].enabled);
  EXPECT_EQ(form.menus().Compare, form.menus().Import);
}

TEST_F(CompareWindows, BackupsWindowHidesUnreadableBackupsAndRestoresWithoutShowingTheChange) {
  // A Delete's backup, an Import's a second later, and a description that
  // says nothing, named later still.
  Tick("ReadEast", false);
  form.mnuDelete_Click();
  clock.now += 1;
  support::WriteFile(Path("in.txt"), "X\tY\tReadEast\t275\tNorth\r\r\nX\tY\tNew\t0\tn\r\r\n");
  ChooseFile(Path("in.txt"));
  form.mnuImport_Click();
  const std::string folder = stateHome / "backups";
  support::WriteFile(folder + "/29991231-235959_fakesrv_delete_Finance-Plan.info", "nonsense\n");
  port.messages.clear();
  fake.ClearCalls();

  std::vector<BackupEntry> listed;
  std::vector<ComparisonView> views;
  size_t afterRestore = 0;
  port.backupsScript.push_back([&](BackupsHandler& window) {
    listed = window.backups();
    for (size_t i = 0; i < listed.size(); ++i) views.push_back(window.WhatRestoreChanges(i));
    EXPECT_EQ(Writes(), 0);
    window.OpenFolder();
    window.Restore(2);  // the Delete's
    afterRestore = window.backups().size();
  });
  form.mnuRestore_Click();

  ASSERT_EQ(listed.size(), 3u);
  auto row = [&](size_t i) {
    std::string out;
    for (size_t c = 1; c < 6; ++c) out += listed[i].cells.at(c) + "|";
    return out + (listed[i].readable ? "" : "unreadable");
  };
  const std::string server = form.connection().Server;
  EXPECT_EQ(row(0), "||||line 1 of the description is not understood|unreadable");
  EXPECT_EQ(row(1), "Import|" + server + "|Finance/Plan|1||");
  EXPECT_EQ(row(2), "Delete|" + server + "|Finance/Plan|1||");
  EXPECT_TRUE(listed[2].cells.at(6).ends_with("_delete_Finance-Plan.info")) << listed[2].cells[6];
  ASSERT_EQ(views.size(), 3u);
  EXPECT_EQ(views[0].summary, msg::BackupCannotBeRead(listed[0].cells[5]));
  EXPECT_EQ(Lines(views[1]),
            "Finance/Plan|ReadEast|row removed|North|Write|\n"
            "Finance/Plan|ReadEast|row added|East||Read\n"
            "Finance/Plan|ReadEast|row added|West||Write\n"
            "Finance/Plan|New|would be deleted|||\n");
  EXPECT_EQ(Lines(views[2]),
            "Finance/Plan|NoBudget|would be created|1 row||\n");
  EXPECT_EQ(views[2].summary, msg::RestoreChangeSummary(
                                  "0 filters would change, 1 would be created, 0 are the same"));
  EXPECT_NE(port.LogText().find("OpenUrl(file://" + folder + ")"), std::string::npos);
  // The restore asked, put NoBudget back, and left a backup of its own.
  ASSERT_EQ(port.messages.size(), 2u);
  EXPECT_EQ(port.messages[0].icon, MessageIcon::Question);
  EXPECT_EQ(port.messages[1].text, msg::Restored(1, 0));
  EXPECT_NE(fake.FindFilter("Finance", "Plan", "NoBudget"), nullptr);
  EXPECT_EQ(afterRestore, 4u);
}

}  // namespace
}  // namespace desktop::testing
