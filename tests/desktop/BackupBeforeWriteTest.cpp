#include <gtest/gtest.h>

#include "backup/LoadBackup.h"
#include "desktop/BackupBeforeWrite.h"
#include "tests/desktop/DesktopFixture.h"

namespace desktop::testing {
namespace {

class BackupBeforeWriteTest : public DesktopTest {
 protected:
  void SetUp() override { StartAndLogin(); }
  essbase::Session& session() { return form.session(); }
};

TEST_F(BackupBeforeWriteTest, DroppedSessionLogsInAgainAndTheBackupIsWhole) {
  fake.Fail("EsbGetFilterRow", ESB_STS_RELOGIN);
  const backup::BackupOutcome outcome = BackupBeforeWrite(
      session(), "delete", {{"Sample", "Basic", std::vector<std::string>{"NoEast"}, false}},
      form.state().backups);
  ASSERT_EQ(outcome.result, backup::BackupResult::Written) << outcome.reason;
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), 2);
  std::string reason;
  const auto loaded = backup::LoadBackup(outcome.path, reason);
  ASSERT_TRUE(loaded) << reason;
  EXPECT_EQ(loaded->info.server, form.connection().Server);
  ASSERT_EQ(loaded->info.filters.size(), 1u);
  EXPECT_EQ(loaded->info.filters[0].name, "NoEast");
  EXPECT_EQ(fake.CountCalls("EsbGetFilter"), 2);
}

TEST_F(BackupBeforeWriteTest, DroppedSessionOnTheListingFailsTheBackup) {
  fake.Fail("EsbListFilters", ESB_STS_RELOGIN);
  const backup::BackupOutcome outcome = BackupBeforeWrite(
      session(), "delete", {{"Sample", "Basic", std::vector<std::string>{"NoEast"}, false}},
      form.state().backups);
  EXPECT_EQ(outcome.result, backup::BackupResult::ServerFailure);
  EXPECT_EQ(outcome.reason, "EsbListFilters returned 1051021");
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), 1);
}

}  // namespace
}  // namespace desktop::testing
