#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "backup/LoadBackup.h"
#include "backup/Restore.h"
#include "backup/TakeBackup.h"
#include "filterfile/FilterFileReader.h"
#include "filterfile/ImportWriter.h"
#include "tests/backup/BackupTestSupport.h"
#include "tests/support/LibraryRig.h"

namespace backup {
namespace {

using testing::ReadFile;
using testing::ServerText;

class RestoreTest : public ::testing::Test, protected essbase::testing::LibraryRig {
 protected:
  RestoreTest() {
    api.AddFilter("Fin", "Plan", "First", {{273, "a"}});
    auto& own = api.AddFilter("Fin", "Plan", "OwnValues", {{275, "b\twith tab"}, {0, "c"}});
    own.active = 0;
    own.access = 273;
    auto& bare = api.AddFilter("Fin", "Plan", "NoRows");
    bare.active = 0;
    bare.access = 0;
    api.AddFilter("Fin", "Plan", "Last", {{1, "d"}});
    api.AddFilter("Fin", "Copy", "First", {{2, "copy"}});
    place.folder = dir / "backups";
    place.clock = &clock;
  }

  // A backup of `request`, loaded as a restore opens it.
  LoadedBackup Backup(const Request& request) {
    const BackupOutcome outcome = TakeBackup(server, request, place);
    EXPECT_EQ(outcome.result, BackupResult::Written) << outcome.reason;
    std::string reason;
    std::optional<LoadedBackup> loaded = LoadBackup(outcome.path, reason);
    EXPECT_TRUE(loaded) << reason;
    return loaded.value_or(LoadedBackup{});
  }

  // Imports `records` into one database as the Import command does.
  void Import(const std::string& db, const std::string& records) {
    std::istringstream in(records);
    filterfile::ImportReport quiet;
    filterfile::ImportWriter writer(server, {"Fin", db}, quiet);
    filterfile::ReadFilterFile(in, writer);
    writer.Finish();
  }

  RestoreOutcome Restore(const LoadedBackup& backup) { return RestoreBackup(server, backup); }

  testing::TempFolder dir;
  testing::FixedClock clock;
  Place place;
};

TEST_F(RestoreTest, ImportThenRestoreLeavesTheServerAsBefore) {
  const std::string before = ServerText(api);
  const std::string file =
      "x\ty\tOwnValues\t1\tnew\r\r\nx\ty\tNoRows\t1\tgot rows\r\r\nx\ty\tCreated\t1\tz\r\r\n";
  const LoadedBackup backup =
      Backup({"import",
              "s",
              {{"Fin", "Plan", std::vector<std::string>{"OwnValues", "NoRows", "Created"}, true}}});
  Import("Plan", file);
  ASSERT_NE(ServerText(api), before);
  api.ClearCalls();
  const RestoreOutcome outcome = Restore(backup);
  EXPECT_TRUE(outcome.ok());
  EXPECT_EQ(outcome.restored, 2);
  EXPECT_EQ(outcome.deleted, 1);
  EXPECT_EQ(ServerText(api), before);
  // Each filter in its own values; the closing calls carry the filter access.
  EXPECT_EQ(api.CallsText(),
            "EsbSetFilter(Fin,Plan,OwnValues,0,273)\nEsbSetFilterRow(b\twith tab,275)\n"
            "EsbSetFilterRow(c,0)\nEsbSetFilterRow(null,375)\n"
            "EsbSetFilter(Fin,Plan,NoRows,0,0)\nEsbSetFilterRow(null,375)\n"
            "EsbListFilters(Fin,Plan)\nEsbGetNextItem(12,30)\nEsbGetNextItem(12,30)\n"
            "EsbGetNextItem(12,30)\nEsbGetNextItem(12,30)\nEsbGetNextItem(12,30)\n"
            "EsbDeleteFilter(Fin,Plan,Created)\n");
}

TEST_F(RestoreTest, FiltersWithoutRowsComeBackInTheirPlaceAmongTheOthers) {
  const LoadedBackup backup = Backup({"delete", "s", {{"Fin", "Plan", std::nullopt, false}}});
  const std::string before = ServerText(api);
  for (const char* name : {"First", "OwnValues", "NoRows", "Last"})
    api.EsbDeleteFilter(conn.ContextHandle, "Fin", "Plan", name);
  api.ClearCalls();
  EXPECT_TRUE(Restore(backup).ok());
  EXPECT_EQ(ServerText(api), before);
  EXPECT_EQ(api.CallsText("EsbSetFilter"),
            "EsbSetFilter(Fin,Plan,First,1,375)\nEsbSetFilter(Fin,Plan,OwnValues,0,273)\n"
            "EsbSetFilter(Fin,Plan,NoRows,0,0)\nEsbSetFilter(Fin,Plan,Last,1,375)\n");
}

TEST_F(RestoreTest, OneNameInTwoDatabasesGoesBackIntoEachItsOwn) {
  const LoadedBackup backup =
      Backup({"change",
              "s",
              {{"Fin", "Copy", std::nullopt, false}, {"Fin", "Plan", std::nullopt, false}}});
  const std::string before = ServerText(api);
  Import("Plan", "a\tb\tFirst\t9\tchanged\r\r\n");
  Import("Copy", "a\tb\tFirst\t9\tchanged\r\r\n");
  EXPECT_TRUE(Restore(backup).ok());
  EXPECT_EQ(ServerText(api), before);
}

TEST_F(RestoreTest, AFailingCallIsReportedAndTheOtherFiltersStillRestored) {
  const LoadedBackup backup = Backup({"change", "s", {{"Fin", "Plan", std::nullopt, false}}});
  Import("Plan", "a\tb\tFirst\t9\tchanged\r\r\na\tb\tLast\t9\tchanged\r\r\n");
  api.ClearCalls();
  api.Fail("EsbSetFilter", ESB_STS_STORE_FAILURE);  // the first filter
  const RestoreOutcome outcome = Restore(backup);
  ASSERT_EQ(outcome.failures.size(), 1u);
  EXPECT_EQ(outcome.failures[0].filter, "First");
  EXPECT_EQ(outcome.failures[0].operation, "EsbSetFilter");
  EXPECT_EQ(outcome.failures[0].status, ESB_STS_STORE_FAILURE);
  EXPECT_EQ(outcome.failures[0].failure.step, essbase::Step::WriteFilter);
  EXPECT_FALSE(outcome.failures[0].created);
  EXPECT_FALSE(outcome.ok());
  EXPECT_EQ(outcome.restored, 3);
  EXPECT_EQ(api.FindFilter("Fin", "Plan", "Last")->rows[0].text, "d");
  EXPECT_EQ(api.FindFilter("Fin", "Plan", "First")->rows[0].text, "changed");
}

// Restore's policy: a write that met an ended login is made again whole
// after a new login.
TEST_F(RestoreTest, AWriteThatMetAnEndedLoginIsMadeAgainWholeUnderItsPolicy) {
  const LoadedBackup backup = Backup({"change", "s", {{"Fin", "Plan", std::nullopt, false}}});
  const std::string before = ServerText(api);
  Import("Plan", "a\tb\tFirst\t9\tchanged\r\r\n");
  api.ClearCalls();
  api.Fail("EsbSetFilterRow", ESB_STS_RELOGIN);
  const auto policed =
      session.Under(essbase::policy::WholeFilters(essbase::Policy::Login::Quiet));
  const RestoreOutcome outcome = Restore(backup);
  EXPECT_TRUE(outcome.ok());
  EXPECT_EQ(outcome.restored, 4);
  EXPECT_EQ(ServerText(api), before);
  EXPECT_EQ(api.CallsText("EsbSetFilter"),
            "EsbSetFilter(Fin,Plan,First,1,375)\nEsbSetFilter(Fin,Plan,First,1,375)\n"
            "EsbSetFilter(Fin,Plan,OwnValues,0,273)\nEsbSetFilter(Fin,Plan,NoRows,0,0)\n"
            "EsbSetFilter(Fin,Plan,Last,1,375)\n");
  EXPECT_EQ(listener.loginFailures, 0);
}

TEST_F(RestoreTest, AWriteThatMetAnEndedLoginFailsWithoutThePolicy) {
  const LoadedBackup backup = Backup({"change", "s", {{"Fin", "Plan", std::nullopt, false}}});
  Import("Plan", "a\tb\tFirst\t9\tchanged\r\r\n");
  api.Fail("EsbSetFilterRow", ESB_STS_RELOGIN);
  const RestoreOutcome outcome = Restore(backup);
  ASSERT_FALSE(outcome.failures.empty());
  EXPECT_EQ(outcome.failures[0].filter, "First");
  EXPECT_EQ(outcome.failures[0].status, ESB_STS_RELOGIN);
  EXPECT_EQ(api.FindFilter("Fin", "Plan", "First")->rows[0].text, "changed");
}

TEST_F(RestoreTest, AFilterWhoseRecordsChangedSinceLoadingIsNeverWritten) {
  const LoadedBackup backup = Backup({"change", "s", {{"Fin", "Plan", std::nullopt, false}}});
  Import("Plan", "a\tb\tOwnValues\t9\tchanged\r\r\n");
  // The same length, but OwnValues's last record is no record any more.
  std::string records = ReadFile(backup.recordsPath);
  const size_t at = records.find("OwnValues\t0\tc");
  ASSERT_NE(at, std::string::npos);
  records.replace(at + 10, 1, "x");
  testing::WriteFile(backup.recordsPath, records);
  const RestoreOutcome outcome = Restore(backup);
  ASSERT_EQ(outcome.failures.size(), 1u);
  EXPECT_EQ(outcome.failures[0].filter, "OwnValues");
  EXPECT_EQ(outcome.failures[0].operation, "read");
  EXPECT_EQ(outcome.restored, 3);
  EXPECT_EQ(api.FindFilter("Fin", "Plan", "OwnValues")->rows[0].text, "changed");
}

TEST_F(RestoreTest, RecordsGoneSinceLoadingFailEveryFilterOfTheirDatabase) {
  const LoadedBackup backup = Backup({"change", "s", {{"Fin", "Plan", std::nullopt, false}}});
  std::filesystem::remove(backup.recordsPath);
  api.ClearCalls();
  const RestoreOutcome outcome = Restore(backup);
  EXPECT_EQ(outcome.failures.size(), 4u);
  EXPECT_EQ(outcome.restored, 0);
  EXPECT_EQ(api.CountCalls("EsbSetFilter"), 0);
}

TEST_F(RestoreTest, ACreatedFilterTheImportNeverMadeNeedsNoDeletion) {
  const LoadedBackup backup =
      Backup({"import", "s", {{"Fin", "Plan", std::vector<std::string>{"Never"}, true}}});
  api.ClearCalls();
  const RestoreOutcome outcome = Restore(backup);
  EXPECT_TRUE(outcome.ok());
  EXPECT_EQ(outcome.deleted, 0);
  EXPECT_EQ(api.CountCalls("EsbDeleteFilter"), 0);
}

TEST_F(RestoreTest, ListingFailureBeforeDeletingIsReportedForEachCreatedName) {
  const LoadedBackup backup =
      Backup({"import", "s", {{"Fin", "Plan", std::vector<std::string>{"New1", "New2"}, true}}});
  Import("Plan", "a\tb\tNew1\t1\tx\r\r\na\tb\tNew2\t1\tx\r\r\n");
  api.Fail("EsbListFilters", ESB_STS_STORE_FAILURE);
  const RestoreOutcome outcome = Restore(backup);
  ASSERT_EQ(outcome.failures.size(), 2u);
  EXPECT_TRUE(outcome.failures[0].created);
  EXPECT_EQ(outcome.failures[1].filter, "New2");
  EXPECT_NE(api.FindFilter("Fin", "Plan", "New2"), nullptr);
}

class DamagedBackup : public RestoreTest {
 protected:
  void SetUp() override {
    const BackupOutcome outcome =
        TakeBackup(server, {"change", "s", {{"Fin", "Plan", std::nullopt, false}}}, place);
    ASSERT_EQ(outcome.result, BackupResult::Written);
    records = outcome.path;
    info = records.substr(0, records.size() - 4) + ".info";
  }
  std::string Refusal() {
    std::string reason;
    EXPECT_FALSE(LoadBackup(records, reason));
    return reason;
  }
  std::string records, info;
};

TEST_F(DamagedBackup, RecordsCutShortAreRefusedBeforeAnyWrite) {
  const std::string bytes = ReadFile(records);
  testing::WriteFile(records, bytes.substr(0, bytes.size() - 5));
  EXPECT_EQ(Refusal(), "its records do not match its description");
}

TEST_F(DamagedBackup, ARowMoreThanDescribedIsRefused) {
  const std::string bytes = ReadFile(records);
  std::string text = ReadFile(info);
  const std::string from = "filter\tFin\tPlan\tOwnValues\t0\t273\t2";
  text.replace(text.find(from), from.size(), "filter\tFin\tPlan\tOwnValues\t0\t273\t1");
  testing::WriteFile(info, text);
  EXPECT_EQ(Refusal(), "its records do not match its description");
}

TEST_F(DamagedBackup, MissingDescriptionIsRefused) {
  std::filesystem::remove(info);
  EXPECT_NE(Refusal().find("cannot be opened"), std::string::npos);
}

// A FIFO with no writer would block the open, a device or a directory the
// reading: each is refused at once, for either file of the backup.
#ifndef _WIN32
TEST_F(DamagedBackup, FifoDirectoryOrDeviceInPlaceOfAFileIsRefusedWithoutWaiting) {
  for (const std::string& path : {info, records}) {
    const std::string kept = path + ".kept";
    std::filesystem::rename(path, kept);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_NE(Refusal().find("is not a regular file"), std::string::npos) << path;
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_NE(Refusal().find("is not a regular file"), std::string::npos) << path;
    std::filesystem::remove(path);
    std::filesystem::create_symlink("/dev/zero", path);
    EXPECT_NE(Refusal().find("is not a regular file"), std::string::npos) << path;
    std::filesystem::remove(path);
    std::filesystem::rename(kept, path);
  }
}
#endif

TEST_F(DamagedBackup, ChoosingTheDescriptionOpensTheSameBackup) {
  std::string reason;
  const auto loaded = LoadBackup(info, reason);
  ASSERT_TRUE(loaded) << reason;
  EXPECT_EQ(loaded->recordsPath, records);
}

}  // namespace
}  // namespace backup
