// The comparison with a database read through the record producer (an
// export file, a backup) over the recording fake server.
#include <gtest/gtest.h>

#include <sstream>

#include "backup/DefinedNames.h"
#include "backup/LoadBackup.h"
#include "backup/TakeBackup.h"
#include "compare/CompareFile.h"
#include "compare/backup/CompareBackup.h"
#include "tests/compare/CompareTestSupport.h"
#include "tests/filterfile/FailingStreams.h"
#include "tests/support/FakeEssbaseApi.h"
#include "tests/support/TestFiles.h"

namespace compare {
namespace {

using essbase::testing::FakeEssbaseApi;

class ByDatabase : public BackupDifferenceSink {
 public:
  void Database(const std::string& app, const std::string& db) override {
    text += "[" + app + "/" + db + "]\n";
  }
  void Filter(const FilterDifference& d) override { text += testing::Describe(d) + "\n"; }
  std::string text;
};

class ServerSide : public ::testing::Test {
 protected:
  ServerSide() {
    fake.AddFilter("Finance", "Plan", "ReadEast", {{273, "East"}, {275, "West"}});
    auto& noBudget = fake.AddFilter("Finance", "Plan", "NoBudget", {{0, "Budget"}});
    noBudget.active = 0;
    noBudget.access = essbase::AccessRead;
    fake.AddFilter("Finance", "Plan", "Old", {{273, "old"}});
    read.hooks.onStatus = [this](int32_t status) { statuses.push_back(status); };
  }
  CompareOutcome CompareFile(std::istream& file) {
    return CompareFileWithDatabase(fake, context, file, "Finance", "Plan", read, out);
  }
  int Writes() const {
    return fake.CountCalls("EsbSetFilter") + fake.CountCalls("EsbSetFilterRow") +
           fake.CountCalls("EsbDeleteFilter");
  }

  FakeEssbaseApi fake;
  essbase::Handle context = 7;
  ServerRead read;
  std::vector<int32_t> statuses;
  testing::Recorder out;
};

const char* const File =
    "X\tY\tReadEast\t273\tEast\r\r\n"
    "X\tY\tReadEast\t273\tWest\r\r\n"
    "X\tY\tNoBudget\t0\tBudget\r\r\n"
    "X\tY\tNew\t273\tn\r\r\n";

TEST_F(ServerSide, FileComparisonWritesOrMissesWhatTheServerHolds) {
  std::istringstream file(File);
  const CompareOutcome outcome = CompareFile(file);
  EXPECT_TRUE(outcome.ok());
  EXPECT_EQ(out.text,
            "ReadEast changed ~West@275>273\n"
            "NoBudget changed values 0/273>1/375\n"
            "Old only-current\n"
            "New created +n@273\n");
  EXPECT_EQ(outcome.tally, (Tally{0, 2, 1, 1, 0, 0}));
  EXPECT_EQ(Writes(), 0);
  EXPECT_EQ(fake.CountCalls("EsbListFilters"), 1);
}

TEST_F(ServerSide, FailedRowReadStillReportsTheFilterAsCompared) {
  fake.Fail("EsbGetFilterRow", 1030030, 1, 1);
  std::istringstream file(File);
  EXPECT_EQ(CompareFile(file).end, CompareEnd::ServerFailure);
  EXPECT_EQ(statuses.back(), 1030030);
  EXPECT_EQ(out.text, "");  // the filter being read is not reported half-read
}

TEST_F(ServerSide, FileCutShortByTheDeviceIsComparedAnyway) {
  filterfile::testing::BrokenReadBuffer broken(File, 16);
  std::istream file(&broken);
  EXPECT_EQ(CompareFile(file).end, CompareEnd::FileUnreadable);
  EXPECT_TRUE(fake.calls.empty());
}

TEST_F(ServerSide, BackupComparisonMissesDeletionsAndWhatItPutsBack) {
  support::TempDir folder;
  const backup::BackupOutcome saved = backup::TakeBackup(
      fake, context, {},
      backup::ImportRequest("fakesrv", "Finance", "Plan", {"ReadEast", "NoBudget", "Made"}),
      {folder.path()});
  ASSERT_EQ(saved.result, backup::BackupResult::Written) << saved.reason;
  std::string reason;
  const std::optional<backup::LoadedBackup> loaded = backup::LoadBackup(saved.path, reason);
  ASSERT_TRUE(loaded) << reason;
  // What an import did since: one row changed, a filter made, one deleted.
  fake.FindFilter("Finance", "Plan", "ReadEast")->rows[1].text = "North";
  fake.AddFilter("Finance", "Plan", "Made", {{0, "m"}});
  auto& filters = fake.FindDatabase("Finance", "Plan")->filters;
  filters.erase(filters.begin() + 1);  // NoBudget
  fake.ClearCalls();

  ByDatabase byDatabase;
  const CompareOutcome outcome = CompareBackupWithServer(fake, context, *loaded, read, byDatabase);
  EXPECT_TRUE(outcome.ok());
  EXPECT_EQ(byDatabase.text,
            "[Finance/Plan]\n"
            "ReadEast changed -North@275 +West@275\n"
            "Made deleted\n"
            "NoBudget created +Budget@0\n");
  EXPECT_EQ(outcome.tally, (Tally{0, 1, 1, 0, 1, 0}));
  EXPECT_EQ(Writes(), 0);
}

}  // namespace
}  // namespace compare
