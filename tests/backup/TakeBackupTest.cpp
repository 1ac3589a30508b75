#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/time.h>
#endif

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "backup/BackupName.h"
#include "backup/LoadBackup.h"
#include "backup/Prune.h"
#include "backup/TakeBackup.h"
#include "tests/backup/BackupTestSupport.h"
#include "tests/support/FakeServer.h"
#include "tests/support/LibraryRig.h"

namespace backup {
namespace {

using testing::FixedTime;
using testing::Listing;
using testing::ReadFile;

[[maybe_unused]] auto* const utc = ::testing::AddGlobalTestEnvironment(new testing::UtcZone);

class TakeBackupTest : public ::testing::Test, protected essbase::testing::LibraryRig {
 protected:
  TakeBackupTest() {
    api.AddFilter("Fin", "Plan", "ReadEast", {{273, "East"}, {275, "West\tBudget"}});
    api.AddFilter("Fin", "Plan", "Other", {{0, "x"}});
    auto& own = api.AddFilter("Fin", "Plan", "NoRows");
    own.active = 0;
    own.access = 273;
    auto& read = *api.FindFilter("Fin", "Plan", "ReadEast");
    read.active = 0;
    read.access = 0;
    api.AddFilter("Fin", "Copy", "ReadEast", {{1, "copy row"}});
    place.folder = dir / "state/quorvel/backups";
    place.clock = &clock;
  }

  Request ImportOf(std::vector<std::string> names) {
    return {"import", "essdemo", {{"Fin", "Plan", std::move(names), true}}};
  }
  BackupOutcome Take(const Request& request) { return TakeBackup(server, request, place); }

  testing::TempFolder dir;
  testing::FixedClock clock;
  Place place;
};

TEST_F(TakeBackupTest, SavesExactlyTheNamedFiltersWithTheirOwnValuesAndTheNamesToBeCreated) {
  const BackupOutcome outcome = Take(ImportOf({"ReadEast", "NoRows", "Brand New"}));
  ASSERT_EQ(outcome.result, BackupResult::Written) << outcome.reason;
  const std::string stem = place.folder + "/20260307-130509_essdemo_import_Fin-Plan";
  EXPECT_EQ(outcome.path, stem + ".txt");
  const std::string records =
      "Fin\tPlan\tReadEast\t273\tEast\r\r\nFin\tPlan\tReadEast\t275\tWest\tBudget\r\r\n";
  EXPECT_EQ(ReadFile(stem + ".txt"), records);
  EXPECT_EQ(ReadFile(stem + ".info"),
            "quorvel-backup\t1\ncommand\timport\ntime\t2026-03-07 13:05:09 +0000\n"
            "server\tessdemo\ndatabase\tFin\tPlan\t0\t" +
                std::to_string(records.size()) +
                "\nfilter\tFin\tPlan\tReadEast\t0\t0\t2\nfilter\tFin\tPlan\tNoRows\t0\t273\t0\n"
                "created\tFin\tPlan\tBrand New\nend\n");
  EXPECT_EQ(Listing(place.folder),
            (std::vector<std::string>{"20260307-130509_essdemo_import_Fin-Plan.info",
                                      "20260307-130509_essdemo_import_Fin-Plan.txt"}));
  // Reads only, and only the named filters (Other, unreadable or not, stops
  // nobody): nothing on the server changed.
  EXPECT_EQ(api.CallsText("EsbGetFilter"),
            "EsbGetFilter(Fin,Plan,ReadEast)\nEsbGetFilter(Fin,Plan,NoRows)\n");
  EXPECT_EQ(api.CountCalls("EsbSetFilter") + api.CountCalls("EsbDeleteFilter"), 0);
  EXPECT_EQ(conn.Status, 0);
}

TEST_F(TakeBackupTest, AFilterTheCommandLeavesAloneNeverBlocksTheBackup) {
  // Other cannot be read: its row is longer than any the server hands out.
  api.FindFilter("Fin", "Plan", "Other")->rows[0].text.assign(essbase::MaxRowLength + 1, 'x');
  const BackupOutcome outcome = Take(ImportOf({"ReadEast", "NoRows"}));
  EXPECT_EQ(outcome.result, BackupResult::Written) << outcome.reason;
}

TEST_F(TakeBackupTest, NamesAreSavedAsTheServerNamesThem) {
  const BackupOutcome outcome = Take(ImportOf({"ReadEast  ", "Brand New "}));
  ASSERT_EQ(outcome.result, BackupResult::Written) << outcome.reason;
  std::string reason;
  const auto loaded = LoadBackup(outcome.path, reason);
  ASSERT_TRUE(loaded) << reason;
  ASSERT_EQ(loaded->info.filters.size(), 1u);
  EXPECT_EQ(loaded->info.filters[0].name, "ReadEast");
  EXPECT_EQ(loaded->info.created, (std::vector<CreatedName>{{"Fin", "Plan", "Brand New"}}));
}

TEST_F(TakeBackupTest, ADatabaseNamedTwiceIsSavedOnce) {
  Request request{"change",
                  "essdemo",
                  {{"Fin", "Plan", std::vector<std::string>{"ReadEast"}, false},
                   {"Fin", "Plan", std::vector<std::string>{"NoRows"}, false}}};
  const BackupOutcome outcome = Take(request);
  ASSERT_EQ(outcome.result, BackupResult::Written) << outcome.reason;
  std::string reason;
  const auto loaded = LoadBackup(outcome.path, reason);
  ASSERT_TRUE(loaded) << reason;
  EXPECT_EQ(loaded->info.databases.size(), 1u);
  EXPECT_EQ(loaded->info.filters.size(), 2u);
  EXPECT_EQ(api.CountCalls("EsbListFilters"), 1);
}

TEST_F(TakeBackupTest, ATargetWithNoNamesMakesNoCall) {
  Request request{"delete", "essdemo", {{"Fin", "Plan", std::vector<std::string>{}, false}}};
  EXPECT_EQ(Take(request).result, BackupResult::NothingToBackUp);
  EXPECT_TRUE(api.calls.empty());
}

TEST_F(TakeBackupTest, RowsLongerThanTheDesktopBufferAreSavedWhole) {
  const std::string row(essbase::MaxRowLength, 'L');
  api.FindFilter("Fin", "Plan", "Other")->rows = {{1, row}};
  const BackupOutcome outcome = Take(ImportOf({"Other"}));
  ASSERT_EQ(outcome.result, BackupResult::Written) << outcome.reason;
  EXPECT_EQ(ReadFile(outcome.path), "Fin\tPlan\tOther\t1\t" + row + "\r\r\n");
  // In a buffer that holds the longest row at once: one call per row.
  const std::string call = "EsbGetFilterRow(" + std::to_string(essbase::MaxRowLength + 1) + ")\n";
  EXPECT_EQ(api.CallsText("EsbGetFilterRow"), call + call);
}

TEST_F(TakeBackupTest, ASecondBackupInTheSameSecondKeepsTheFirst) {
  const BackupOutcome first = Take(ImportOf({"ReadEast"}));
  const BackupOutcome second = Take(ImportOf({"Other"}));
  ASSERT_EQ(second.result, BackupResult::Written) << second.reason;
  EXPECT_NE(first.path, second.path);
  EXPECT_EQ(second.path, place.folder + "/20260307-130509_essdemo_import_Fin-Plan.2.txt");
  EXPECT_NE(ReadFile(first.path).find("ReadEast"), std::string::npos);
  EXPECT_NE(ReadFile(second.path).find("Other"), std::string::npos);
}

TEST_F(TakeBackupTest, EveryFilterOfSeveralDatabasesEachInItsOwnRange) {
  Request request{"change", "essdemo", {{"Fin", "Plan", {}, false}, {"Fin", "Copy", {}, false}}};
  const BackupOutcome outcome = Take(request);
  ASSERT_EQ(outcome.result, BackupResult::Written) << outcome.reason;
  EXPECT_EQ(outcome.path, place.folder + "/20260307-130509_essdemo_change_Fin-Plan+1.txt");
  std::string reason;
  const auto loaded = LoadBackup(outcome.path, reason);
  ASSERT_TRUE(loaded) << reason;
  EXPECT_EQ(loaded->info.filters.size(), 4u);
  ASSERT_EQ(loaded->info.databases.size(), 2u);
  EXPECT_EQ(loaded->info.databases[1].length,
            std::string("Fin\tCopy\tReadEast\t1\tcopy row\r\r\n").size());
}

TEST_F(TakeBackupTest, NothingNamedExistsAndNothingIsCreatedMeansNoFile) {
  Request request{"delete", "essdemo", {{"Fin", "Plan", std::vector<std::string>{"Gone"}, false}}};
  const BackupOutcome outcome = Take(request);
  EXPECT_EQ(outcome.result, BackupResult::NothingToBackUp);
  EXPECT_TRUE(outcome.mayWrite());
  EXPECT_EQ(Listing(place.folder), std::vector<std::string>{});
}

TEST_F(TakeBackupTest, FolderThatCannotBeMadeGivesNoBackupAndSaysWhy) {
  testing::WriteFile(dir / "state", "a file where a folder should be");
  const BackupOutcome outcome = Take(ImportOf({"ReadEast"}));
  EXPECT_EQ(outcome.result, BackupResult::FolderUnavailable);
  EXPECT_FALSE(outcome.mayWrite());
  EXPECT_NE(outcome.reason.find(place.folder), std::string::npos);
  EXPECT_TRUE(api.calls.empty());
}

TEST_F(TakeBackupTest, FailedReadLeavesNoFileBehindAndNamesTheCall) {
  api.Fail("EsbGetFilterRow", ESB_STS_STORE_FAILURE, 1);
  const BackupOutcome outcome = Take(ImportOf({"ReadEast"}));
  EXPECT_EQ(outcome.result, BackupResult::ServerFailure);
  EXPECT_FALSE(outcome.mayWrite());
  EXPECT_EQ(outcome.status, ESB_STS_STORE_FAILURE);
  EXPECT_EQ(outcome.failure.filter, "ReadEast");
  EXPECT_EQ(outcome.reason, "EsbGetFilterRow returned " + std::to_string(ESB_STS_STORE_FAILURE));
  EXPECT_EQ(Listing(place.folder), std::vector<std::string>{});
}

TEST_F(TakeBackupTest, TheServersOwnWordsAndTheClientsAreInTheReason) {
  essbase::testing::FakeServer fake;
  fake.AddFilter("Fin", "Plan", "ReadEast", {{273, "East"}});
  essbase::Failure said = essbase::FailureOf(essbase::Step::ReadFilter, 500, "GET filter");
  said.serverText = "internal error";
  said.detail = "the answer is not JSON";
  fake.Fail(essbase::Step::ReadFilter, said);
  const BackupOutcome outcome = TakeBackup(fake, ImportOf({"ReadEast"}), place);
  EXPECT_EQ(outcome.result, BackupResult::ServerFailure);
  EXPECT_EQ(outcome.reason,
            "GET filter returned 500 (the server said: internal error) (the answer is not JSON)");
}

TEST_F(TakeBackupTest, AFailedStepWithoutACallIsNamedByItsStep) {
  essbase::testing::FakeServer fake;
  fake.AddDatabase("Fin", "Plan");
  fake.Fail(essbase::Step::ListFilters, ESB_STS_STORE_FAILURE);
  const BackupOutcome outcome = TakeBackup(fake, ImportOf({"ReadEast"}), place);
  EXPECT_EQ(outcome.reason, "list the filters returned " + std::to_string(ESB_STS_STORE_FAILURE));
}

// The backup's policy: a filter whose read met an ended login is read again
// whole after a new login, and saved once.
TEST_F(TakeBackupTest, ReadThatMetAnEndedLoginIsMadeAgainWholeOnTheNewLogin) {
  const essbase::Handle before = conn.ContextHandle;
  api.Fail("EsbGetFilterRow", ESB_STS_RELOGIN, 1);
  const auto policed =
      session.Under(essbase::policy::WholeFilters(essbase::Policy::Login::Quiet));
  const BackupOutcome outcome = Take(ImportOf({"ReadEast"}));
  ASSERT_EQ(outcome.result, BackupResult::Written) << outcome.reason;
  EXPECT_EQ(ReadFile(outcome.path),
            "Fin\tPlan\tReadEast\t273\tEast\r\r\nFin\tPlan\tReadEast\t275\tWest\tBudget\r\r\n");
  const std::vector<essbase::Handle> reads = ContextsOf("EsbGetFilter");
  ASSERT_EQ(reads.size(), 2u);
  EXPECT_EQ(reads[0], before);
  EXPECT_NE(reads[1], before);
  EXPECT_EQ(reads[1], conn.ContextHandle);
}

TEST_F(TakeBackupTest, ReadThatMetAnEndedLoginFailsTheBackupWithoutThePolicy) {
  api.Fail("EsbGetFilterRow", ESB_STS_RELOGIN, 1);
  const BackupOutcome outcome = Take(ImportOf({"ReadEast"}));
  EXPECT_EQ(outcome.result, BackupResult::ServerFailure);
  EXPECT_EQ(outcome.status, ESB_STS_RELOGIN);
  EXPECT_EQ(api.CountCalls("EsbGetFilter"), 1);
  EXPECT_EQ(api.CountCalls("EsbLogin"), 0);
  EXPECT_EQ(Listing(place.folder), std::vector<std::string>{});
}

TEST_F(TakeBackupTest, TheListingIsNoStepTheBackupsPolicyRepeats) {
  api.Fail("EsbListFilters", ESB_STS_RELOGIN);
  const auto policed =
      session.Under(essbase::policy::WholeFilters(essbase::Policy::Login::Quiet));
  const BackupOutcome outcome = Take(ImportOf({"ReadEast"}));
  EXPECT_EQ(outcome.result, BackupResult::ServerFailure);
  EXPECT_EQ(api.CountCalls("EsbListFilters"), 1);
}

#ifndef _WIN32
// The file size limit makes write() fail as a full disk does, without root.
class SizeLimit {
 public:
  explicit SizeLimit(rlim_t bytes) {
    old_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~SizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, old_);
  }

 private:
  rlimit saved_{};
  void (*old_)(int);
};

TEST_F(TakeBackupTest, DiskFillingDuringTheBackupGivesNoBackupAndNoLeftovers) {
  std::vector<essbase::testing::FakeRow> rows;
  for (int i = 0; i < 2000; ++i)
    rows.push_back({273, "row " + std::to_string(i) + std::string(80, 'r')});
  api.FindFilter("Fin", "Plan", "Other")->rows = rows;
  BackupOutcome outcome;
  {
    SizeLimit limit(64 * 1024);
    outcome = Take(ImportOf({"Other"}));
  }
  EXPECT_EQ(outcome.result, BackupResult::WriteFailed);
  EXPECT_FALSE(outcome.mayWrite());
  EXPECT_EQ(outcome.reason, std::strerror(EFBIG));
  EXPECT_EQ(Listing(place.folder), std::vector<std::string>{});
}

TEST_F(TakeBackupTest, DiskFullOnARealSmallFileSystem) {
  std::filesystem::create_directories(place.folder);
  if (std::system(
          ("mount -t tmpfs -o size=64k tmpfs '" + place.folder + "' 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "mounting a small file system needs root";
  std::vector<essbase::testing::FakeRow> rows;
  for (int i = 0; i < 2000; ++i) rows.push_back({273, std::string(100, 'r')});
  api.FindFilter("Fin", "Plan", "Other")->rows = rows;
  const BackupOutcome outcome = Take(ImportOf({"Other"}));
  const std::vector<std::string> left = Listing(place.folder);
  std::system(("umount '" + place.folder + "'").c_str());
  EXPECT_EQ(outcome.result, BackupResult::WriteFailed);
  EXPECT_EQ(outcome.reason, std::strerror(ENOSPC));
  EXPECT_EQ(left, std::vector<std::string>{});
}
#endif

TEST_F(TakeBackupTest, CopiesOfTwoDatabasesWithOneFilterNameStayApart) {
  std::vector<FilterCopy> copies = {
      {"Fin", "Plan", "Common", 0, 273, {{1, "a"}, {2, "b"}}},
      {"Fin", "Copy", "Common", 1, 375, {{3, "c"}}},
      {"Fin", "Plan", "Empty", 1, 0, {}},
  };
  const BackupOutcome outcome = SaveCopies({"change", "essdemo", {}}, copies, place);
  ASSERT_EQ(outcome.result, BackupResult::Written) << outcome.reason;
  EXPECT_EQ(
      ReadFile(outcome.path),
      "Fin\tPlan\tCommon\t1\ta\r\r\nFin\tPlan\tCommon\t2\tb\r\r\nFin\tCopy\tCommon\t3\tc\r\r\n");
  std::string reason;
  const auto loaded = LoadBackup(outcome.path, reason);
  ASSERT_TRUE(loaded) << reason;
  EXPECT_EQ(loaded->info.filters, (std::vector<SavedFilter>{{"Fin", "Plan", "Common", 0, 273, 2},
                                                            {"Fin", "Plan", "Empty", 1, 0, 0},
                                                            {"Fin", "Copy", "Common", 1, 375, 1}}));
}

// A name beyond Latin-1 turns the records UTF-8 behind the mark: the
// ranges begin after it, and the backup loads.
TEST_F(TakeBackupTest, Utf8RecordsLoadWithTheirRangesAfterTheMark) {
  const std::string tokyo = "\xE6\x9D\xB1\xE4\xBA\xAC";
  const std::vector<FilterCopy> copies = {{"Fin", "Plan", "Caf\xC3\xA9", 1, 375, {{1, "a"}}},
                                          {"Fin", "Copy", tokyo, 1, 375, {{3, "c"}}}};
  const BackupOutcome outcome = SaveCopies({"change", "essdemo", {}}, copies, place);
  ASSERT_EQ(outcome.result, BackupResult::Written) << outcome.reason;
  const std::string plan = "Fin\tPlan\tCaf\xC3\xA9\t1\ta\r\r\n";
  const std::string copy = "Fin\tCopy\t" + tokyo + "\t3\tc\r\r\n";
  EXPECT_EQ(ReadFile(outcome.path), "\xEF\xBB\xBF" + plan + copy);
  std::string reason;
  const auto loaded = LoadBackup(outcome.path, reason);
  ASSERT_TRUE(loaded) << reason;
  EXPECT_EQ(loaded->info.databases,
            (std::vector<DatabaseRange>{{"Fin", "Plan", 3, plan.size()},
                                        {"Fin", "Copy", 3 + plan.size(), copy.size()}}));
}

class PruneTest : public ::testing::Test {
 protected:
  void Make(const std::string& name, std::time_t modified) {
    testing::WriteFile(dir / name, "x");
    std::filesystem::last_write_time(
        dir / name,
        std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(modified)));
  }
  testing::TempFolder dir;
};

TEST_F(PruneTest, RemovesOnlyOwnFilesOlderThanTheAge) {
  const std::time_t day = 24 * 60 * 60;
  Make("20260101-000000_s_import_A-B.txt", FixedTime - 31 * day);
  Make("20260101-000000_s_import_A-B.info", FixedTime - 31 * day);
  Make(".pending-abcdef", FixedTime - 40 * day);
  Make("20260301-000000_s_import_A-B.txt", FixedTime - 29 * day);
  Make("my-notes.txt", FixedTime - 400 * day);
  EXPECT_EQ(PruneBackups(dir.path(), 0, FixedTime), 0);
  EXPECT_EQ(Listing(dir.path()).size(), 5u);
  EXPECT_EQ(PruneBackups(dir.path(), 30, FixedTime), 3);
  EXPECT_EQ(Listing(dir.path()),
            (std::vector<std::string>{"20260301-000000_s_import_A-B.txt", "my-notes.txt"}));
}

TEST_F(PruneTest, AWrittenBackupPrunesItsOldNeighbours) {
  essbase::testing::FakeServer server;
  server.AddFilter("A", "B", "F", {{1, "r"}});
  testing::FixedClock clock;
  Make("20250101-000000_s_import_A-B.txt", FixedTime - 100 * 24 * 60 * 60);
  const BackupOutcome outcome = TakeBackup(
      server, {"delete", "s", {{"A", "B", std::vector<std::string>{"F"}, false}}},
      {dir.path(), 30, &clock});
  ASSERT_EQ(outcome.result, BackupResult::Written);
  EXPECT_EQ(Listing(dir.path()).size(), 2u);
  EXPECT_FALSE(std::filesystem::exists(dir / "20250101-000000_s_import_A-B.txt"));
}

}  // namespace
}  // namespace backup
